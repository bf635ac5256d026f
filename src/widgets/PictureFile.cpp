#include "widgets/PictureFile.h"

#include "model/Fields.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace kp {

namespace {

constexpr qsizetype MaxBaseLength = 64;
constexpr qsizetype MaxExtensionLength = 8;

QString keepSafe(const QString& text, qsizetype maxLength, bool allowDash) {
    QString out;
    for (const QChar c : text) {
        if (out.size() >= maxLength)
            break;
        const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                        (c >= u'0' && c <= u'9') || (allowDash && (c == u'_' || c == u'-'));
        out += ok ? c : QChar(u'_');
    }
    return out;
}

bool isReservedDeviceName(const QString& base) {
    static const QStringList reserved = {QStringLiteral("CON"),    QStringLiteral("PRN"),
                                         QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                         QStringLiteral("CLOCK$"), QStringLiteral("CONIN$"),
                                         QStringLiteral("CONOUT$")};
    const QString upper = base.toUpper();
    if (reserved.contains(upper))
        return true;
    if (upper.size() == 4 && (upper.startsWith(u"COM") || upper.startsWith(u"LPT")) &&
        upper[3].isDigit())
        return true;
    return false;
}

} // namespace

PictureFile::PictureFile(const QString& parentFolder)
    : dir_((parentFolder.isEmpty() ? QDir::tempPath() : parentFolder) +
           QStringLiteral("/kipsa-imagen-XXXXXX")) {}

QString PictureFile::safeFileName(const QString& storedName) {
    // Only the last component counts: folders and drive letters of either kind of separator go.
    QString name = DameNombreArchivo(storedName.trimmed());
    const qsizetype colon = name.lastIndexOf(u':');
    if (colon >= 0)
        name = name.mid(colon + 1);

    QString base = name;
    QString extension;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        base = name.left(dot);
        extension = keepSafe(name.mid(dot + 1), MaxExtensionLength, false);
    }
    base = keepSafe(base, MaxBaseLength, true);
    // Underscores alone would be a name of nothing but replaced characters ("..").
    if (base.isEmpty() || base.count(u'_') == base.size() || isReservedDeviceName(base))
        base = QStringLiteral("imagen");
    return extension.isEmpty() ? base : base + u'.' + extension;
}

QByteArray PictureFile::formatFromSignature(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    if (bytes.size() >= 4 && bytes.startsWith(QByteArray("\x00\x00\x01\x00", 4)))
        return "ico";
    return {};
}

QImage PictureFile::load(const QByteArray& bytes, const QString& storedName) {
    if (!dir_.isValid())
        return {};
    const QByteArray format = formatFromSignature(bytes);
    const QString path = dir_.filePath(safeFileName(storedName));
    // A last check that the file lies directly in our folder.
    if (QFileInfo(path).absolutePath() != QDir(dir_.path()).absolutePath())
        return {};

    QImage image;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const bool written = file.write(bytes) == bytes.size();
        file.close();
        // Decoded from the bytes in memory: reading the file back would only copy them again.
        if (written && !format.isEmpty() &&
            QImageReader::supportedImageFormats().contains(format)) {
            QBuffer buffer;
            buffer.setData(bytes);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, format);
            reader.setAutoDetectImageFormat(false);
            reader.setDecideFormatFromContent(false);
            image = reader.read();
        }
    }
    // Let the window repaint before the file goes, as the picture controls expect.
    QCoreApplication::processEvents();
    QFile::remove(path);
    return image;
}

} // namespace kp
