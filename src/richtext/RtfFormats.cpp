#include "richtext/RtfFormats.h"

#include <QFont>
#include <QTextOption>
#include <algorithm>

namespace kp::rtf {
namespace {

qreal pixels(int twips) {
    return twips / RtfFormats::TwipsPerPixel;
}

QTextCharFormat::UnderlineStyle underlineStyle(RtfGroupState::Underline u) {
    using U = RtfGroupState::Underline;
    switch (u) {
    case U::None:
        return QTextCharFormat::NoUnderline;
    case U::Single:
        return QTextCharFormat::SingleUnderline;
    case U::Dotted:
        return QTextCharFormat::DotLine;
    case U::Dash:
        return QTextCharFormat::DashUnderline;
    case U::DashDot:
        return QTextCharFormat::DashDotLine;
    case U::DashDotDot:
        return QTextCharFormat::DashDotDotLine;
    case U::Wave:
        return QTextCharFormat::WaveUnderline;
    }
    return QTextCharFormat::NoUnderline;
}

QTextOption::Tab tab(const RtfGroupState::Tab& t) {
    using K = RtfGroupState::TabKind;
    switch (t.kind) {
    case K::Left:
        break;
    case K::Right:
        return QTextOption::Tab(pixels(t.position), QTextOption::RightTab);
    case K::Center:
        return QTextOption::Tab(pixels(t.position), QTextOption::CenterTab);
    case K::Decimal:
        return QTextOption::Tab(pixels(t.position), QTextOption::DelimiterTab, u',');
    }
    return QTextOption::Tab(pixels(t.position), QTextOption::LeftTab);
}

} // namespace

void RtfFormats::addFont(int index, const Font& font) {
    if (fonts_.size() < static_cast<size_t>(maxEntries_) || fonts_.count(index))
        fonts_[index] = font;
}

void RtfFormats::addColor(const QColor& color) {
    if (colors_.size() < static_cast<size_t>(maxEntries_))
        colors_.push_back(color);
}

const RtfFormats::Font* RtfFormats::font(int index) const {
    auto it = fonts_.find(index < 0 ? defaultFont_ : index);
    if (it == fonts_.end() && index >= 0)
        it = fonts_.find(defaultFont_);
    return it == fonts_.end() ? nullptr : &it->second;
}

int RtfFormats::codePage(int fontIndex) const {
    const Font* f = font(fontIndex);
    return f && f->codePage != 0 ? f->codePage : documentCodePage_;
}

bool RtfFormats::isSymbolFont(int fontIndex) const {
    const Font* f = font(fontIndex);
    return f && f->symbol;
}

QColor RtfFormats::color(int index) const {
    if (index <= 0 || static_cast<size_t>(index) >= colors_.size())
        return {};
    return colors_[static_cast<size_t>(index)];
}

QTextCharFormat RtfFormats::charFormat(const RtfGroupState::Char& chr) const {
    QTextCharFormat f;
    // Symbol-font text has been mapped to Unicode already; the font itself, where one exists
    // under that name here, may draw those characters as nothing.
    if (const Font* fnt = font(chr.font); fnt && !fnt->name.isEmpty() && !fnt->symbol)
        f.setFontFamilies(QStringList{fnt->name});
    f.setFontPointSize(chr.halfPoints / 2.0);
    if (chr.bold)
        f.setFontWeight(QFont::Bold);
    if (chr.italic)
        f.setFontItalic(true);
    if (chr.strike)
        f.setFontStrikeOut(true);
    if (chr.underline != RtfGroupState::Underline::None)
        f.setUnderlineStyle(underlineStyle(chr.underline));
    if (chr.vertical == RtfGroupState::Vertical::Super)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (chr.vertical == RtfGroupState::Vertical::Sub)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (chr.caps == RtfGroupState::Caps::All)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (chr.caps == RtfGroupState::Caps::Small)
        f.setFontCapitalization(QFont::SmallCaps);
    if (const QColor c = color(chr.color); c.isValid())
        f.setForeground(c);
    if (const QColor c = color(chr.background); c.isValid())
        f.setBackground(c);
    return f;
}

QTextBlockFormat RtfFormats::blockFormat(const RtfGroupState::Para& para,
                                         const std::vector<int>& cellEdges) const {
    QTextBlockFormat b;
    switch (para.align) {
    case RtfGroupState::Align::Left:
        break;
    case RtfGroupState::Align::Right:
        b.setAlignment(Qt::AlignRight);
        break;
    case RtfGroupState::Align::Center:
        b.setAlignment(Qt::AlignHCenter);
        break;
    case RtfGroupState::Align::Justify:
        b.setAlignment(Qt::AlignJustify);
        break;
    }
    if (para.leftIndent != 0)
        b.setLeftMargin(pixels(para.leftIndent));
    if (para.rightIndent != 0)
        b.setRightMargin(pixels(para.rightIndent));
    if (para.firstIndent != 0)
        b.setTextIndent(pixels(para.firstIndent));
    if (para.spaceBefore != 0)
        b.setTopMargin(pixels(para.spaceBefore));
    if (para.spaceAfter != 0)
        b.setBottomMargin(pixels(para.spaceAfter));
    if (para.lineSpacing > 0 && para.lineMultiple) {
        // Up to five lines: more is a broken text, not a layout anyone asked for.
        b.setLineHeight(std::min(para.lineSpacing * 100.0 / 240.0, 500.0),
                        QTextBlockFormat::ProportionalHeight);
    } else if (para.lineSpacing > 0) {
        b.setLineHeight(pixels(para.lineSpacing), QTextBlockFormat::MinimumHeight);
    } else if (para.lineSpacing < 0) {
        b.setLineHeight(pixels(-para.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    if (para.rightToLeft)
        b.setLayoutDirection(Qt::RightToLeft);
    QList<QTextOption::Tab> tabs;
    for (int i = 0; i < para.tabCount; ++i)
        tabs.append(tab(para.tabs[static_cast<size_t>(i)]));
    // A table row without tab stops of its own gets one at each cell's right edge.
    if (tabs.isEmpty())
        for (const int t : cellEdges)
            tabs.append(QTextOption::Tab(pixels(t), QTextOption::LeftTab));
    if (!tabs.isEmpty())
        b.setTabPositions(tabs);
    return b;
}

} // namespace kp::rtf
