// Writing the whole exam file.
#include "model/KipsaPrubex.h"

#include "model/ByteCursor.h"
#include "model/FieldWriter.h"
#include "model/Fields.h"
#include "model/KpError.h"

#include <QSaveFile>
#include <QSet>

namespace kp {
namespace {

constexpr qint64 kVersion = 300;
// Counts are read back as 16-bit numbers.
constexpr qint64 kMaxCount = 32767;

qint64 flagValue(bool v) {
    return v ? 1 : 2;
}

} // namespace

// What the fields alone cannot show: the file must load back, so counts stay within 16 bits and
// no two keys that the loader would build from the stored identifiers and numbers are equal.
void KipsaPrubex::checkLoadsBack() const {
    const auto count = [](qint64 n, const char* what) {
        if (n > kMaxCount)
            throw KpError(
                KpError::BadValue,
                QStringLiteral("más de %1 %2").arg(kMaxCount).arg(QString::fromUtf8(what)));
    };
    const auto unique = [](QSet<QString>& seen, const QString& key) {
        const QString folded = key.toCaseFolded();
        if (seen.contains(folded))
            throw KpError(KpError::DuplicateKey, QStringLiteral("clave repetida: ") + key);
        seen.insert(folded);
    };
    count(Preguntas()->Count(), "preguntas");
    count(Series()->Count(), "series");
    QSet<QString> questionKeys;
    for (const auto& p : *Preguntas()) {
        count(p->respuestas()->Count(), "respuestas");
        unique(questionKeys, ClavePregunta(p->Id()));
    }
    QSet<QString> seriesKeys;
    for (const auto& s : *Series()) {
        unique(seriesKeys, QStringLiteral("serie%1").arg(s->Numero()));
        count(s->PreguntasSerie()->Count(), "preguntas en una serie");
        QSet<QString> slotKeys;
        for (const auto& slot : *s->PreguntasSerie())
            unique(slotKeys, ClavePregunta(slot->IdPreguntaExamen()));
    }
}

void KipsaPrubex::writeFile(FieldWriter& out, const QByteArray& logo) const {
    out.decimal(kVersion);
    out.text(idExamen_);
    out.text(titulo_);
    for (const QString& label : datoAlumno_)
        out.text(label);
    out.decimal(tipoExamen_);
    out.decimal(flagValue(logoDerecha_));
    out.decimal(colorFondo_);
    out.decimal(colorFuente_);
    out.decimal(minutosLimite_);
    out.decimal(flagValue(soloUnaRespuesta_));
    out.decimal(flagValue(mostrarNota_));
    out.decimal(flagValue(mostrarFallos_));
    out.decimal(flagValue(guardarArchivoResultados_));
    out.decimal(flagValue(alumnoDefine_));
    out.text(rutaArchivoResultados_);
    out.decimal(FieldWriter::thousandths(notaMaxima_, QStringLiteral("NotaMaxima")));
    out.decimal(FieldWriter::thousandths(penalizacion_, QStringLiteral("Penalizacion")));
    out.decimal(penalizarBlancas_ == 1 ? 1 : 2);
    out.decimal(tipoPenalizacion_);
    out.decimal(unaRespuestaSuficiente_);
    out.text(DameNombreArchivo(archivoLogo_));
    if (!TrimBlanks(archivoLogo_).isEmpty())
        out.blob(logo);
    out.decimal(Preguntas()->Count());
    out.decimal(Series()->Count());
    for (const auto& p : *Preguntas())
        p->writeRecord(out);
    for (const auto& s : *Series()) {
        out.decimal(s->PreguntasSerie()->Count());
        out.decimal(s->Numero());
        for (const auto& slot : *s->PreguntasSerie()) {
            out.text(slot->IdPreguntaExamen());
            out.decimal(slot->Tipo());
            out.decimal(slot->Orden());
        }
    }
}

bool KipsaPrubex::Export() {
    return wholeFile([&] {
        checkLoadsBack();
        // The logo is read from the path the member holds; only its name goes into the file.
        QByteArray logo;
        if (!TrimBlanks(archivoLogo_).isEmpty())
            logo = ByteCursor::readFile(archivoLogo_, kMaxFileSize);
        // Every field is checked by a dry run before the first byte is written.
        FieldWriter check;
        writeFile(check, logo);
        QSaveFile file(archivoSalida_);
        if (archivoSalida_.isEmpty() || !file.open(QIODevice::WriteOnly))
            throw KpError(
                KpError::FileAccess,
                QStringLiteral("no se puede crear %1: %2").arg(archivoSalida_, file.errorString()));
        FieldWriter out(file);
        writeFile(out, logo);
        if (!file.commit())
            throw KpError(KpError::FileAccess, QStringLiteral("no se puede escribir %1: %2")
                                                   .arg(archivoSalida_, file.errorString()));
    });
}

} // namespace kp
