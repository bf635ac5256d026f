#include "richtext/RtfReader.h"

#include "richtext/RtfKeyword.h"

#include <algorithm>

namespace kp::rtf {
namespace {

using U = RtfGroupState::Underline;
using Kw = RtfKeyword;

// Lengths beyond 22 inches are nonsense in a question box; clamping keeps layouts sane.
constexpr int kMaxTwips = 31680;
// RTF allows 63 cells in a row.
constexpr qsizetype kMaxCellsPerRow = 64;
int twips(const RtfToken& t, int lo = -kMaxTwips) {
    return t.hasParameter ? std::clamp(t.parameter, lo, kMaxTwips) : 0;
}
bool toggle(const RtfToken& t) {
    return !t.hasParameter || t.parameter != 0;
}
int parameterOr(const RtfToken& t, int fallback) {
    return t.hasParameter ? t.parameter : fallback;
}

} // namespace

void RtfReader::controlWord(const RtfToken& t) {
    if (t.text == u"bin") {
        skipBinary(t);
        return;
    }
    if (!t.valid)
        return;
    if (top().destination != State::Destination::Text && tableWord(t.text, t))
        return;
    const RtfKeyword* it = RtfKeyword::find(t.text);
    if (!it)
        return;
    State& st = top();
    State::Char& chr = st.chr;
    State::Para& para = st.para;
    switch (it->kind) {
    case Kw::FontTable:
        st.destination = State::Destination::FontTable;
        commitFont();
        break;
    case Kw::ColorTable:
        st.destination = State::Destination::ColorTable;
        red_ = green_ = blue_ = -1;
        break;
    case Kw::Skip:
        startSkipping();
        break;
    case Kw::Char:
        outputChar(it->value);
        break;
    case Kw::Plain:
        chr = State::Char{};
        break;
    case Kw::Bold:
        chr.bold = toggle(t);
        break;
    case Kw::Italic:
        chr.italic = toggle(t);
        break;
    case Kw::Strike:
        chr.strike = toggle(t);
        break;
    case Kw::Hidden:
        chr.hidden = toggle(t);
        break;
    case Kw::Underline:
        chr.underline = toggle(t) ? static_cast<U>(it->value) : U::None;
        break;
    case Kw::UnderlineOff:
        chr.underline = U::None;
        break;
    case Kw::Super:
        chr.vertical = State::Vertical::Super;
        break;
    case Kw::Sub:
        chr.vertical = State::Vertical::Sub;
        break;
    case Kw::NoSuperSub:
        chr.vertical = State::Vertical::Normal;
        break;
    case Kw::Up:
        chr.vertical = parameterOr(t, 6) > 0 ? State::Vertical::Super : State::Vertical::Normal;
        break;
    case Kw::Down:
        chr.vertical = parameterOr(t, 6) > 0 ? State::Vertical::Sub : State::Vertical::Normal;
        break;
    case Kw::Caps:
        chr.caps = toggle(t) ? State::Caps::All : State::Caps::Normal;
        break;
    case Kw::SmallCaps:
        chr.caps = toggle(t) ? State::Caps::Small : State::Caps::Normal;
        break;
    case Kw::Font:
        chr.font = parameterOr(t, -1);
        break;
    case Kw::FontSize:
        // Half points; nothing and nonsense fall back to 12 points, the rest is kept readable.
        chr.halfPoints = parameterOr(t, 0) <= 0 ? 24 : std::clamp(t.parameter, 2, 3276);
        break;
    case Kw::Color:
        chr.color = parameterOr(t, 0);
        break;
    case Kw::Background:
        chr.background = parameterOr(t, 0);
        break;
    case Kw::Pard:
        para = State::Para{};
        break;
    case Kw::Par:
        paragraph();
        break;
    case Kw::Line:
        outputChar(QChar::LineSeparator);
        break;
    case Kw::Tab:
        outputChar(u'\t');
        break;
    case Kw::AlignLeft:
        para.align = State::Align::Left;
        break;
    case Kw::AlignRight:
        para.align = State::Align::Right;
        break;
    case Kw::AlignCenter:
        para.align = State::Align::Center;
        break;
    case Kw::AlignJustify:
        para.align = State::Align::Justify;
        break;
    case Kw::LeftIndent:
        para.leftIndent = twips(t);
        break;
    case Kw::RightIndent:
        para.rightIndent = twips(t);
        break;
    case Kw::FirstIndent:
        para.firstIndent = twips(t);
        break;
    case Kw::SpaceBefore:
        para.spaceBefore = twips(t, 0);
        break;
    case Kw::SpaceAfter:
        para.spaceAfter = twips(t, 0);
        break;
    case Kw::TabKind:
        nextTabKind_ = static_cast<State::TabKind>(it->value);
        break;
    case Kw::TabStop:
        if (para.tabCount < State::MaxTabs)
            para.tabs[static_cast<size_t>(para.tabCount++)] = {twips(t, 0), nextTabKind_};
        nextTabKind_ = State::TabKind::Left;
        break;
    case Kw::LineSpacing:
        para.lineSpacing = twips(t);
        break;
    case Kw::LineMultiple:
        para.lineMultiple = toggle(t);
        break;
    case Kw::InTable:
        para.inTable = toggle(t);
        break;
    case Kw::RightToLeft:
        para.rightToLeft = true;
        break;
    case Kw::LeftToRight:
        para.rightToLeft = false;
        break;
    case Kw::Cell:
        // Cells of a row become tab-separated text; the tab is written only when more of the
        // row follows, so a row does not end in one.
        if (st.destination == State::Destination::Text && pendingTabs_ < kMaxCellsPerRow)
            ++pendingTabs_;
        break;
    case Kw::Row:
        pendingTabs_ = 0;
        paragraph();
        break;
    case Kw::RowDefaults:
        rowCells_.clear();
        break;
    case Kw::CellRight:
        if (rowCells_.size() < static_cast<size_t>(kMaxCellsPerRow))
            rowCells_.push_back(twips(t, 0));
        break;
    case Kw::UnicodeSkip:
        st.unicodeSkip = std::clamp(parameterOr(t, 1), 0, 8);
        break;
    case Kw::Unicode:
        unicode(parameterOr(t, 0xFFFD));
        fallbackLeft_ = st.unicodeSkip;
        break;
    case Kw::Ansi:
        formats_.setDocumentCodePage(CodePageDecoder::Windows1252);
        break;
    case Kw::Mac:
        formats_.setDocumentCodePage(10000);
        break;
    case Kw::Pc:
        formats_.setDocumentCodePage(437);
        break;
    case Kw::Pca:
        formats_.setDocumentCodePage(850);
        break;
    case Kw::AnsiCodePage:
        if (parameterOr(t, 0) > 0)
            formats_.setDocumentCodePage(t.parameter);
        break;
    case Kw::DefaultFont:
        formats_.setDefaultFont(parameterOr(t, 0));
        break;
    }
}

bool RtfReader::tableWord(QStringView word, const RtfToken& t) {
    if (top().destination == State::Destination::FontTable) {
        if (word == u"f") {
            if (fontEntryIndex_ >= 0)
                commitFont();
            fontEntryIndex_ = std::max(parameterOr(t, 0), 0);
            return true;
        }
        if (word == u"fcharset") {
            fontCharset_ = parameterOr(t, 0);
            return true;
        }
        if (word == u"cpg") {
            fontCodePage_ = parameterOr(t, 0);
            return true;
        }
        return false;
    }
    int* component = word == u"red"     ? &red_
                     : word == u"green" ? &green_
                     : word == u"blue"  ? &blue_
                                        : nullptr;
    if (!component)
        return false;
    *component = std::clamp(parameterOr(t, 0), 0, 255);
    return true;
}

void RtfReader::controlSymbol(const RtfToken& t) {
    switch (t.symbol) {
    case u'\\':
    case u'{':
    case u'}':
        outputChar(t.symbol);
        break;
    case u'~':
        outputChar(0x00A0);
        break;
    case u'-':
        outputChar(0x00AD);
        break;
    case u'_':
        outputChar(0x2011);
        break;
    case u'\t':
        outputChar(u'\t');
        break;
    case u'\r':
    case u'\n':
        paragraph();
        break;
    default:
        break; // \*, \:, \| outside their places, and broken escapes
    }
}

} // namespace kp::rtf
