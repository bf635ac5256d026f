#include "ExamComparison.h"

#include "format/ExamWriter.h"
#include "format/FieldWriter.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"

#include <QBuffer>
#include <cmath>

namespace kp::fuzz {
namespace {

// The text a text field keeps of a value, and the name a picture keeps of a path.
QString stored(const QString& text) {
    return TrimBlanks(text);
}
QString storedName(const QString& path) {
    return TrimBlanks(DameNombreArchivo(path));
}

// Collects the first difference found; later comparisons are skipped once one is found.
class Differences {
public:
    template <typename T> void same(const char* member, const T& was, const T& now) {
        if (first_.isEmpty() && !(was == now))
            first_ = prefix_ + QString::fromUtf8(member);
    }
    void sameThousandths(const char* member, float was, float now) {
        same(member, std::nearbyint(double(was) * 1000), std::nearbyint(double(now) * 1000));
    }
    void within(const QString& prefix) { prefix_ = prefix; }
    const QString& first() const { return first_; }

private:
    QString prefix_;
    QString first_;
};

void compareQuestion(Differences& d, const Pregunta& was, const Pregunta& now) {
    d.same("NombreAutor", stored(was.NombreAutor()), now.NombreAutor());
    d.same("LicenciaAutor", stored(was.LicenciaAutor()), now.LicenciaAutor());
    d.same("Id", was.Id(), now.Id());
    d.same("TextoPregunta", stored(was.TextoPregunta()), now.TextoPregunta());
    // A picture is written only under a name.
    const bool hasImage = !was.Imagen().isEmpty();
    d.same("Imagen", hasImage ? storedName(was.Imagen()) : QString(), now.Imagen());
    d.same("ImagenBinary", hasImage ? was.ImagenBinary() : QByteArray(), now.ImagenBinary());
    const auto& a = *was.respuestas();
    const auto& b = *now.respuestas();
    d.same("respuestas.Count", a.Count(), b.Count());
    for (long i = 1; i <= std::min(a.Count(), b.Count()); ++i) {
        d.same("respuestas.Numero", a.Item(i)->Numero(), b.Item(i)->Numero());
        d.same("respuestas.Correcta", a.Item(i)->Correcta(), b.Item(i)->Correcta());
        d.same("respuestas.Texto", stored(a.Item(i)->Texto()), b.Item(i)->Texto());
        d.same("respuestas.Key", a.keyAt(i).toCaseFolded(), b.keyAt(i).toCaseFolded());
    }
}

void compareSettings(Differences& d, const KipsaPrubex& was, const KipsaPrubex& now) {
    d.same("IdExamen", stored(was.IdExamen()), now.IdExamen());
    d.same("Titulo", stored(was.Titulo()), now.Titulo());
    for (int i = 1; i <= 5; ++i)
        d.same("DatoAlumno", stored(was.DatoAlumno(i)), now.DatoAlumno(i));
    d.same("TipoExamen", was.TipoExamen(), now.TipoExamen());
    d.same("LogoDerecha", was.LogoDerecha(), now.LogoDerecha());
    d.same("ColorFondo", was.ColorFondo(), now.ColorFondo());
    d.same("ColorFuente", was.ColorFuente(), now.ColorFuente());
    d.same("MinutosLimite", was.MinutosLimite(), now.MinutosLimite());
    d.same("SoloUnaRespuesta", was.SoloUnaRespuesta(), now.SoloUnaRespuesta());
    d.same("MostrarNota", was.MostrarNota(), now.MostrarNota());
    d.same("MostrarFallos", was.MostrarFallos(), now.MostrarFallos());
    d.same("GuardarArchivoResultados", was.GuardarArchivoResultados(),
           now.GuardarArchivoResultados());
    d.same("AlumnoDefineArchivoResultados", was.AlumnoDefineArchivoResultados(),
           now.AlumnoDefineArchivoResultados());
    d.same("RutaArchivoResultados", stored(was.RutaArchivoResultados()),
           now.RutaArchivoResultados());
    d.sameThousandths("NotaMaxima", was.NotaMaxima(), now.NotaMaxima());
    d.sameThousandths("Penalizacion", was.Penalizacion(), now.Penalizacion());
    // Stored as 1 (penalise) or 2 (do not).
    d.same("PenalizarBlancas", was.PenalizarBlancas() == 1, now.PenalizarBlancas() == 1);
    d.same("TipoPenalizacion", was.TipoPenalizacion(), now.TipoPenalizacion());
    d.same("UnaRespuestaSuficiente", was.UnaRespuestaSuficiente(), now.UnaRespuestaSuficiente());
}

} // namespace

QString examDifference(const KipsaPrubex& was, const QByteArray& logoWas, const KipsaPrubex& now) {
    Differences d;
    compareSettings(d, was, now);
    const bool hasLogo = !TrimBlanks(was.ArchivoLogo()).isEmpty();
    d.same("ArchivoLogo", hasLogo ? storedName(was.ArchivoLogo()) : QString(), now.ArchivoLogo());
    d.same("ArchivoLogoBinary", hasLogo ? logoWas : QByteArray(), now.ArchivoLogoBinary());

    const auto& qa = *was.Preguntas();
    const auto& qb = *now.Preguntas();
    d.same("Preguntas.Count", qa.Count(), qb.Count());
    for (long i = 1; i <= std::min(qa.Count(), qb.Count()); ++i) {
        d.within(QStringLiteral("Preguntas[%1].").arg(i));
        compareQuestion(d, *qa.Item(i), *qb.Item(i));
        d.same("Key", qa.keyAt(i).toCaseFolded(), qb.keyAt(i).toCaseFolded());
    }
    d.within(QString());
    const auto& sa = *was.Series();
    const auto& sb = *now.Series();
    d.same("Series.Count", sa.Count(), sb.Count());
    for (long i = 1; i <= std::min(sa.Count(), sb.Count()); ++i) {
        d.within(QStringLiteral("Series[%1].").arg(i));
        const Serie& a = *sa.Item(i);
        const Serie& b = *sb.Item(i);
        d.same("Numero", a.Numero(), b.Numero());
        d.same("Key", sa.keyAt(i).toCaseFolded(), sb.keyAt(i).toCaseFolded());
        const auto& slotsA = *a.PreguntasSerie();
        const auto& slotsB = *b.PreguntasSerie();
        d.same("PreguntasSerie.Count", slotsA.Count(), slotsB.Count());
        for (long k = 1; k <= std::min(slotsA.Count(), slotsB.Count()); ++k) {
            const PreguntaSerie& x = *slotsA.Item(k);
            const PreguntaSerie& y = *slotsB.Item(k);
            d.same("IdPreguntaExamen", stored(x.IdPreguntaExamen()), y.IdPreguntaExamen());
            d.same("Tipo", x.Tipo(), y.Tipo());
            d.same("Orden", x.Orden(), y.Orden());
            d.same("slot key", slotsA.keyAt(k).toCaseFolded(), slotsB.keyAt(k).toCaseFolded());
        }
    }
    return d.first();
}

QString questionDifference(const Pregunta& was, const Pregunta& now) {
    Differences d;
    compareQuestion(d, was, now);
    return d.first();
}

QByteArray writtenExam(const KipsaPrubex& exam, const QByteArray& logo) {
    // What Export does, into memory instead of a file.
    const ExamWriter writer(exam);
    writer.checkLoadsBack();
    FieldWriter check;
    writer.write(check, logo);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FieldWriter out(buffer);
    writer.write(out, logo);
    return buffer.data();
}

QByteArray writtenQuestion(const Pregunta& question) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    question.Guardar(buffer);
    return buffer.data();
}

} // namespace kp::fuzz
