#include "format/ExamReader.h"

#include "format/ByteCursor.h"
#include "format/HeapHint.h"
#include "format/QuestionRecord.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"

namespace kp {

namespace {

using Number = ByteCursor::Number;

constexpr double kMinVersion = 300;
// Smallest series record (count and number, no slots) and slot entry.
constexpr qint64 kMinSeriesSize = 20;
constexpr qint64 kMinSlotSize = 30;

// Puts each question and series into the exam's collections: the question itself, not a copy.
class IntoExam : public ExamReader::Receiver {
public:
    explicit IntoExam(KipsaPrubex& exam) : exam_(exam) {}
    void headerRead(qint16 questions, qint16) override { exam_.Preguntas()->reserve(questions); }
    void question(std::shared_ptr<Pregunta> p) override { exam_.Preguntas()->Adopt(std::move(p)); }
    void series(const Serie& s) override { exam_.Series()->Add(s); }

private:
    KipsaPrubex& exam_;
};

} // namespace

ExamReader::ExamReader(KipsaPrubex& exam)
    : exam_(exam), intoExam_(std::make_unique<IntoExam>(exam)), receiver_(*intoExam_) {}

ExamReader::~ExamReader() = default;

bool KipsaPrubex::Cargar(const QString& path) {
    return wholeFile([&] {
        const QByteArray bytes = ByteCursor::readFile(path, kMaxFileSize);
        const HeapHint heap(bytes.size()); // its records, never larger than the file
        ExamReader(*this).read(bytes);
    });
}

bool KipsaPrubex::Cargar(const QByteArray& bytes) {
    return wholeFile([&] { ExamReader(*this).read(bytes); });
}

void ExamReader::read(const QByteArray& bytes) {
    ByteCursor in(bytes);
    read(in);
}

void ExamReader::read(ByteCursor& in) {
    readHeader(in);
    const qint16 questions = in.int16();
    const qint16 series = in.int16();
    in.requireRoomFor(questions, QuestionRecord::kMinSize, "preguntas");
    in.requireRoomFor(series, kMinSeriesSize, "series");
    receiver_.headerRead(questions, series);
    for (int i = 1; i <= questions; ++i)
        readQuestion(in, i);
    for (int i = 1; i <= series; ++i)
        readSeries(in);
}

void ExamReader::readHeader(ByteCursor& in) {
    const double version = in.number(Number::Leading);
    if (version < kMinVersion)
        throw KpError(KpError::BadValue,
                      QStringLiteral("versión %1 del archivo no admitida").arg(version));
    exam_.setIdExamen(in.text(Number::Whole));
    exam_.setTitulo(in.text(Number::Whole));
    for (int i = 1; i <= 5; ++i)
        exam_.setDatoAlumno(i, in.text(Number::Whole));
    exam_.setTipoExamen(in.int16(Number::Whole));
    exam_.setLogoDerecha(in.flag());
    exam_.setColorFondo(in.int32());
    exam_.setColorFuente(in.int32());
    exam_.setMinutosLimite(in.int16());
    exam_.setSoloUnaRespuesta(in.flag());
    // A true/false exam never takes more than one mark per question.
    if (exam_.TipoExamen() == 2)
        exam_.setSoloUnaRespuesta(true);
    exam_.setMostrarNota(in.flag());
    exam_.setMostrarFallos(in.flag());
    exam_.setGuardarArchivoResultados(in.flag());
    exam_.setAlumnoDefineArchivoResultados(in.flag());
    exam_.setRutaArchivoResultados(in.text(Number::Whole));
    const auto thousandths = [&in] {
        const double v = in.number(Number::Leading);
        return v > 0 ? static_cast<float>(v / 1000.0) : 0.0f;
    };
    exam_.setNotaMaxima(thousandths());
    exam_.setPenalizacion(thousandths());
    exam_.setPenalizarBlancas(in.int16());
    exam_.setTipoPenalizacion(in.int16());
    exam_.setUnaRespuestaSuficiente(in.int16());
    exam_.setArchivoLogo(in.text(Number::Whole));
    if (!TrimBlanks(exam_.ArchivoLogo()).isEmpty())
        exam_.setArchivoLogoBinary(in.blob());
}

void ExamReader::readQuestion(ByteCursor& in, int number) {
    auto p = std::make_shared<Pregunta>();
    try {
        QuestionRecord::read(in, *p);
    } catch (...) {
        throw KpError(KpError::ReadQuestion, QStringLiteral("pregunta %1: %2")
                                                 .arg(number)
                                                 .arg(KpError::fromCurrentException().message()));
    }
    p->setKey(ClavePregunta(p->Id()));
    receiver_.question(std::move(p));
}

void ExamReader::readSeries(ByteCursor& in) {
    const qint16 slotCount = in.int16();
    Serie s;
    s.setNumero(in.int16());
    s.setKey(QStringLiteral("serie%1").arg(s.Numero()));
    in.requireRoomFor(slotCount, kMinSlotSize, "preguntas de la serie");
    s.PreguntasSerie()->reserve(slotCount);
    for (int k = 0; k < slotCount; ++k) {
        const QString id = in.text();
        const qint16 tipo = in.int16();
        const qint16 orden = in.int16();
        s.PreguntasSerie()->Add(id, orden, tipo, ClavePregunta(id));
    }
    receiver_.series(s);
}

} // namespace kp
