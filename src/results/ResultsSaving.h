#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kp {

class KipsaPrubex;
class KipsaResult;
class SafeFile;

// Where the results of a finished exam went.
struct SaveOutcome {
    QString chosenPath; // ArchivoSalida as the exam or the student gave it
    QString savedPath;  // where the results file now stands; empty when nowhere
    QStringList tried;  // every path that was tried, in order
    bool saved() const { return !savedPath.isEmpty(); }
    bool fellBack() const { return savedPath != chosenPath; }
};

// The writing at the end of an exam: the results file at ArchivoSalida, and when that fails
// the fallback name (fallbackResultsPath) in each folder of fallbackFolders in turn, created
// when missing, until one holds it. Folders that are empty or repeat an earlier one are passed
// over. ArchivoSalida ends as the path written, or the first fallback tried when none was.
SaveOutcome saveResults(const KipsaPrubex& exam, KipsaResult& result, qint16 totalPreguntas,
                        const QStringList& fallbackFolders, const QDateTime& now, SafeFile& files);

} // namespace kp
