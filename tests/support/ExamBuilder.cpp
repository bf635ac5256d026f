#include "ExamBuilder.h"

using namespace Qt::StringLiterals;

namespace kp::test {

ExamBuilder::ExamBuilder() : exam_(std::make_shared<KipsaPrubex>()) {
    exam_->setTitulo(u"Examen de prueba"_s);
    exam_->setIdExamen(u"EXAMEN-PRUEBA"_s);
    exam_->setTipoExamen(1);
    exam_->setColorFondo(0xFFFFFF);
    exam_->setColorFuente(0);
}

ExamBuilder& ExamBuilder::verdaderoFalso() {
    exam_->setTipoExamen(2);
    exam_->setSoloUnaRespuesta(true);
    return *this;
}

ExamBuilder& ExamBuilder::pregunta(const QString& id, const QString& texto,
                                   const std::vector<Answer>& answers, const QString& imagen,
                                   const QByteArray& imagenBinary) {
    Pregunta p;
    p.setId(id);
    p.setKey(u"pregunta"_s + id.trimmed());
    p.setTextoPregunta(texto);
    p.setImagen(imagen);
    p.setImagenBinary(imagenBinary);
    qint16 place = 0;
    for (const Answer& a : answers) {
        ++place;
        Respuesta r;
        r.setTexto(a.texto);
        r.setCorrecta(a.correcta);
        r.setNumero(a.numero != 0 ? a.numero : place);
        r.setKey(u"respuesta"_s + QString::number(r.Numero()));
        p.respuestas()->Add(r);
    }
    exam_->Preguntas()->Add(p);
    return *this;
}

ExamBuilder& ExamBuilder::serie(qint16 numero, const QStringList& ids) {
    Serie s;
    s.setNumero(numero);
    s.setKey(u"serie"_s + QString::number(numero));
    qint16 orden = 0;
    for (const QString& id : ids)
        s.PreguntasSerie()->Add(id, ++orden, 1, u"pregunta"_s + id.trimmed());
    exam_->Series()->Add(s);
    return *this;
}

ExamBuilder ExamBuilder::simple(int n, int k) {
    ExamBuilder b;
    QStringList ids;
    for (int q = 1; q <= n; ++q) {
        std::vector<Answer> answers;
        for (int a = 1; a <= k; ++a)
            answers.push_back({u"Respuesta %1 de la pregunta %2"_s.arg(a).arg(q), a == 1, 0});
        const QString id = u"P%1"_s.arg(q);
        b.pregunta(id, u"Texto de la pregunta %1"_s.arg(q), answers);
        ids << id;
    }
    b.serie(1, ids);
    return b;
}

void ExamBuilder::install(ExamState& state, std::shared_ptr<KipsaPrubex> exam) {
    state.Examen = std::move(exam);
    state.Resultado = std::make_shared<KipsaResult>();
    state.ExamenEnCurso = false;
    state.Resultado->setIdExamen(state.Examen->IdExamen());
    state.TotalPreguntas =
        state.Examen->Series()->isEmpty()
            ? 0
            : static_cast<qint16>(state.Examen->Series()->Item(1)->PreguntasSerie()->Count());
}

} // namespace kp::test
