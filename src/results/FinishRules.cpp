#include "results/FinishRules.h"

#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "results/LimpiaNombreArchivo.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

// Most file systems refuse a name longer than 255 bytes; a longer student name is cut so the
// fallback still lands on disk.
constexpr qsizetype maxNameBytes = 255;

QString fitName(const QString& stem, const QString& ending) {
    QString name = stem;
    while (!name.isEmpty() && (name + ending).toUtf8().size() > maxNameBytes)
        name.chop(name.size() > 1 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
    return name + ending;
}

QString folderPrefix(const QString& programFolder) {
    if (programFolder.isEmpty() || programFolder.endsWith(u'/') || programFolder.endsWith(u'\\'))
        return programFolder;
    return programFolder + u'/';
}

} // namespace

QString remainingTimeText(qint32 remainingSeconds) {
    if (remainingSeconds <= 0)
        return u"0:00:00"_s;
    const qint32 hours = remainingSeconds / 3600;
    const qint32 minutes = (remainingSeconds - hours * 3600) / 60;
    const qint32 seconds = remainingSeconds - hours * 3600 - minutes * 60;
    return u"%1:%2:%3"_s.arg(hours)
        .arg(minutes, 2, 10, QChar(u'0'))
        .arg(seconds, 2, 10, QChar(u'0'));
}

QString fallbackResultsPath(const QString& programFolder, const KipsaPrubex& examen,
                            const KipsaResult& resultado, const QDateTime& now) {
    const QString folder = folderPrefix(programFolder);
    int nombreField = 0;
    int nombreCount = 0;
    for (int i = 1; i <= 5; ++i)
        if (examen.DatoAlumno(i) == u"Nombre"_s) {
            nombreField = i;
            ++nombreCount;
        }
    if (nombreCount == 1)
        return folder +
               fitName(u"Examen_"_s + LimpiaNombreArchivo(resultado.DatoAlumno(nombreField)),
                       u".kxa"_s);

    QString stem = u"Examen_"_s;
    const QString id = LimpiaNombreArchivo(resultado.IdExamen().trimmed());
    if (!id.isEmpty())
        stem += id + u'_';
    stem += now.toString(u"yyyyMMdd_HHmmss"_s);
    QString path = folder + fitName(stem, u".kxa"_s);
    for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
        path = folder + fitName(stem, u"_%1.kxa"_s.arg(n));
    return path;
}

QString saveFailedMessage(const QString& failedPath, const QString& fallbackPath) {
    return u"Ocurrió un error al guardar el archivo de resultados. Es posible que haya un "
           u"problema de acceso para guardar la información en "_s +
           failedPath + u" Kipsa Prubex guardó los resultados de su examen en : "_s + fallbackPath +
           u". Por favor, Notifiquelo a su examinador."_s;
}

} // namespace kp
