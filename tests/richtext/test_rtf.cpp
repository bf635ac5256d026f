#include "Rows.h"
#include "richtext/RichText.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>

using namespace kp::rtf;
using namespace Qt::StringLiterals;

namespace {

// The document's text with its characters as stored (no-break spaces, line separators and
// soft hyphens kept), one line per paragraph.
QString rawText(const QTextDocument& doc) {
    return doc.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

// The format of the first character of the first occurrence of word (of the first character of
// the document when the word is missing: the test then fails on the text check first).
QTextCharFormat at(const QTextDocument& doc, QStringView word) {
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(static_cast<int>(doc.toRawText().indexOf(word)) + 1);
    return c.charFormat();
}
QString family(const QTextDocument& d, QStringView w) {
    return at(d, w).fontFamilies().toStringList().join(u',');
}
QTextBlockFormat block(const QTextDocument& d, int n) {
    return d.findBlockByNumber(n).blockFormat();
}

// The header a Windows rich-text control writes: fonts, colours, generator, view settings.
const QString kHead =
    uR"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang3082{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset2 Symbol;}{\f2\fswiss\fcharset204 Arial;}{\f3\froman\fprq2\fcharset0 Times New Roman{\*\falt Times};}{\f4\fnil\fcharset128 MS Gothic;}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;\red255\green255\blue0;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang10 )"_s;

// The body between the header and a closing \par}, or a whole document as it is.
QString sample(QStringView body) {
    return body.startsWith(u"{\\rtf1") ? body.toString() : kHead + body.toString() + u"\\par\n}"_s;
}

using D = const QTextDocument&;
struct Case {
    const char* fault;
    const char16_t* body; // see sample()
    const char16_t* text;
    std::function<void(D)> check = [](D) {};
};

const Case kCases[] = {
    {"FormattingOfTheControlsOwnExampleIsLostOrColoursOutOfRangeMishandled",
     uR"(Texto y \cf1 rojo\cf0  \highlight3 marcado\highlight0  \cf9 fuera\cf0  \f7 letra)",
     u"Texto y rojo marcado fuera letra",
     [](D d) {
         EXPECT_EQ(at(d, u"rojo").foreground().color(), QColor(Qt::red));
         EXPECT_EQ(at(d, u"marcado").background().color(), QColor(Qt::yellow));
         EXPECT_FALSE(at(d, u"fuera").hasProperty(QTextFormat::ForegroundBrush));
         EXPECT_EQ(family(d, u"letra"), u"Calibri"_s);
     }},
    {"FontEntriesWithoutSemicolonOrWithInnerGroupsLoseTheirNames",
     uR"({\rtf1{\fonttbl{\f4{\*\panose 0}{\fnil}Courier New}{\f5 Arial}}\f4 a\f5 b})", u"ab",
     [](D d) { EXPECT_EQ(family(d, u"a") + family(d, u"b"), u"Courier NewArial"_s); }},
    {"HexEscapesNotDecodedAsWindows1252OrTheFontCharsetOrDoubleByteDecodedBytePerByte",
     uR"(\'bfQu\'e9 a\'f1o? \'80 \'93cita\'94 \f4\'82\'a0\'82\'a2\f2\'cf\'f0\'e8\f0  ok)",
     u"¿Qué año? € “cita” あいПри ok"},
    // Drawn in the surrounding font: a local "Symbol" font may lack the Greek letters.
    {"SymbolFontBytesShownAsLatinLetters", uR"({\f1\'61\'b3\'70} = \f1 p\f0 !)", u"α≥π = π!",
     [](D d) { EXPECT_FALSE(at(d, u"π!").hasProperty(QTextFormat::FontFamilies)); }},
    // Fallbacks not skipped, or \uc0 skipping real text, or surrogate pairs split in two.
    {"UnicodeEscapesMisread",
     uR"(\u8364?uro \u241?\uc2\u20320\'c4\'e3 x\uc1 \u-10179?\u-8704? \u55357?x\uc0\u233 t\'e9)",
     u"€uro ñ你 x😀 \uFFFDxété"},
    {"NamedCharactersDropped",
     uR"(a\emdash b\endash c\bullet \lquote d\rquote  \ldblquote e\rdblquote  f\~g\-h\_i \{\}\\)",
     u"a—b–c•‘d’ “e” f\u00A0g\u00ADh\u2011i {}\\"},
    {"HiddenTextShownOrSkippedDestinationsLeakTextOrFieldResultLost",
     uR"(Visible{\v oculto\par } fin \v escondido\v0 ya {\*\bkmkstart b1}Antes{\*\bkmkend b1} {\pict{\*\picprop}\wmetafile8\picw100 0a0b0c}{\object\objemb{\*\objdata 0101}{\result x}}{\info{\title Titulo}{\author Yo}}{\header Cabecera}{\stylesheet{\s1 Normal;}}despu\'e9s {\field{\*\fldinst{HYPERLINK "http://x.es/"}}{\fldrslt{\ul\cf2 enlace}}}.)",
     u"Visible fin ya Antes después enlace."},
    {"CharacterFormatsNotAppliedOrNotRestoredAtGroupEndOrPlain",
     uR"(x\super 2\nosupersub  {\b\fs40 grupo}tras \b\cf1 uno\plain  dos)", u"x2 grupotras uno dos",
     [](D d) {
         EXPECT_EQ(at(d, u"2 g").verticalAlignment(), QTextCharFormat::AlignSuperScript);
         EXPECT_EQ(at(d, u"tras").fontPointSize(), 11.0);
         EXPECT_EQ(at(d, u"dos").fontPointSize(), 12.0);
     }},
    // The final \par of the control is dropped, an empty paragraph before it is not; raw line
    // breaks are no text.
    {"ParagraphsLinesAndTabsMergedOrRawLineBreaksKept",
     u"uno\\par dos\\line tres\\tab cua\r\ntro\n\\par", u"uno\ndos\u2028tres\tcuatro\n"},
    {"AlignmentIndentsAndTabStopsNotConvertedFromTwipsOrPardDoesNotReset",
     uR"(\qc Centro\par\pard\li720\ri360\fi-360\sb120 Sangr\'eda\par\pard\tx1440\tqr\tx4320 Fin)",
     u"Centro\nSangría\nFin",
     [](D d) {
         EXPECT_EQ(block(d, 0).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
         EXPECT_EQ(block(d, 0).lineHeight(), 115.0); // \sl276\slmult1 of the header: 1.15 lines
         EXPECT_EQ(block(d, 1).leftMargin(), 48.0);
         EXPECT_EQ(block(d, 2).leftMargin(), 0.0);
         EXPECT_EQ(block(d, 2).tabPositions().value(1),
                   QTextOption::Tab(288.0, QTextOption::RightTab));
     }},
    {"TableCellsRunTogether",
     uR"(\par\trowd\trgaph108\trleft-108\cellx1500\cellx3000\cellx4500\pard\intbl Uno\cell\cell Tres\cell\row\trowd\cellx1500\cellx3000\pard\intbl A\cell B\cell\row\pard Fin)",
     u"\nUno\t\tTres\nA\tB\nFin",
     [](D d) { EXPECT_EQ(block(d, 1).tabPositions().value(0).position, 100.0); }},
    {"BulletListFallbackTextLost",
     uR"({\pntext\f1\'b7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'b7}}\fi-360\li720 Primero\par{\pntext\f1\'b7\tab}Segundo)",
     u"•\tPrimero\n•\tSegundo"},
};

} // namespace

TEST(RtfReader, ReadsWhatTheRichTextControlWrites) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.fault);
        QTextDocument doc;
        setRichContent(doc, sample(c.body));
        EXPECT_EQ(rawText(doc), QString::fromUtf16(c.text));
        c.check(doc);
    }
}

