#pragma once
// Picture bytes as a hostile exam may carry them: every format Qt reads, cut short, and headers
// that claim more pixels than any picture should have.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

namespace kp::test {

// A striped picture of 600 x 400 in the given format; empty when Qt cannot write it.
inline QByteArray encodedPicture(const char* format) {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter painter(&image);
    for (int x = 0; x < 600; x += 8)
        painter.fillRect(x, 0, 4, 400, QColor::fromHsv(x % 360, 200, 200));
    painter.end();
    // Icons hold at most 256 x 256.
    const QImage written =
        QByteArray(format) == "ico" || QByteArray(format) == "cur" ? image.scaled(256, 256) : image;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(written) ? buffer.data() : QByteArray();
}

// Qt reads GIF but does not write it: a 600 x 400 one made by hand (one colour, all pixels 0).
inline QByteArray gifPicture() {
    QByteArray gif("GIF89a");
    gif += QByteArray("\x58\x02\x90\x01\x80\x00\x00", 7); // 600 x 400, a table of 2 colours
    gif += QByteArray("\x00\x80\x80\xff\xff\xff", 6);
    gif += QByteArray("\x2c\x00\x00\x00\x00\x58\x02\x90\x01\x00\x02", 11);
    for (int i = 0; i < 400; ++i) // sub-blocks of clear codes and zeros: data that runs on
        gif += QByteArray("\x03\x84\x00\x00", 4);
    return gif + QByteArray("\x00\x3b", 2);
}

inline quint32 crc32Of(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header claims width x height pixels and that ends after it.
inline QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray ihdr("IHDR");
    char size[8];
    qToBigEndian(width, size);
    qToBigEndian(height, size + 4);
    ihdr += QByteArray(size, 8) + QByteArray("\x08\x06\x00\x00\x00", 5);
    char length[4], crc[4];
    qToBigEndian(quint32{13}, length);
    qToBigEndian(crc32Of(ihdr), crc);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(length, 4) + ihdr + QByteArray(crc, 4);
}

// A BMP whose header claims width x height pixels of 24 bits and that holds none.
inline QByteArray bmpClaiming(qint32 width, qint32 height) {
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian(quint32{54}, bmp.data() + 2);
    qToLittleEndian(quint32{54}, bmp.data() + 10);
    qToLittleEndian(quint32{40}, bmp.data() + 14);
    qToLittleEndian(width, bmp.data() + 18);
    qToLittleEndian(height, bmp.data() + 22);
    qToLittleEndian(quint16{1}, bmp.data() + 26);
    qToLittleEndian(quint16{24}, bmp.data() + 28);
    return bmp;
}

// A JPEG cut at the given share of its bytes whose frame header claims width x height.
inline QByteArray jpegClaiming(quint16 width, quint16 height, double keep) {
    QByteArray jpeg = encodedPicture("jpeg");
    const qsizetype frame = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    if (frame >= 0) {
        qToBigEndian(height, jpeg.data() + frame + 5);
        qToBigEndian(width, jpeg.data() + frame + 7);
    }
    return jpeg.left(static_cast<qsizetype>(jpeg.size() * keep));
}

} // namespace kp::test
