#pragma once

#include <QString>

namespace kp {

// Removes spaces at both ends, and only spaces: the results file and correction trim "blanks",
// so a tab or line break typed into a field is kept.
inline QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace kp
