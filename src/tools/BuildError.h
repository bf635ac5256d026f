#pragma once

#include <QString>
#include <stdexcept>

namespace kp::tools {

// A problem in a build source, its message starting with the JSON path of the offending value
// ("Preguntas[3].respuestas[0].Correcta: se esperaba true o false").
class BuildError : public std::runtime_error {
public:
    explicit BuildError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};

} // namespace kp::tools
