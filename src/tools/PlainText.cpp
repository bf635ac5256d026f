#include "tools/PlainText.h"

#include "format/Cp1252.h"

#include <QSet>
#include <algorithm>
#include <vector>

namespace kp::tools {

namespace {

// Groups that hold no shown text: tables, document data, pictures, field instructions.
bool isHiddenDestination(const QString& word) {
    static const QSet<QString> hidden = {QStringLiteral("fonttbl"),
                                         QStringLiteral("colortbl"),
                                         QStringLiteral("stylesheet"),
                                         QStringLiteral("info"),
                                         QStringLiteral("pict"),
                                         QStringLiteral("object"),
                                         QStringLiteral("header"),
                                         QStringLiteral("footer"),
                                         QStringLiteral("fldinst"),
                                         QStringLiteral("listtable"),
                                         QStringLiteral("themedata"),
                                         QStringLiteral("generator"),
                                         QStringLiteral("listoverridetable")};
    return hidden.contains(word);
}

QChar namedCharacter(const QString& word) {
    if (word == u"par" || word == u"line" || word == u"tab" || word == u"cell" || word == u"row")
        return u' ';
    if (word == u"emdash")
        return QChar(0x2014);
    if (word == u"endash")
        return QChar(0x2013);
    if (word == u"bullet")
        return QChar(0x2022);
    if (word == u"lquote" || word == u"rquote")
        return u'\'';
    if (word == u"ldblquote" || word == u"rdblquote")
        return u'"';
    return QChar();
}

class RtfText {
public:
    // Stops once the text holds enough characters for the caller's cut.
    RtfText(const QString& rtf, qsizetype enough) : in_(rtf), enough_(enough) {}

    QString run() {
        while (i_ < in_.size() && out_.size() < enough_) {
            const QChar c = in_[i_++];
            if (c == u'{') {
                skip_.push_back(skipping());
                groupStart_ = true;
                continue;
            }
            if (c == u'}') {
                if (!skip_.empty())
                    skip_.pop_back();
                groupStart_ = false;
                continue;
            }
            const bool first = groupStart_;
            groupStart_ = false;
            if (c == u'\\')
                control(first);
            else if (c != u'\r' && c != u'\n')
                put(c);
        }
        return out_;
    }

private:
    bool skipping() const { return !skip_.empty() && skip_.back(); }
    void hideGroup() {
        if (!skip_.empty())
            skip_.back() = true;
    }
    void put(QChar c) {
        if (!skipping())
            out_ += c;
    }

    void control(bool groupStart) {
        if (i_ >= in_.size())
            return;
        const QChar c = in_[i_];
        if (c == u'*') {
            ++i_;
            if (groupStart)
                hideGroup();
        } else if (c == u'\'') {
            const QString pair = in_.mid(i_ + 1, 2);
            bool hex = pair.size() == 2 && pair[0].isLetterOrNumber() && pair[1].isLetterOrNumber();
            const int byte = hex ? pair.toInt(&hex, 16) : 0;
            i_ += 3;
            if (hex && !skipping())
                out_ += Cp1252::decode(QByteArray(1, static_cast<char>(byte)));
        } else if (c.isLetter() && c.unicode() < 128) {
            word(groupStart);
        } else {
            ++i_;
            if (c == u'~')
                put(u' ');
            else if (c == u'_')
                put(u'-');
            else if (c == u'\\' || c == u'{' || c == u'}')
                put(c);
        }
    }

    void word(bool groupStart) {
        const qsizetype start = i_;
        while (i_ < in_.size() && in_[i_].isLetter() && in_[i_].unicode() < 128)
            ++i_;
        const QString name = in_.mid(start, i_ - start);
        const qsizetype digits = i_;
        if (i_ < in_.size() && in_[i_] == u'-')
            ++i_;
        while (i_ < in_.size() && in_[i_].isDigit() && i_ - digits < 11)
            ++i_;
        const QString parameter = in_.mid(digits, i_ - digits);
        if (i_ < in_.size() && in_[i_] == u' ')
            ++i_;
        if (groupStart && isHiddenDestination(name)) {
            hideGroup();
        } else if (name == u"uc") {
            uc_ = std::clamp(parameter.toInt(), 0, 8);
        } else if (name == u"u") {
            const int code = parameter.toInt();
            put(QChar(static_cast<char16_t>(code < 0 ? code + 65536 : code)));
            skipFallback();
        } else if (const QChar named = namedCharacter(name); !named.isNull()) {
            put(named);
        }
    }

    // The characters that stand in for a \u character in readers that lack Unicode.
    void skipFallback() {
        for (int k = 0; k < uc_ && i_ < in_.size(); ++k)
            i_ += in_[i_] == u'\\' && i_ + 1 < in_.size() && in_[i_ + 1] == u'\'' ? 4 : 1;
    }

    const QString& in_;
    const qsizetype enough_;
    qsizetype i_ = 0;
    QString out_;
    std::vector<bool> skip_;
    bool groupStart_ = false;
    int uc_ = 1;
};

} // namespace

QString shortText(const QString& text, qsizetype maxChars) {
    QString plain = text.startsWith(QStringLiteral("{\\rtf"))
                        ? RtfText(text, maxChars * 4 + 64).run()
                        : text.left(maxChars * 4 + 64);
    plain = plain.simplified();
    if (plain.size() <= maxChars)
        return plain;
    qsizetype cut = maxChars - 1;
    if (cut > 0 && plain[cut - 1].isHighSurrogate())
        --cut;
    return plain.left(cut).trimmed() + QChar(0x2026);
}

} // namespace kp::tools
