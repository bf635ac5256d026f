#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace kp::test {

// The bytes of a picture file of the given size in pixels (one pixel is 15 twips).
inline QByteArray pictureBytes(int width, int height, const char* format = "PNG") {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace kp::test
