#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

namespace kp {

// Turns the bytes of a picture stored in an exam into an image. The bytes are written to a
// short-lived file in a private temporary folder, as pictures of an exam are shown, and decoded
// from memory; the file keeps the picture's extension and is removed right after loading, and
// whatever the stored name holds, nothing is written outside that folder.
class PictureFile {
public:
    // The private folder is made inside parentFolder (the system's temporary folder by default).
    explicit PictureFile(const QString& parentFolder = QString());

    // Writes the file, decodes the bytes (format from their signature, no guessing, Qt's
    // allocation limit kept) and removes the file. A null image when the bytes are not a
    // picture of a known kind or the file cannot be written.
    QImage load(const QByteArray& bytes, const QString& storedName);

    QString folder() const { return dir_.path(); }

    // The file name used for a stored name: a plain base name and extension of safe characters,
    // never a folder, "..", a drive or a reserved device name.
    static QString safeFileName(const QString& storedName);
    // The image format named by the bytes' signature ("png", "jpeg", ...), empty when unknown.
    static QByteArray formatFromSignature(const QByteArray& bytes);

private:
    QTemporaryDir dir_;
};

} // namespace kp
