#include "tools/ExamJson.h"

#include "model/KipsaPrubex.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <charconv>
#include <cstdlib>

namespace kp::tools {
namespace {

QJsonObject blobJson(const QByteArray& bytes) {
    return QJsonObject{
        {QStringLiteral("size"), static_cast<qint64>(bytes.size())},
        {QStringLiteral("sha256"),
         QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())},
    };
}

QJsonObject questionJson(const Pregunta& p) {
    QJsonArray answers;
    for (const auto& r : *p.respuestas())
        answers.append(QJsonObject{
            {QStringLiteral("Key"), r->Key()},
            {QStringLiteral("Numero"), r->Numero()},
            {QStringLiteral("Correcta"), r->Correcta()},
            {QStringLiteral("Texto"), r->Texto()},
        });
    return QJsonObject{
        {QStringLiteral("Key"), p.Key()},
        {QStringLiteral("Id"), p.Id()},
        {QStringLiteral("NombreAutor"), p.NombreAutor()},
        {QStringLiteral("LicenciaAutor"), p.LicenciaAutor()},
        {QStringLiteral("TextoPregunta"), p.TextoPregunta()},
        {QStringLiteral("Imagen"), p.Imagen()},
        {QStringLiteral("ImagenBinary"), blobJson(p.ImagenBinary())},
        {QStringLiteral("respuestas"), answers},
    };
}

QJsonObject seriesJson(const Serie& s) {
    QJsonArray slots_;
    for (int i = 1; i <= s.PreguntasSerie()->Count(); ++i) {
        const auto& slot = s.PreguntasSerie()->Item(i);
        slots_.append(QJsonObject{
            {QStringLiteral("Key"), s.PreguntasSerie()->keyAt(i)},
            {QStringLiteral("IdPreguntaExamen"), slot->IdPreguntaExamen()},
            {QStringLiteral("Tipo"), slot->Tipo()},
            {QStringLiteral("Orden"), slot->Orden()},
        });
    }
    return QJsonObject{
        {QStringLiteral("Key"), s.Key()},
        {QStringLiteral("Numero"), s.Numero()},
        {QStringLiteral("PreguntasSerie"), slots_},
    };
}

} // namespace

double shortestFloat(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    // Qt prints a double in its shortest form, which for this double is the float's.
    return std::strtod(text, nullptr);
}

QJsonObject examToJson(const KipsaPrubex& e) {
    QJsonArray questions;
    for (const auto& p : *e.Preguntas())
        questions.append(questionJson(*p));
    QJsonArray series;
    for (const auto& s : *e.Series())
        series.append(seriesJson(*s));
    return QJsonObject{
        {QStringLiteral("IdExamen"), e.IdExamen()},
        {QStringLiteral("Titulo"), e.Titulo()},
        {QStringLiteral("DatoAlumno1"), e.DatoAlumno1()},
        {QStringLiteral("DatoAlumno2"), e.DatoAlumno2()},
        {QStringLiteral("DatoAlumno3"), e.DatoAlumno3()},
        {QStringLiteral("DatoAlumno4"), e.DatoAlumno4()},
        {QStringLiteral("DatoAlumno5"), e.DatoAlumno5()},
        {QStringLiteral("RutaArchivoResultados"), e.RutaArchivoResultados()},
        {QStringLiteral("ArchivoLogo"), e.ArchivoLogo()},
        {QStringLiteral("TipoExamen"), e.TipoExamen()},
        {QStringLiteral("ColorFondo"), e.ColorFondo()},
        {QStringLiteral("ColorFuente"), e.ColorFuente()},
        {QStringLiteral("MinutosLimite"), e.MinutosLimite()},
        {QStringLiteral("PenalizarBlancas"), e.PenalizarBlancas()},
        {QStringLiteral("TipoPenalizacion"), e.TipoPenalizacion()},
        {QStringLiteral("UnaRespuestaSuficiente"), e.UnaRespuestaSuficiente()},
        {QStringLiteral("LogoDerecha"), e.LogoDerecha()},
        {QStringLiteral("SoloUnaRespuesta"), e.SoloUnaRespuesta()},
        {QStringLiteral("MostrarNota"), e.MostrarNota()},
        {QStringLiteral("MostrarFallos"), e.MostrarFallos()},
        {QStringLiteral("GuardarArchivoResultados"), e.GuardarArchivoResultados()},
        {QStringLiteral("AlumnoDefineArchivoResultados"), e.AlumnoDefineArchivoResultados()},
        {QStringLiteral("NotaMaxima"), shortestFloat(e.NotaMaxima())},
        {QStringLiteral("Penalizacion"), shortestFloat(e.Penalizacion())},
        {QStringLiteral("ArchivoLogoBinary"), blobJson(e.ArchivoLogoBinary())},
        {QStringLiteral("Preguntas"), questions},
        {QStringLiteral("Series"), series},
    };
}

} // namespace kp::tools
