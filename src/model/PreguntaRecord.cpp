// Reading and writing the question record of the exam file, embedded or standalone.
#include "model/Pregunta.h"

#include "model/ByteCursor.h"
#include "model/FieldWriter.h"
#include "model/Fields.h"
#include "model/KpError.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace kp {
namespace {

constexpr qint64 kRecordMarker = 300;
// Smallest answer entry: number, flag and an empty text.
constexpr qint64 kMinAnswerSize = 30;

QString describe(const std::exception& e) {
    if (const auto* k = dynamic_cast<const KpError*>(&e))
        return k->message();
    return QString::fromUtf8(e.what());
}

} // namespace

void Pregunta::readRecord(ByteCursor& in) {
    using Number = ByteCursor::Number;
    eliminaRespuestas();
    const double marker = in.number(Number::Leading);
    if (marker != kRecordMarker)
        throw KpError(KpError::ReadQuestion,
                      QStringLiteral("marca de pregunta %1 en lugar de 300").arg(marker));
    nombreAutor_ = in.text();
    licenciaAutor_ = in.text();
    id_ = in.text();
    textoPregunta_ = in.text();
    const qint16 count = in.int16();
    in.requireRoomFor(count, kMinAnswerSize, "respuestas");
    for (int i = 0; i < count; ++i) {
        Respuesta r;
        r.setNumero(in.int16());
        r.setCorrecta(in.flag());
        r.setTexto(in.text());
        r.setKey(QStringLiteral("respuesta%1").arg(r.Numero()));
        respuestas()->Add(r);
    }
    if (!in.flag())
        return;
    imagen_ = in.text();
    imagenBinary_ = in.blob();
}

void Pregunta::Cargar(ByteCursor& cursor) {
    try {
        ByteCursor in = cursor;
        readRecord(in);
        cursor = in;
    } catch (const std::exception& e) {
        throw KpError(KpError::ReadQuestion, describe(e));
    } catch (...) {
        throw KpError(KpError::ReadQuestion, QStringLiteral("error al leer la pregunta"));
    }
}

void Pregunta::Cargar() {
    try {
        ByteCursor in(ByteCursor::readFile(ruta_, kMaxFileSize));
        readRecord(in);
    } catch (const std::exception& e) {
        throw KpError(KpError::ReadQuestion, describe(e));
    } catch (...) {
        throw KpError(KpError::ReadQuestion, QStringLiteral("error al leer la pregunta"));
    }
}

void Pregunta::writeRecord(FieldWriter& out) const {
    out.decimal(kRecordMarker);
    out.text(nombreAutor_);
    out.text(licenciaAutor_);
    out.text(id_, /*untrimmed=*/true);
    out.text(textoPregunta_);
    out.decimal(respuestas()->Count());
    for (const auto& r : *respuestas()) {
        out.decimal(r->Numero());
        out.decimal(r->Correcta() ? 1 : 0);
        out.text(r->Texto());
    }
    // The flag tests the name untrimmed, as the loader's counterpart always did.
    if (imagen_.isEmpty()) {
        out.decimal(0);
        return;
    }
    out.decimal(1);
    out.text(TrimBlanks(DameNombreArchivo(imagen_)));
    out.blob(imagenBinary_);
}

void Pregunta::Guardar(QIODevice& device) const {
    try {
        FieldWriter check;
        writeRecord(check);
        FieldWriter out(device);
        writeRecord(out);
    } catch (const std::exception& e) {
        throw KpError(KpError::WriteQuestion, describe(e));
    }
}

void Pregunta::Guardar() const {
    const QString backup = ruta_ + QStringLiteral("_TMP");
    bool haveBackup = false;
    try {
        if (ruta_.isEmpty())
            throw KpError(KpError::FileAccess, QStringLiteral("la pregunta no tiene ruta"));
        FieldWriter check;
        writeRecord(check);
        if (QFileInfo::exists(ruta_)) {
            if (QFileInfo::exists(backup) && !QFile::remove(backup))
                throw KpError(KpError::FileAccess, QStringLiteral("no se puede borrar ") + backup);
            if (!QFile::rename(ruta_, backup))
                throw KpError(KpError::FileAccess,
                              QStringLiteral("no se puede renombrar ") + ruta_);
            haveBackup = true;
        }
        QSaveFile file(ruta_);
        if (!file.open(QIODevice::WriteOnly))
            throw KpError(
                KpError::FileAccess,
                QStringLiteral("no se puede crear %1: %2").arg(ruta_, file.errorString()));
        FieldWriter out(file);
        writeRecord(out);
        if (!file.commit())
            throw KpError(
                KpError::FileAccess,
                QStringLiteral("no se puede escribir %1: %2").arg(ruta_, file.errorString()));
        if (haveBackup)
            QFile::remove(backup);
    } catch (const std::exception& e) {
        // Put the previous file back. The new one was written aside (QSaveFile), so there is
        // no half-written file at Ruta to remove first unless something else put one there.
        if (haveBackup) {
            if (QFileInfo::exists(ruta_))
                QFile::remove(ruta_);
            QFile::rename(backup, ruta_);
        }
        throw KpError(KpError::WriteQuestion, describe(e));
    }
}

void Pregunta::ExportImg(const QString& Directorio) const {
    // Only the file name: a name read from an exam file must not lead outside Directorio.
    const QString name = TrimBlanks(DameNombreArchivo(imagen_));
    if (name.isEmpty() || name == u"." || name == u"..")
        return;
    QFile file(QDir(Directorio).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    file.write(imagenBinary_);
}

} // namespace kp
