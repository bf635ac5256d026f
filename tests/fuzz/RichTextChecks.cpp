// The rich-text reader: only that nothing breaks.
#include "FuzzChecks.h"

#include "richtext/RichText.h"

#include <QTextDocument>

namespace kp::fuzz {

void checkRichText(const QByteArray& bytes) {
    // The exam file's texts reach the reader one byte per character, so the bytes do too. The
    // reader is called even without the "{\rtf" prefix so that the fuzzer need not find it first.
    const QString text = QString::fromLatin1(bytes);
    QTextDocument doc;
    kp::rtf::readRtf(text, doc);
    kp::rtf::applyPageFormat(doc, Qt::black);
    // Lay the result out: sizes and indents taken from the input must stay workable.
    static_cast<void>(doc.size());
}

} // namespace kp::fuzz