// The box is reused between questions: nothing of a formatted text may carry over to a plain one.
TEST(RichContent, PlainTextStaysPlainAndPageFormatSetsColourAndSizeKeepingTheRest) {
    QTextDocument doc;
    for (const char16_t* t :
         {u"Verdadero", u"<b>no es html</b> & **ni markdown**", uR"( {\rtf1 espacio delante})",
          uR"({\RTF1 mayúsculas})", u"dos\nlíneas\ty tab", u""}) {
        SCOPED_TRACE(QString::fromUtf16(t).toStdString());
        setRichContent(doc, uR"({\rtf1 \b antes})"_s);
        setRichContent(doc, QString::fromUtf16(t));
        applyPageFormat(doc, Qt::red);
        EXPECT_EQ(doc.toPlainText(), QString::fromUtf16(t));
        const QTextCharFormat f = at(doc, QStringView(t).left(1));
        EXPECT_TRUE(!*t || (!f.hasProperty(QTextFormat::FontWeight) && f.fontPointSize() == 10.0));
    }
    setRichContent(doc, sample(uR"(\fs40 Texto \b negrita\b0  \cf1 rojo\cf0\par segunda)"));
    applyPageFormat(doc, Qt::red);
    for (const char16_t* w : {u"Texto", u"negrita", u"rojo", u"segunda"}) {
        SCOPED_TRACE(QString::fromUtf16(w).toStdString());
        EXPECT_EQ(at(doc, w).foreground().color(), QColor(Qt::red));
        EXPECT_EQ(at(doc, w).fontPointSize(), 10.0);
    }
    EXPECT_EQ(at(doc, u"negrita").fontWeight(), QFont::Bold);
}

