#include "model/KipsaPrubex.h"

#include "model/ByteCursor.h"
#include "model/Fields.h"
#include "model/KpError.h"

namespace kp {
namespace {

constexpr double kMinVersion = 300;
// Smallest question record (four empty texts, no answers, no image) and series record.
constexpr qint64 kMinQuestionSize = 70;
constexpr qint64 kMinSeriesSize = 20;
constexpr qint64 kMinSlotSize = 30;

} // namespace

const std::shared_ptr<kp::Series>& KipsaPrubex::Series() const {
    if (!series_)
        series_ = std::make_shared<kp::Series>();
    return series_;
}

const std::shared_ptr<kp::Preguntas>& KipsaPrubex::Preguntas() const {
    if (!preguntas_)
        preguntas_ = std::make_shared<kp::Preguntas>();
    return preguntas_;
}

std::vector<std::shared_ptr<Pregunta>> KipsaPrubex::PreguntasEnOrden(qint16 serie,
                                                                     double orden) const {
    std::vector<std::shared_ptr<Pregunta>> found;
    if (serie < 1 || serie > Series()->Count())
        return found;
    for (const auto& slot : *Series()->Item(serie)->PreguntasSerie())
        if (slot->Orden() == orden)
            if (auto p = Preguntas()->find(ClavePregunta(slot->IdPreguntaExamen())))
                found.push_back(std::move(p));
    return found;
}

void KipsaPrubex::fail(int code, const QString& message) {
    errorCode_ = code;
    errorString_ = message;
}

bool KipsaPrubex::wholeFile(const std::function<void()>& operation) {
    errorCode_ = 0;
    errorString_.clear();
    try {
        operation();
        return true;
    } catch (const KpError& e) {
        fail(e.code(), e.message());
    } catch (const std::exception& e) {
        fail(-1, QString::fromUtf8(e.what()));
    } catch (...) {
        fail(-1, QStringLiteral("error desconocido"));
    }
    return false;
}

bool KipsaPrubex::Cargar(const QString& path) {
    return wholeFile([&] { readFile(ByteCursor::readFile(path, kMaxFileSize)); });
}

void KipsaPrubex::readFile(const QByteArray& bytes) {
    using Number = ByteCursor::Number;
    ByteCursor in(bytes);
    const double version = in.number(Number::Leading);
    if (version < kMinVersion)
        throw KpError(KpError::BadValue,
                      QStringLiteral("versión %1 del archivo no admitida").arg(version));
    idExamen_ = in.text(Number::Whole);
    titulo_ = in.text(Number::Whole);
    for (int i = 1; i <= 5; ++i)
        setDatoAlumno(i, in.text(Number::Whole));
    tipoExamen_ = in.int16(Number::Whole);
    logoDerecha_ = in.flag();
    colorFondo_ = in.int32();
    colorFuente_ = in.int32();
    minutosLimite_ = in.int16();
    soloUnaRespuesta_ = in.flag();
    // A true/false exam never takes more than one mark per question.
    if (tipoExamen_ == 2)
        soloUnaRespuesta_ = true;
    mostrarNota_ = in.flag();
    mostrarFallos_ = in.flag();
    guardarArchivoResultados_ = in.flag();
    alumnoDefine_ = in.flag();
    rutaArchivoResultados_ = in.text(Number::Whole);
    const auto thousandths = [&in] {
        const double v = in.number(Number::Leading);
        return v > 0 ? static_cast<float>(v / 1000.0) : 0.0f;
    };
    notaMaxima_ = thousandths();
    penalizacion_ = thousandths();
    penalizarBlancas_ = in.int16();
    tipoPenalizacion_ = in.int16();
    unaRespuestaSuficiente_ = in.int16();
    archivoLogo_ = in.text(Number::Whole);
    if (!TrimBlanks(archivoLogo_).isEmpty())
        archivoLogoBinary_ = in.blob();

    const qint16 questions = in.int16();
    const qint16 series = in.int16();
    in.requireRoomFor(questions, kMinQuestionSize, "preguntas");
    in.requireRoomFor(series, kMinSeriesSize, "series");
    for (int i = 1; i <= questions; ++i) {
        Pregunta p;
        try {
            p.Cargar(in);
        } catch (const KpError& e) {
            throw KpError(e.code(), QStringLiteral("pregunta %1: %2").arg(i).arg(e.message()));
        }
        p.setKey(ClavePregunta(p.Id()));
        Preguntas()->Add(p);
    }
    for (int i = 1; i <= series; ++i) {
        const qint16 slotCount = in.int16();
        Serie s;
        s.setNumero(in.int16());
        s.setKey(QStringLiteral("serie%1").arg(s.Numero()));
        in.requireRoomFor(slotCount, kMinSlotSize, "preguntas de la serie");
        for (int k = 0; k < slotCount; ++k) {
            const QString id = in.text();
            const qint16 tipo = in.int16();
            const qint16 orden = in.int16();
            s.PreguntasSerie()->Add(id, orden, tipo, ClavePregunta(id));
        }
        Series()->Add(s);
    }
}

} // namespace kp
