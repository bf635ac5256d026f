#pragma once

#include "format/JournalHeader.h"

#include <QByteArray>

namespace kp {

// The bytes of a journal of the marks (a recovery file, ".kxr"): the magic text, then records
// appended one after another. A record is its type (one byte), the length of its contents (32
// bits), the contents, and the CRC-32 of all that; numbers little-endian. A record cut short
// by a crash, or damaged, fails its length or its CRC and ends the reading there.
//
//   'S' start, always first: series, question count, exam kind (16 bits each), time limit in
//       seconds (32), start as milliseconds since 1970 UTC (64; the least value when unknown),
//       then twelve texts (32-bit byte length, UTF-16LE): IdExamen, ArchivoSalida, the five
//       labels, the five values.
//   'M' mark, 'U' unmark: elapsed exam time in milliseconds (64), question, answer (16 each).
//   'T' time: elapsed exam time in milliseconds (64), so the examiner knows how long it ran.
namespace journal {

inline constexpr char kMagic[] = "KXRECUP1";
inline constexpr qsizetype kMagicSize = 8;
inline constexpr char Start = 'S';
inline constexpr char Mark = 'M';
inline constexpr char Unmark = 'U';
inline constexpr char Time = 'T';
// Type, length and CRC around the contents.
inline constexpr qsizetype kFraming = 9;

QByteArray record(char type, const QByteArray& contents);
QByteArray startContents(const JournalHeader& header);
QByteArray markContents(qint64 elapsedMs, qint16 question, qint16 answer);
QByteArray timeContents(qint64 elapsedMs);

// The start record's contents read back; raises KpError (BadValue) when they are not whole.
JournalHeader readStart(QByteArrayView contents);

// The record at pos, when it stands whole and sound: its type and contents, and pos moved past
// it. False (pos unchanged) otherwise.
bool nextRecord(QByteArrayView bytes, qsizetype& pos, char& type, QByteArrayView& contents);

} // namespace journal
} // namespace kp
