#include "results/ResultsSaving.h"

#include "format/SafeFile.h"
#include "model/KipsaResult.h"
#include "results/FinishRules.h"

#include <QDir>

namespace kp {

SaveOutcome saveResults(const KipsaPrubex& exam, KipsaResult& result, qint16 totalPreguntas,
                        const QStringList& fallbackFolders, const QDateTime& now, SafeFile& files) {
    SaveOutcome outcome;
    outcome.chosenPath = result.ArchivoSalida();
    outcome.tried << outcome.chosenPath;
    if (result.Guardar(exam, totalPreguntas, files)) {
        outcome.savedPath = outcome.chosenPath;
        return outcome;
    }
    QStringList folders;
    for (const QString& folder : fallbackFolders)
        if (!folder.isEmpty() && !folders.contains(QDir::cleanPath(folder)))
            folders << QDir::cleanPath(folder);
    QString first;
    for (const QString& folder : folders) {
        QDir().mkpath(folder);
        const QString path = fallbackResultsPath(folder, exam, result, now);
        if (first.isEmpty())
            first = path;
        outcome.tried << path;
        result.setArchivoSalida(path);
        if (result.Guardar(exam, totalPreguntas, files)) {
            outcome.savedPath = path;
            return outcome;
        }
    }
    if (!first.isEmpty())
        result.setArchivoSalida(first);
    return outcome;
}

} // namespace kp
