#include "format/ExamWriter.h"

#include "format/ByteCursor.h"
#include "format/FieldWriter.h"
#include "format/QuestionRecord.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
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

bool KipsaPrubex::Export(QIODevice& device) {
    return wholeFile([&] {
        const ExamWriter writer(*this);
        writer.checkLoadsBack();
        // The logo is read from the path the member holds; only its name goes into the file.
        QByteArray logo;
        if (!TrimBlanks(archivoLogo_).isEmpty())
            logo = ByteCursor::readFile(archivoLogo_, kMaxFileSize);
        // Every field is checked by a dry run before the first byte is written.
        FieldWriter check;
        writer.write(check, logo);
        FieldWriter out(device);
        writer.write(out, logo);
    });
}

bool KipsaPrubex::Export() {
    return wholeFile([&] {
        QSaveFile file(archivoSalida_);
        if (archivoSalida_.isEmpty() || !file.open(QIODevice::WriteOnly))
            throw KpError(
                KpError::FileAccess,
                QStringLiteral("no se puede crear %1: %2").arg(archivoSalida_, file.errorString()));
        // The temporary is discarded with file when the writing fails.
        if (!Export(file))
            throw KpError(errorCode(), errorString());
        if (!file.commit())
            throw KpError(KpError::FileAccess, QStringLiteral("no se puede escribir %1: %2")
                                                   .arg(archivoSalida_, file.errorString()));
    });
}

void ExamWriter::checkLoadsBack() const {
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
    // The reader looks for the logo's bytes only behind a name, so a logo must keep one once
    // its folders are gone (the name "fotos\ " keeps none).
    if (!TrimBlanks(exam_.ArchivoLogo()).isEmpty() &&
        TrimBlanks(DameNombreArchivo(exam_.ArchivoLogo())).isEmpty())
        throw KpError(
            KpError::BadValue,
            QStringLiteral("el logo \"%1\" no tiene nombre de archivo").arg(exam_.ArchivoLogo()));
    count(exam_.Preguntas()->Count(), "preguntas");
    count(exam_.Series()->Count(), "series");
    QSet<QString> questionKeys;
    for (const auto& p : *exam_.Preguntas()) {
        count(p->respuestas()->Count(), "respuestas");
        unique(questionKeys, ClavePregunta(p->Id()));
    }
    QSet<QString> seriesKeys;
    for (const auto& s : *exam_.Series()) {
        unique(seriesKeys, QStringLiteral("serie%1").arg(s->Numero()));
        count(s->PreguntasSerie()->Count(), "preguntas en una serie");
        QSet<QString> slotKeys;
        for (const auto& slot : *s->PreguntasSerie())
            unique(slotKeys, ClavePregunta(slot->IdPreguntaExamen()));
    }
}

void ExamWriter::write(FieldWriter& out, const QByteArray& logo) const {
    writeHeader(out, logo);
    out.decimal(exam_.Preguntas()->Count());
    out.decimal(exam_.Series()->Count());
    for (const auto& p : *exam_.Preguntas())
        QuestionRecord::write(out, *p);
    for (const auto& s : *exam_.Series())
        writeSeries(out, *s);
}

void ExamWriter::writeHeader(FieldWriter& out, const QByteArray& logo) const {
    out.decimal(kVersion);
    out.text(exam_.IdExamen());
    out.text(exam_.Titulo());
    for (int i = 1; i <= 5; ++i)
        out.text(exam_.DatoAlumno(i));
    out.decimal(exam_.TipoExamen());
    out.decimal(flagValue(exam_.LogoDerecha()));
    out.decimal(exam_.ColorFondo());
    out.decimal(exam_.ColorFuente());
    out.decimal(exam_.MinutosLimite());
    out.decimal(flagValue(exam_.SoloUnaRespuesta()));
    out.decimal(flagValue(exam_.MostrarNota()));
    out.decimal(flagValue(exam_.MostrarFallos()));
    out.decimal(flagValue(exam_.GuardarArchivoResultados()));
    out.decimal(flagValue(exam_.AlumnoDefineArchivoResultados()));
    out.text(exam_.RutaArchivoResultados());
    out.decimal(FieldWriter::thousandths(exam_.NotaMaxima(), QStringLiteral("NotaMaxima")));
    out.decimal(FieldWriter::thousandths(exam_.Penalizacion(), QStringLiteral("Penalizacion")));
    out.decimal(exam_.PenalizarBlancas() == 1 ? 1 : 2);
    out.decimal(exam_.TipoPenalizacion());
    out.decimal(exam_.UnaRespuestaSuficiente());
    out.text(DameNombreArchivo(exam_.ArchivoLogo()));
    if (!TrimBlanks(exam_.ArchivoLogo()).isEmpty())
        out.blob(logo);
}

void ExamWriter::writeSeries(FieldWriter& out, const Serie& serie) {
    out.decimal(serie.PreguntasSerie()->Count());
    out.decimal(serie.Numero());
    for (const auto& slot : *serie.PreguntasSerie()) {
        out.text(slot->IdPreguntaExamen());
        out.decimal(slot->Tipo());
        out.decimal(slot->Orden());
    }
}

} // namespace kp
