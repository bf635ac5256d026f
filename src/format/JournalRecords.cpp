#include "format/JournalRecords.h"

#include "format/Crc32.h"
#include "model/KpError.h"

#include <QtEndian>
#include <limits>

using namespace Qt::StringLiterals;

namespace kp {

namespace journal {

namespace {

template <typename T> void put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

void putText(QByteArray& out, const QString& text) {
    put<quint32>(out, static_cast<quint32>(text.size() * 2));
    for (const QChar c : text)
        put<quint16>(out, c.unicode());
}

// Reads the start record's contents, every length checked against what is left.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}
    template <typename T> T take() {
        need(sizeof(T));
        const T v = qFromLittleEndian<T>(bytes_.data() + pos_);
        pos_ += sizeof(T);
        return v;
    }
    QString text() {
        const quint32 n = take<quint32>();
        if (n % 2 != 0)
            damaged();
        need(n);
        QString out(static_cast<qsizetype>(n / 2), Qt::Uninitialized);
        for (qsizetype i = 0; i < out.size(); ++i)
            out[i] = QChar(qFromLittleEndian<quint16>(bytes_.data() + pos_ + 2 * i));
        pos_ += n;
        return out;
    }
    bool atEnd() const { return pos_ == bytes_.size(); }
    [[noreturn]] static void damaged() {
        throw KpError(KpError::BadValue, u"la cabecera del archivo de recuperación está dañada"_s);
    }

private:
    void need(qint64 n) const {
        if (n > bytes_.size() - pos_)
            damaged();
    }
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

} // namespace

QByteArray record(char type, const QByteArray& contents) {
    QByteArray out;
    out.reserve(contents.size() + kFraming);
    out.append(type);
    put<quint32>(out, static_cast<quint32>(contents.size()));
    out.append(contents);
    put<quint32>(out, crc32(out));
    return out;
}

QByteArray startContents(const JournalHeader& h) {
    QByteArray out;
    put<qint16>(out, h.Serie);
    put<qint16>(out, h.TotalPreguntas);
    put<qint16>(out, h.TipoExamen);
    put<qint32>(out, h.SegundosLimite);
    put<qint64>(out, h.HoraInicio.isValid() ? h.HoraInicio.toMSecsSinceEpoch() : kNoTime);
    putText(out, h.IdExamen);
    putText(out, h.ArchivoSalida);
    for (const QString& t : h.etiquetas)
        putText(out, t);
    for (const QString& t : h.datos)
        putText(out, t);
    return out;
}

QByteArray markContents(qint64 elapsedMs, qint16 question, qint16 answer) {
    QByteArray out = timeContents(elapsedMs);
    put<qint16>(out, question);
    put<qint16>(out, answer);
    return out;
}

QByteArray timeContents(qint64 elapsedMs) {
    QByteArray out;
    put<qint64>(out, elapsedMs);
    return out;
}

JournalHeader readStart(QByteArrayView contents) {
    Reader in(contents);
    JournalHeader h;
    h.Serie = in.take<qint16>();
    h.TotalPreguntas = in.take<qint16>();
    h.TipoExamen = in.take<qint16>();
    h.SegundosLimite = in.take<qint32>();
    const qint64 start = in.take<qint64>();
    if (start != kNoTime)
        h.HoraInicio = QDateTime::fromMSecsSinceEpoch(start);
    h.IdExamen = in.text();
    h.ArchivoSalida = in.text();
    for (QString& t : h.etiquetas)
        t = in.text();
    for (QString& t : h.datos)
        t = in.text();
    if (!in.atEnd() || h.TotalPreguntas < 0)
        Reader::damaged();
    return h;
}

bool nextRecord(QByteArrayView bytes, qsizetype& pos, char& type, QByteArrayView& contents) {
    const qsizetype left = bytes.size() - pos;
    if (left < kFraming)
        return false;
    const quint32 length = qFromLittleEndian<quint32>(bytes.data() + pos + 1);
    if (length > quint64(left - kFraming))
        return false;
    const qsizetype whole = kFraming + static_cast<qsizetype>(length);
    const quint32 stored = qFromLittleEndian<quint32>(bytes.data() + pos + whole - 4);
    if (crc32(bytes.sliced(pos, whole - 4)) != stored)
        return false;
    type = bytes[pos];
    contents = bytes.sliced(pos + 5, static_cast<qsizetype>(length));
    pos += whole;
    return true;
}

} // namespace journal
} // namespace kp