// Each text is built to break a naive reader: stack overflow from recursion, reading past the
// end, unbounded allocation or a hang. The reader must come back with some document.
TEST(RtfHostile, BrokenTextsReadToSomethingWithoutCrashing) {
    const struct {
        const char* fault;
        QString rtf;
        QString text; // what is still expected to show
    } cases[] = {
        {"RecursionOn100000NestedGroups",
         uR"({\rtf1 a)"_s + u"{"_s.repeated(100000) + u"x"_s + u"}"_s.repeated(100000) + u"b}"_s,
         u"ab"_s},
        // \bin inside a skipped group must not end it early, nor a huge one read past the end
        {"BinarySkipping", uR"({\rtf1 a{\pict\bin3 }}}}b\bin2147483647 xyz})"_s, u"ab"_s},
        {"UnicodeMinusOneOutOfRangeOrLoneLowSurrogate",
         uR"({\rtf1 a\u-1?b\u99999999?c\u-8704?x})"_s, u"a\uFFFFb\uFFFDc\uFFFDx"_s},
        {"HugeUcSwallowsTheRest", uR"({\rtf1 \uc2147483647\u65 0123456789abc})"_s, u"A89abc"_s},
        {"UnterminatedGroupAndBackslashAtTheEnd", uR"({\rtf1 abc {\b def\)"_s, u"abc def"_s},
        {"InvalidHexEscapeAndLongControlWord",
         uR"({\rtf1 a\'zz\)"_s + u"b"_s.repeated(1000) + uR"( c\'4})"_s, u"azzc4"_s},
        {"SizesIndentsAndTableIndicesOutOfRange",
         uR"({\rtf1{\fonttbl{\f2147483647 X;}}{\colortbl;}\f-5\cf2147483647\highlight-1)"_s +
             uR"(\fs2147483647\li2147483647\fi-2147483647\sb2147483647 a\fs-2147483648 b\par})"_s,
         u"ab"_s},
        {"DestinationWordsInTheFontTable",
         uR"({\rtf1{\fonttbl{\f0\pict{\f1 X;}}{\f2\'41\u66?;}}\f2 ok})"_s, u"ok"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        QTextDocument doc;
        readRtf(c.rtf, doc);
        EXPECT_EQ(rawText(doc), c.text);
        // Laying the result out must work too: sizes and indents are bounded.
        doc.size();
        EXPECT_LE(at(doc, u"").fontPointSize(), 1638.0);
        EXPECT_LE(qAbs(block(doc, 0).leftMargin()) + qAbs(block(doc, 0).textIndent()), 4224.0);
    }
}

// Small limits passed in: each bound cuts the text where it says.
const char16_t* const kTwoColours =
    uR"({\rtf1{\colortbl;\red9\green0\blue0;\red0\green0\blue9;}\cf2 b})";
const struct LimitRow {
    const char* name;
    const char16_t* rtf;
    RtfLimits limits;
    const char16_t* text;
    QColor last = {}; // the colour of the last character (none when invalid)
} kLimitRows[] = {
    {"OutputCharacters", uR"({\rtf1 abc\par defgh})", {.maxOutputChars = 6}, u"abc\nde"},
    {"Paragraphs", uR"({\rtf1 a\par b\par c\par d})", {.maxParagraphs = 2}, u"a\nbcd"},
    {"ColourTableEntries", kTwoColours, {.maxTableEntries = 2}, u"b"},
    {"ColourTableUpToTheLimit", kTwoColours, {.maxTableEntries = 3}, u"b", QColor(0, 0, 9)},
    {"NestedGroups", uR"({\rtf1 a{b{c}}d})", {.maxDepth = 2}, u"abd"},
    {"ControlWordLetters", uR"({\rtf1 a\tab b})", {.maxControlWordLength = 2}, u"ab"},
    {"ParameterDigits", uR"({\rtf1 \u233?a\u8364?b})", {.maxParameterDigits = 3}, u"éa?b"},
};

class RtfLimitRows : public testing::TestWithParam<LimitRow> {};

TEST_P(RtfLimitRows, CutTheTextWhereTheySay) {
    QTextDocument doc;
    readRtf(QString::fromUtf16(GetParam().rtf), doc, GetParam().limits);
    EXPECT_EQ(rawText(doc), QString::fromUtf16(GetParam().text));
    const QTextCharFormat f = at(doc, rawText(doc).right(1));
    EXPECT_EQ(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor(),
              GetParam().last);
}
INSTANTIATE_TEST_SUITE_P(RtfLimits, RtfLimitRows, testing::ValuesIn(kLimitRows),
                         kp::test::RowName());

// Text documents need a QGuiApplication for their fonts; widgets are not involved. The offscreen
// platform is set here too because test discovery runs without ctest's environment.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
