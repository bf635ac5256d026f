#include "format/JournalReader.h"

#include "format/ByteCursor.h"
#include "format/JournalRecords.h"
#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "model/KpError.h"

#include <QtEndian>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace kp {

bool JournalReader::read(const QByteArray& bytes) {
    KpError failure(0, QString());
    const bool ok = KpError::catchAll([&] { parse(bytes); }, &failure);
    error_ = failure.message();
    return ok;
}

bool JournalReader::readFile(const QString& path) {
    KpError failure(0, QString());
    const bool ok =
        KpError::catchAll([&] { parse(ByteCursor::readFile(path, kMaxFileSize)); }, &failure);
    error_ = failure.message();
    return ok;
}

void JournalReader::parse(const QByteArray& bytes) {
    header_ = JournalHeader();
    marks_.clear();
    elapsedMs_ = 0;
    records_ = 0;
    ignoredBytes_ = 0;
    if (!bytes.startsWith(QByteArrayView(journal::kMagic, journal::kMagicSize)))
        throw KpError(KpError::BadValue, u"no es un archivo de recuperación de Kipsa Prubex"_s);
    qsizetype pos = journal::kMagicSize;
    char type = 0;
    QByteArrayView contents;
    if (!journal::nextRecord(bytes, pos, type, contents) || type != journal::Start)
        throw KpError(KpError::BadValue,
                      u"el archivo de recuperación no tiene entera su cabecera: el examen no "
                      u"llegó a empezar"_s);
    header_ = journal::readStart(contents);
    records_ = 1;

    JournalMarks marks;
    for (;;) {
        const qsizetype at = pos;
        if (!journal::nextRecord(bytes, pos, type, contents))
            break;
        const bool timed = type == journal::Time && contents.size() == 8;
        const bool marking =
            (type == journal::Mark || type == journal::Unmark) && contents.size() == 12;
        const qint64 elapsed = timed || marking ? qFromLittleEndian<qint64>(contents.data()) : -1;
        const qint16 question = marking ? qFromLittleEndian<qint16>(contents.data() + 8) : 0;
        const qint16 answer = marking ? qFromLittleEndian<qint16>(contents.data() + 10) : 0;
        // Nothing the program records looks otherwise: take it as damage and stop. (A question
        // beyond the count can be marked in a series longer than the first; the results file
        // leaves it out, as the program does.)
        if (elapsed < 0 || (marking && (question < 1 || answer < 1))) {
            pos = at;
            break;
        }
        if (type == journal::Mark)
            marks.mark(question, answer);
        else if (type == journal::Unmark)
            marks.unmark(question, answer);
        elapsedMs_ = std::max(elapsedMs_, elapsed);
        ++records_;
    }
    ignoredBytes_ = bytes.size() - pos;
    marks_ = marks.inOrder();
}

QByteArray JournalReader::resultsFile() const {
    KipsaPrubex exam;
    KipsaResult result;
    header_.applyTo(exam, result);
    auto& recorded = *result.RespuestasKipsa();
    for (const auto& [question, answer] : marks_)
        recorded.Add(question, answer,
                     u"respuesta%1;%2"_s.arg(question).arg(answer)); // one key per pair
    return result.Contenido(exam, header_.TotalPreguntas);
}

} // namespace kp
