#include "RtfTestSupport.h"

#include <QTextBlock>
#include <QTextCursor>

namespace kp::test {

QString rawText(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines.append(b.text());
    return lines.join(u'\n');
}

QTextCharFormat formatOf(const QTextDocument& doc, const QString& word) {
    const qsizetype at = doc.toRawText().indexOf(word);
    if (at < 0)
        return {};
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(static_cast<int>(at) + 1);
    return c.charFormat();
}

} // namespace kp::test
