#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kp::test {

// The bytes of a file, or "<unreadable>" when it cannot be opened, which no test expects.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Writes bytes as the whole file; false unless every byte was written.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace kp::test
