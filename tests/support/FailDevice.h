#pragma once

#include <QBuffer>

namespace kp::test {

// A buffer that takes the first failAfter bytes written to it and refuses every write that would
// go past them, as a full disk does; a write failure without touching the real file system.
class FailDevice final : public QBuffer {
public:
    explicit FailDevice(qint64 failAfter) : failAfter_(failAfter) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 writeData(const char* data, qint64 len) override {
        if (size() + len > failAfter_) {
            setErrorString(QStringLiteral("no queda espacio"));
            return -1;
        }
        return QBuffer::writeData(data, len);
    }

private:
    qint64 failAfter_;
};

} // namespace kp::test
