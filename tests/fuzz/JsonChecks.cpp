// kxt build's description: what must hold of every exam it builds.
#include "ExamComparison.h"
#include "FakeClock.h"
#include "FuzzChecks.h"
#include "SeededRandom.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "tools/BuildError.h"
#include "tools/JsonExamBuilder.h"

#include <QDir>

namespace kp::fuzz {
namespace {

// Pictures are relative to this folder, which is never looked at on disk: every file inside it
// exists, holding bytes made from its name, and nothing outside it does. The build then
// depends on the description alone.
const QString kPictureFolder = QStringLiteral("/kp-fuzz/imagenes");

QByteArray servePicture(const QString& absolutePath) {
    const QString inside = QDir(kPictureFolder).relativeFilePath(absolutePath);
    if (inside.startsWith(QStringLiteral("..")) || QDir::isAbsolutePath(inside) || inside.isEmpty())
        throw KpError(KpError::FileNotFound,
                      QStringLiteral("no existe el archivo ") + absolutePath);
    return QByteArrayLiteral("imagen:") + inside.toUtf8();
}

} // namespace

void checkExamJson(const QByteArray& bytes) {
    kp::test::FakeClock clock;
    SeededRandom random;
    tools::JsonExamBuilder builder(clock, random);
    builder.setPictureReader(servePicture);
    KipsaPrubex built;
    try {
        builder.build(bytes, QStringLiteral("fuzz.json"), QDir(kPictureFolder), built);
    } catch (const tools::BuildError& e) {
        require(!e.message().isEmpty(), QStringLiteral("a failed build gives no reason"));
        return;
    }
    // As Export does: the logo's bytes come from the path the exam holds.
    const QByteArray logo = TrimBlanks(built.ArchivoLogo()).isEmpty()
                                ? QByteArray()
                                : servePicture(built.ArchivoLogo());
    QByteArray written;
    try {
        written = writtenExam(built, logo);
    } catch (const KpError& e) {
        throw CheckFailed(QStringLiteral("a description that builds cannot be written: %1 (%2)")
                              .arg(e.message())
                              .arg(e.code()));
    }
    KipsaPrubex loaded;
    require(loaded.Cargar(written),
            QStringLiteral("the exam we built does not load: ") + loaded.errorString());
    const QString difference = examDifference(built, logo, loaded);
    require(difference.isEmpty(), QStringLiteral("built, written and read back, ") + difference +
                                      QStringLiteral(" changed"));
}

} // namespace kp::fuzz
