#include "TestExamBuilder.h"

#include "model/Fields.h"

using namespace Qt::StringLiterals;

namespace kp::test {

TestExamBuilder::TestExamBuilder() : exam_(std::make_shared<KipsaPrubex>()) {
    exam_->setTitulo(u"Examen de prueba"_s);
    exam_->setIdExamen(u"EXAMEN-PRUEBA"_s);
    exam_->setTipoExamen(1);
    exam_->setColorFondo(0xFFFFFF);
    exam_->setColorFuente(0);
}

TestExamBuilder TestExamBuilder::on(KipsaPrubex& exam) {
    return TestExamBuilder(std::shared_ptr<KipsaPrubex>(std::shared_ptr<KipsaPrubex>(), &exam));
}

TestExamBuilder& TestExamBuilder::verdaderoFalso() {
    exam_->setTipoExamen(2);
    exam_->setSoloUnaRespuesta(true);
    return *this;
}

TestExamBuilder& TestExamBuilder::pregunta(const QString& id, const QString& texto,
                                           const std::vector<Answer>& answers,
                                           const QString& imagen, const QByteArray& imagenBinary) {
    Pregunta p;
    p.setId(id);
    p.setKey(ClavePregunta(id));
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

TestExamBuilder& TestExamBuilder::pregunta(const QString& id, int count, const QList<int>& right) {
    std::vector<Answer> answers;
    for (int i = 1; i <= count; ++i)
        answers.push_back({u"Respuesta %1"_s.arg(i), right.contains(i), 0});
    return pregunta(id, u"¿Pregunta %1?"_s.arg(id), answers);
}

TestExamBuilder& TestExamBuilder::serie(qint16 numero, const QStringList& ids) {
    Serie s;
    s.setNumero(numero);
    s.setKey(u"serie"_s + QString::number(numero));
    qint16 orden = 0;
    for (const QString& id : ids) {
        const auto question = exam_->Preguntas()->find(ClavePregunta(id));
        s.PreguntasSerie()->Add(id, ++orden, question ? question->GetTipo() : 1, ClavePregunta(id));
    }
    exam_->Series()->Add(s);
    return *this;
}

TestExamBuilder TestExamBuilder::simple(int n, int k) {
    TestExamBuilder b;
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

Pregunta TestExamBuilder::question(const QString& id, const QStringList& answers,
                                   const QList<int>& right) {
    TestExamBuilder b;
    std::vector<Answer> list;
    for (qsizetype i = 0; i < answers.size(); ++i)
        list.push_back({answers[i], right.contains(static_cast<int>(i + 1)), 0});
    b.pregunta(id, u"¿Pregunta %1?"_s.arg(id), list);
    return *b.exam().Preguntas()->Item(1);
}

void TestExamBuilder::install(ExamState& state, std::shared_ptr<KipsaPrubex> exam) {
    state.replaceExam(std::move(exam));
    if (state.Examen->Series()->isEmpty()) {
        state.Resultado->setIdExamen(state.Examen->IdExamen());
        state.TotalPreguntas = 0;
    } else {
        state.examLoaded();
    }
}

void TestExamBuilder::mark(KipsaResult& result, qint16 position,
                           std::initializer_list<int> answers) {
    for (const int a : answers)
        result.RespuestasKipsa()->Marcar(position, static_cast<qint16>(a));
}

} // namespace kp::test
