#include "format/QuestionRecord.h"

#include "format/BackupFile.h"
#include "format/ByteCursor.h"
#include "format/Cp1252.h"
#include "format/FieldWriter.h"
#include "model/Fields.h"
#include "model/KpError.h"
#include "model/Pregunta.h"

#include <QDir>
#include <QFile>
#include <array>
#include <memory>

namespace kp {
namespace {

constexpr qint64 kRecordMarker = 300;
// Smallest answer entry: number, flag and an empty text.
constexpr qint64 kMinAnswerSize = 30;

// Every failure of a record operation reaches the caller under the operation's own number.
[[noreturn]] void rethrowAs(int code) {
    throw KpError(code, KpError::fromCurrentException().message());
}

// "respuesta" and the answer's number. The keys of the usual numbers are made once and
// shared by every question.
QString answerKey(qint16 numero) {
    constexpr int kCommon = 32;
    static const auto common = [] {
        std::array<QString, kCommon> keys;
        for (int n = 0; n < kCommon; ++n)
            keys[static_cast<size_t>(n)] = QStringLiteral("respuesta") + QString::number(n);
        return keys;
    }();
    if (numero >= 0 && numero < kCommon)
        return common[static_cast<size_t>(numero)];
    return QStringLiteral("respuesta") + QString::number(numero);
}

} // namespace

namespace QuestionRecord {

void read(ByteCursor& in, Pregunta& p) {
    using Number = ByteCursor::Number;
    p.eliminaRespuestas();
    const double marker = in.number(Number::Leading);
    if (marker != kRecordMarker)
        throw KpError(KpError::ReadQuestion,
                      QStringLiteral("marca de pregunta %1 en lugar de 300").arg(marker));
    p.setNombreAutor(in.text());
    p.setLicenciaAutor(in.text());
    p.setId(in.text());
    p.setTextoPregunta(StoredText(in.encodedText(), &Cp1252::decode));
    const qint16 count = in.int16();
    in.requireRoomFor(count, kMinAnswerSize, "respuestas");
    const auto& answers = p.respuestas();
    answers->reserve(count);
    for (int i = 0; i < count; ++i) {
        // Made in place and stored once.
        auto r = std::make_shared<Respuesta>();
        r->setNumero(in.int16());
        r->setCorrecta(in.flag());
        r->setTexto(StoredText(in.encodedText(), &Cp1252::decode));
        const QString key = answerKey(r->Numero());
        r->setKey(key);
        answers->insert(key, std::move(r));
    }
    if (!in.flag())
        return;
    p.setImagen(in.text());
    p.setImagenBinary(in.blob());
}

void write(FieldWriter& out, const Pregunta& p) {
    out.decimal(kRecordMarker);
    out.text(p.NombreAutor());
    out.text(p.LicenciaAutor());
    out.text(p.Id(), /*untrimmed=*/true);
    out.text(p.TextoPregunta());
    out.decimal(p.respuestas()->Count());
    for (const auto& r : *p.respuestas()) {
        out.decimal(r->Numero());
        out.decimal(r->Correcta() ? 1 : 0);
        out.text(r->Texto());
    }
    // The flag tests the name untrimmed; the name stored is trimmed.
    if (p.Imagen().isEmpty()) {
        out.decimal(0);
        return;
    }
    out.decimal(1);
    out.text(TrimBlanks(DameNombreArchivo(p.Imagen())));
    out.blob(p.ImagenBinary());
}

} // namespace QuestionRecord

void Pregunta::Cargar(const QByteArray& ArchivoExamen, qsizetype& ArchivoOffset) {
    try {
        ByteCursor in(ArchivoExamen, ArchivoOffset);
        QuestionRecord::read(in, *this);
        ArchivoOffset = in.position();
    } catch (...) {
        rethrowAs(KpError::ReadQuestion);
    }
}

void Pregunta::Cargar() {
    try {
        ByteCursor in(ByteCursor::readFile(ruta_, kMaxFileSize));
        QuestionRecord::read(in, *this);
    } catch (...) {
        rethrowAs(KpError::ReadQuestion);
    }
}

void Pregunta::Guardar(QIODevice& device) const {
    try {
        FieldWriter check;
        QuestionRecord::write(check, *this);
        FieldWriter out(device);
        QuestionRecord::write(out, *this);
    } catch (...) {
        rethrowAs(KpError::WriteQuestion);
    }
}

void Pregunta::Guardar() const {
    try {
        FieldWriter check;
        QuestionRecord::write(check, *this);
        replaceWithBackup(ruta_, [this](QIODevice& device) {
            FieldWriter out(device);
            QuestionRecord::write(out, *this);
        });
    } catch (...) {
        rethrowAs(KpError::WriteQuestion);
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
