#include "tools/ExamJsonWriter.h"

#include "model/KipsaPrubex.h"
#include "tools/JsonWriter.h"

#include <functional>

namespace kp::tools {

namespace {

using namespace Qt::StringLiterals;

void member(JsonWriter& json, QStringView name, const QString& text) {
    json.key(name);
    json.string(text);
}

void member(JsonWriter& json, QStringView name, qint64 n) {
    json.key(name);
    json.integer(n);
}

void flagMember(JsonWriter& json, QStringView name, bool b) {
    json.key(name);
    json.boolean(b);
}

// name: an array of count objects, the members of the i-th (1-based) written by members(i).
void objectsMember(JsonWriter& json, QStringView name, long count,
                   const std::function<void(long)>& members) {
    json.key(name);
    json.beginArray();
    for (long i = 1; i <= count; ++i) {
        json.beginObject();
        members(i);
        json.endObject();
    }
    json.endArray();
}

} // namespace

void ExamJsonWriter::picture(QStringView name) {
    const Picture facts = pictureFacts_();
    json_.key(name);
    json_.beginObject();
    json_.key(u"sha256");
    json_.string(QString::fromLatin1(facts.sha256));
    member(json_, u"size", facts.size);
    json_.endObject();
}

void ExamJsonWriter::headerRead(qint16, qint16) {
    const KipsaPrubex& e = exam_;
    json_.beginObject();
    flagMember(json_, u"AlumnoDefineArchivoResultados", e.AlumnoDefineArchivoResultados());
    member(json_, u"ArchivoLogo", e.ArchivoLogo());
    picture(u"ArchivoLogoBinary");
    member(json_, u"ColorFondo", e.ColorFondo());
    member(json_, u"ColorFuente", e.ColorFuente());
    for (int i = 1; i <= 5; ++i)
        member(json_, u"DatoAlumno%1"_s.arg(i), e.DatoAlumno(i));
    flagMember(json_, u"GuardarArchivoResultados", e.GuardarArchivoResultados());
    member(json_, u"IdExamen", e.IdExamen());
    flagMember(json_, u"LogoDerecha", e.LogoDerecha());
    member(json_, u"MinutosLimite", e.MinutosLimite());
    flagMember(json_, u"MostrarFallos", e.MostrarFallos());
    flagMember(json_, u"MostrarNota", e.MostrarNota());
    json_.key(u"NotaMaxima");
    json_.number(shortestFloat(e.NotaMaxima()));
    json_.key(u"Penalizacion");
    json_.number(shortestFloat(e.Penalizacion()));
    member(json_, u"PenalizarBlancas", e.PenalizarBlancas());
    json_.key(u"Preguntas");
    json_.beginArray();
}

void ExamJsonWriter::question(std::shared_ptr<Pregunta> p) {
    json_.beginObject();
    member(json_, u"Id", p->Id());
    member(json_, u"Imagen", p->Imagen());
    picture(u"ImagenBinary");
    member(json_, u"Key", p->Key());
    member(json_, u"LicenciaAutor", p->LicenciaAutor());
    member(json_, u"NombreAutor", p->NombreAutor());
    member(json_, u"TextoPregunta", p->TextoPregunta());
    const auto& answers = *p->respuestas();
    objectsMember(json_, u"respuestas", answers.Count(), [&](long i) {
        const auto& r = answers.Item(i);
        flagMember(json_, u"Correcta", r->Correcta());
        member(json_, u"Key", r->Key());
        member(json_, u"Numero", r->Numero());
        member(json_, u"Texto", r->Texto());
    });
    json_.endObject();
}

void ExamJsonWriter::betweenQuestionsAndSeries() {
    json_.endArray();
    member(json_, u"RutaArchivoResultados", exam_.RutaArchivoResultados());
    json_.key(u"Series");
    json_.beginArray();
    seriesStarted_ = true;
}

void ExamJsonWriter::series(const Serie& s) {
    if (!seriesStarted_)
        betweenQuestionsAndSeries();
    json_.beginObject();
    member(json_, u"Key", s.Key());
    member(json_, u"Numero", s.Numero());
    const auto& slotList = *s.PreguntasSerie();
    objectsMember(json_, u"PreguntasSerie", slotList.Count(), [&](long i) {
        const auto& slot = slotList.Item(i);
        member(json_, u"IdPreguntaExamen", slot->IdPreguntaExamen());
        member(json_, u"Key", slotList.keyAt(i));
        member(json_, u"Orden", slot->Orden());
        member(json_, u"Tipo", slot->Tipo());
    });
    json_.endObject();
}

void ExamJsonWriter::finish() {
    const KipsaPrubex& e = exam_;
    if (!seriesStarted_)
        betweenQuestionsAndSeries();
    json_.endArray();
    flagMember(json_, u"SoloUnaRespuesta", e.SoloUnaRespuesta());
    member(json_, u"TipoExamen", e.TipoExamen());
    member(json_, u"TipoPenalizacion", e.TipoPenalizacion());
    member(json_, u"Titulo", e.Titulo());
    member(json_, u"UnaRespuestaSuficiente", e.UnaRespuestaSuficiente());
    json_.endObject();
    json_.flush();
}

} // namespace kp::tools
