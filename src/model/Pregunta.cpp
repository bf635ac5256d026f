#include "model/Pregunta.h"

#include "model/Clock.h"
#include "model/Fields.h"
#include "model/KpError.h"
#include "model/RandomSource.h"

#include <QFileInfo>
#include <vector>

namespace kp {

const std::shared_ptr<kp::respuestas>& Pregunta::respuestas() const {
    if (!respuestas_)
        respuestas_ = std::make_shared<kp::respuestas>();
    return respuestas_;
}

qint16 Pregunta::GetTipo() const {
    const long n = respuestas()->Count();
    return n == 0 ? 3 : n == 1 ? 2 : 1;
}

void Pregunta::enredaRespuestas(RandomSource& random) {
    const long n = respuestas()->Count();
    if (n < 2)
        return;
    // Draw among the answers not yet placed, by position: one draw per answer, whatever the
    // keys are, and every order equally likely.
    std::vector<std::shared_ptr<Respuesta>> left;
    for (const auto& r : *respuestas())
        left.push_back(r);
    auto shuffled = std::make_shared<kp::respuestas>();
    for (int i = 1; !left.empty(); ++i) {
        const auto k = static_cast<size_t>(random.pick(static_cast<int>(left.size())) - 1);
        Respuesta r;
        r.setCorrecta(left[k]->Correcta());
        r.setTexto(left[k]->Texto());
        r.setNumero(static_cast<qint16>(i));
        r.setKey(QStringLiteral("respuesta%1").arg(i));
        shuffled->Add(r);
        left.erase(left.begin() + static_cast<long>(k));
    }
    respuestas_ = std::move(shuffled);
}

void Pregunta::enredaRespuestas() {
    SystemRandom random;
    enredaRespuestas(random);
}

QString Pregunta::getNewID(const Clock& clock, RandomSource& random) const {
    try {
        // The licence number without its 4th and 8th characters.
        QString id = licenciaAutor_.mid(0, 3) + licenciaAutor_.mid(4, 3) + licenciaAutor_.mid(8, 4);
        // Offsets give every date and time part a fixed number of digits.
        const auto append = [&id](int value) { id = TrimBlanks(id) + QString::number(value); };
        append(clock.now().date().year() + 512);
        append(clock.now().date().month() + 256);
        append(clock.now().date().day() + 128);
        append(clock.now().time().hour() + 64);
        append(clock.now().time().minute() + 32);
        append(clock.now().time().second() + 16);
        id = TrimBlanks(id);
        for (int i = 0; i < 3; ++i)
            id += QString::number(random.pick(9));
        return id;
    } catch (const std::exception& e) {
        throw KpError(KpError::NewIdFailed, QString::fromUtf8(e.what()));
    }
}

QString Pregunta::getNewID() const {
    SystemClock clock;
    SystemRandom random;
    return getNewID(clock, random);
}

QString Pregunta::Fecha() const {
    const QFileInfo info(ruta_);
    if (ruta_.isEmpty() || !info.exists())
        throw KpError(KpError::FileNotFound, QStringLiteral("no existe el archivo ") + ruta_);
    return info.lastModified().date().toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace kp
