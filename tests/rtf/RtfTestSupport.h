#pragma once

#include <QString>
#include <QTextCharFormat>
#include <QTextDocument>
#include <ostream>

// Readable failure messages for the texts compared here.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace kp::test {

inline QString u16(const char16_t* s) {
    return QString::fromUtf16(s);
}

// The document's text with its characters as stored (no-break spaces, line separators and
// soft hyphens kept), one line per paragraph.
QString rawText(const QTextDocument& doc);

// The format of the first character of the first occurrence of word; an empty format when the
// word is missing (the test then fails on the text check first).
QTextCharFormat formatOf(const QTextDocument& doc, const QString& word);

} // namespace kp::test
