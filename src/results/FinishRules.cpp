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

// The one field labelled exactly "Nombre", or 0 when none or several are.
int nombreField(const KipsaPrubex& examen) {
    int field = 0;
    for (int i = 1; i <= 5; ++i)
        if (examen.DatoAlumno(i) == u"Nombre"_s) {
            if (field != 0)
                return 0;
            field = i;
        }
    return field;
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
    if (const int field = nombreField(examen))
        return folder +
               fitName(u"Examen_"_s + LimpiaNombreArchivo(resultado.DatoAlumno(field)), u".kxa"_s);

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

QString recoveryFileStem(const KipsaPrubex& examen, const KipsaResult& resultado,
                         const QDateTime& now) {
    const int field = nombreField(examen);
    const QString who =
        LimpiaNombreArchivo(field ? resultado.DatoAlumno(field) : resultado.IdExamen().trimmed());
    const QString when = now.toString(u"_yyyyMMdd_HHmmss"_s);
    // Room left for "_999.kxr".
    return fitName(who.isEmpty() ? u"Examen"_s : u"Examen_"_s + who, when + u"_999.kxr"_s)
        .chopped(8);
}

QString resultsNotSavedMessage(const QStringList& triedPaths, const QString& recoveryFile) {
    QString text =
        u"Los resultados de su examen NO se han podido guardar: falló la escritura en "_s +
        triedPaths.join(u", en "_s) + u". Llame ahora a su examinador y no cierre el programa."_s;
    if (recoveryFile.isEmpty())
        return text + u" Sus respuestas solo están en este programa."_s;
    return text + u" Sus respuestas están guardadas en el archivo de recuperación "_s +
           recoveryFile + u", con el que el examinador puede rehacer el archivo de resultados."_s;
}

} // namespace kp
