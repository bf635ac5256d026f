#include "format/BackupFile.h"

#include "model/KpError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kp {

void replaceWithBackup(const QString& path, const std::function<void(QIODevice&)>& write) {
    const QString backup = path + QStringLiteral("_TMP");
    bool haveBackup = false;
    try {
        if (path.isEmpty())
            throw KpError(KpError::FileAccess, QStringLiteral("no hay ruta"));
        if (QFileInfo::exists(path)) {
            if (QFileInfo::exists(backup) && !QFile::remove(backup))
                throw KpError(KpError::FileAccess, QStringLiteral("no se puede borrar ") + backup);
            if (!QFile::rename(path, backup))
                throw KpError(KpError::FileAccess, QStringLiteral("no se puede renombrar ") + path);
            haveBackup = true;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw KpError(KpError::FileAccess,
                          QStringLiteral("no se puede crear %1: %2").arg(path, file.errorString()));
        write(file);
        if (!file.commit())
            throw KpError(
                KpError::FileAccess,
                QStringLiteral("no se puede escribir %1: %2").arg(path, file.errorString()));
        if (haveBackup)
            QFile::remove(backup);
    } catch (...) {
        // The new file was written aside (QSaveFile), so there is no half-written file at path
        // to remove first unless something else put one there.
        if (haveBackup) {
            if (QFileInfo::exists(path))
                QFile::remove(path);
            QFile::rename(backup, path);
        }
        throw;
    }
}

} // namespace kp
