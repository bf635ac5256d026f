#include "window/rtf/RichText.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace kp::rtf;
using namespace Qt::StringLiterals;

// Readable failure messages for the texts compared here.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// The document's text with its characters as stored (no-break spaces, line separators and
// soft hyphens kept), one line per paragraph.
QString rawText(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines.append(b.text());
    return lines.join(u'\n');
}

// The format of the first character of the first occurrence of word; an empty format when the
// word is missing (the test then fails on the text check first).
QTextCharFormat formatOf(const QTextDocument& doc, const QString& word) {
    const qsizetype at = doc.toRawText().indexOf(word);
    if (at < 0)
        return {};
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(static_cast<int>(at) + 1);
    return c.charFormat();
}

// The header a Windows rich-text control writes: fonts, colours, generator, view settings.
const char16_t* const kHead =
    uR"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang3082{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset2 Symbol;}{\f2\fswiss\fcharset204 Arial;}{\f3\froman\fprq2\fcharset0 Times New Roman{\*\falt Times};}{\f4\fnil\fcharset128 MS Gothic;}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;\red255\green255\blue0;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang10 )";

QString sample(const char16_t* body) {
    return QString::fromUtf16(kHead) + QString::fromUtf16(body) + uR"(\par
})"_s;
}

QTextCharFormat at(const QTextDocument& d, const char16_t* w) {
    return formatOf(d, QString::fromUtf16(w));
}
QString family(const QTextDocument& d, const char16_t* w) {
    return at(d, w).fontFamilies().toStringList().join(u',');
}
QTextBlockFormat block(const QTextDocument& d, int n) {
    return d.findBlockByNumber(n).blockFormat();
}

struct Case {
    const char* fault;
    const char16_t* body; // between the header and the closing \par}
    const char16_t* text;
    std::function<void(const QTextDocument&)> check = {};
};

const Case kCases[] = {
    {"FormattingOfTheControlsOwnExampleIsLost", uR"(Texto \b negrita\b0  y \cf1 rojo\cf0 )",
     u"Texto negrita y rojo",
     [](const QTextDocument& d) {
         EXPECT_EQ(at(d, u"negrita").fontWeight(), QFont::Bold);
         EXPECT_NE(at(d, u"Texto").fontWeight(), QFont::Bold);
         EXPECT_EQ(at(d, u"rojo").foreground().color(), QColor(Qt::red));
         EXPECT_EQ(family(d, u"Texto"), u"Calibri"_s);
     }},
    {"AccentsInHexEscapesAreNotDecodedAsWindows1252", uR"(\'bfQu\'e9 a\'f1o? \'80 \'93cita\'94)",
     u"¿Qué año? € “cita”"},
    {"FontCharsetIgnoredOrDoubleByteDecodedBytePerByte",
     uR"(\f4\'82\'a0\'82\'a2\f2\'cf\'f0\'e8\f0  ok)", u"あいПри ok"},
    {"SymbolFontBytesShownAsLatinLetters", uR"({\f1\'61\'b3\'70} = \f1 p\f0 !)", u"α≥π = π!",
     [](const QTextDocument& d) {
         // Drawn in the surrounding font: a local "Symbol" font may lack the Greek letters.
         EXPECT_FALSE(at(d, u"π!").hasProperty(QTextFormat::FontFamilies));
     }},
    // Fallbacks not skipped, or \uc0 skipping real text, or surrogate pairs split in two.
    {"UnicodeEscapesMisread",
     uR"(\u8364?uro \u241?\uc2\u20320\'c4\'e3 x\uc1 \u-10179?\u-8704? \u55357?x\uc0\u233 t\'e9)",
     u"€uro ñ你 x😀 \uFFFDxété"},
    {"NamedCharactersDropped",
     uR"(a\emdash b\endash c\bullet \lquote d\rquote  \ldblquote e\rdblquote  f\~g\-h\_i \{\}\\)",
     u"a—b–c•‘d’ “e” f\u00A0g\u00ADh\u2011i {}\\"},
    {"HiddenTextShown", uR"(Visible{\v oculto\par } fin \v escondido\v0 ya)", u"Visible fin ya"},
    {"SkippedDestinationsLeakText",
     uR"({\*\bkmkstart b1}Antes{\*\bkmkend b1} {\pict{\*\picprop}\wmetafile8\picw100 0a0b0c}{\object\objemb{\*\objdata 0101}{\result x}}{\info{\title Titulo}{\author Yo}}{\header Cabecera}{\stylesheet{\s1 Normal;}}despu\'e9s)",
     u"Antes después"},
    {"FieldResultLostWithInstruction",
     uR"(Ver {\field{\*\fldinst{HYPERLINK "http://x.es/"}}{\fldrslt{\ul\cf2 enlace}}}.)",
     u"Ver enlace.",
     [](const QTextDocument& d) {
         EXPECT_EQ(at(d, u"enlace").underlineStyle(), QTextCharFormat::SingleUnderline);
         EXPECT_EQ(at(d, u"enlace").foreground().color(), QColor(Qt::blue));
     }},
    {"CharacterFormatsNotApplied",
     uR"(\i cursiva\i0  \uldash rayas\ul0  \ulwave onda\ulnone  \strike tachado\strike0  x\super 2\nosupersub  H\sub 2\nosupersub O \scaps versal\scaps0)",
     u"cursiva rayas onda tachado x2 H2O versal",
     [](const QTextDocument& d) {
         EXPECT_TRUE(at(d, u"cursiva").fontItalic());
         EXPECT_EQ(at(d, u"rayas").underlineStyle(), QTextCharFormat::DashUnderline);
         EXPECT_EQ(at(d, u"onda").underlineStyle(), QTextCharFormat::WaveUnderline);
         EXPECT_TRUE(at(d, u"tachado").fontStrikeOut());
         EXPECT_EQ(at(d, u"2 H").verticalAlignment(), QTextCharFormat::AlignSuperScript);
         EXPECT_EQ(at(d, u"2O").verticalAlignment(), QTextCharFormat::AlignSubScript);
         EXPECT_EQ(at(d, u"O ").verticalAlignment(), QTextCharFormat::AlignNormal);
         EXPECT_EQ(at(d, u"versal").fontCapitalization(), QFont::SmallCaps);
     }},
    {"GroupEndDoesNotRestoreFormat", uR"(a{\b\i\fs40\f3 b}c)", u"abc",
     [](const QTextDocument& d) {
         EXPECT_EQ(at(d, u"b").fontWeight(), QFont::Bold);
         EXPECT_EQ(family(d, u"b"), u"Times New Roman"_s);
         EXPECT_NE(at(d, u"c").fontWeight(), QFont::Bold);
         EXPECT_EQ(at(d, u"c").fontPointSize(), 11.0);
     }},
    {"PlainDoesNotResetCharacterFormat", uR"(\b\i\cf1 uno\plain  dos)", u"uno dos",
     [](const QTextDocument& d) {
         EXPECT_NE(at(d, u"dos").fontWeight(), QFont::Bold);
         EXPECT_FALSE(at(d, u"dos").hasProperty(QTextFormat::ForegroundBrush));
         EXPECT_EQ(at(d, u"dos").fontPointSize(), 12.0);
     }},
    {"HighlightAndOutOfRangeColoursMishandled",
     uR"(\highlight3 marcado\highlight0  \cf9 fuera\cf0  \f7 letra)", u"marcado fuera letra",
     [](const QTextDocument& d) {
         EXPECT_EQ(at(d, u"marcado").background().color(), QColor(Qt::yellow));
         EXPECT_FALSE(at(d, u"fuera").hasProperty(QTextFormat::ForegroundBrush));
         EXPECT_EQ(family(d, u"letra"), u"Calibri"_s);
     }},
    // The final \par of the control is dropped, an empty paragraph before it is not.
    {"ParagraphsLinesAndTabsMerged", uR"(uno\par dos\line tres\tab cuatro\par)",
     u"uno\ndos\u2028tres\tcuatro\n"},
    {"AlignmentAndIndentsNotConvertedFromTwipsOrPardDoesNotReset",
     uR"(\qc Centro\par\pard\qr Derecha\par\pard\qj\li720\ri360\fi-360\sb120 Sangr\'eda\par\pard Fin)",
     u"Centro\nDerecha\nSangría\nFin",
     [](const QTextDocument& d) {
         EXPECT_EQ(block(d, 0).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
         EXPECT_EQ(block(d, 2).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
         EXPECT_EQ(block(d, 2).leftMargin(), 48.0);
         EXPECT_EQ(block(d, 2).textIndent(), -24.0);
         EXPECT_EQ(block(d, 3).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
         EXPECT_EQ(block(d, 3).leftMargin(), 0.0);
         // \sl276\slmult1 of the header: 1.15 lines, until the \pard.
         EXPECT_EQ(block(d, 0).lineHeight(), 115.0);
         EXPECT_FALSE(block(d, 1).hasProperty(QTextFormat::LineHeight));
     }},
    {"TableCellsRunTogether",
     uR"(\par\trowd\trgaph108\trleft-108\cellx1500\cellx3000\cellx4500\pard\intbl Uno\cell\cell Tres\cell\row\trowd\cellx1500\cellx3000\pard\intbl A\cell B\cell\row\pard Fin)",
     u"\nUno\t\tTres\nA\tB\nFin",
     [](const QTextDocument& d) {
         ASSERT_EQ(block(d, 1).tabPositions().size(), 3);
         EXPECT_EQ(block(d, 1).tabPositions()[0].position, 100.0);
     }},
    {"TabStopsLost", uR"(\pard\tx1440\tqr\tx4320 a\tab b\tab c\par\pard d)", u"a\tb\tc\nd",
     [](const QTextDocument& d) {
         const QList<QTextOption::Tab> tabs = block(d, 0).tabPositions();
         ASSERT_EQ(tabs.size(), 2);
         EXPECT_EQ(tabs[1].position, 288.0);
         EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
         EXPECT_TRUE(block(d, 1).tabPositions().isEmpty());
     }},
    {"BulletListFallbackTextLost",
     uR"({\pntext\f1\'b7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'b7}}\fi-360\li720 Primero\par{\pntext\f1\'b7\tab}Segundo)",
     u"•\tPrimero\n•\tSegundo"},
    {"RawLineBreaksInsideTextKept", u"uno\r\ndos\ntres", u"unodostres"},
};

} // namespace

TEST(RtfReader, ReadsWhatTheRichTextControlWrites) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.fault);
        QTextDocument doc;
        setRichContent(doc, sample(c.body));
        EXPECT_EQ(rawText(doc), QString::fromUtf16(c.text));
        if (c.check)
            c.check(doc);
    }
}

TEST(RtfReader, FontEntriesWithoutSemicolonOrWithInnerGroupsKeepTheirNames) {
    QTextDocument doc;
    setRichContent(doc, uR"({\rtf1{\fonttbl{\f4{\*\panose 0}{\fnil}Courier New}{\f5 Arial}})"
                        uR"(\f4 a\f5 b})"_s);
    EXPECT_EQ(family(doc, u"a"), u"Courier New"_s);
    EXPECT_EQ(family(doc, u"b"), u"Arial"_s);
}

TEST(RichContent, TextThatIsNotRtfIsShownExactlyAsWrittenAndTakesThePageFormat) {
    const char16_t* const texts[] = {u"Verdadero",
                                     u"<b>no es html</b> & **ni markdown**",
                                     uR"( {\rtf1 espacio delante})",
                                     uR"({\RTF1 mayúsculas})",
                                     u"dos\nlíneas\ty tab",
                                     u""};
    for (const char16_t* t : texts) {
        SCOPED_TRACE(QString::fromUtf16(t).toStdString());
        QTextDocument doc;
        // The box is reused between questions: nothing of a formatted text may carry over.
        setRichContent(doc, uR"({\rtf1 \b antes})"_s);
        setRichContent(doc, QString::fromUtf16(t));
        applyPageFormat(doc, Qt::red);
        EXPECT_EQ(doc.toPlainText(), QString::fromUtf16(t));
        if (*t != 0) {
            const QTextCharFormat f = formatOf(doc, QString::fromUtf16(t).left(1));
            EXPECT_FALSE(f.hasProperty(QTextFormat::FontWeight));
            EXPECT_EQ(f.foreground().color(), QColor(Qt::red));
            EXPECT_EQ(f.fontPointSize(), 10.0);
        }
    }
}

TEST(RichContent, PageFormatOverridesColourAndSizeAndKeepsTheRest) {
    QTextDocument doc;
    setRichContent(doc, sample(uR"(\fs40 Texto \b negrita\b0  \cf1 rojo\cf0  \highlight3 fondo)"
                               uR"(\highlight0\par\ul segunda)"));
    const QColor green(0, 128, 0);
    applyPageFormat(doc, green);
    for (const char16_t* w : {u"Texto", u"negrita", u"rojo", u"fondo", u"segunda"}) {
        SCOPED_TRACE(QString::fromUtf16(w).toStdString());
        EXPECT_EQ(at(doc, w).foreground().color(), green);
        EXPECT_EQ(at(doc, w).fontPointSize(), 10.0);
    }
    EXPECT_EQ(at(doc, u"negrita").fontWeight(), QFont::Bold);
    EXPECT_EQ(at(doc, u"fondo").background().color(), QColor(Qt::yellow));
    EXPECT_EQ(at(doc, u"segunda").underlineStyle(), QTextCharFormat::SingleUnderline);
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
        {"UnclosedNestedGroupsNeverEnd", uR"({\rtf1 a)"_s + u"{\\b "_s.repeated(100000), u"a"_s},
        {"HugeBinReadsPastTheEnd", uR"({\rtf1 a\bin2147483647 xyz})"_s, u"a"_s},
        {"OverlongBinLength", uR"({\rtf1 a\bin99999999999999999999 xyz})"_s, u"a"_s},
        {"NegativeBinMovesBackwards", uR"({\rtf1 a\bin-5 b})"_s, u"ab"_s},
        {"BinInsideSkippedGroupEndsGroupEarly", uR"({\rtf1 a{\pict\bin3 }}}}b})"_s, u"ab"_s},
        {"UnicodeMinusOne", uR"({\rtf1 a\u-1?b})"_s, u"a\uFFFFb"_s},
        {"UnicodeOutOfRangeOrLoneLowSurrogate", uR"({\rtf1 a\u99999999?b\u-99999?c\u-8704?x})"_s,
         u"a\uFFFDb\uFFFDc\uFFFDx"_s},
        {"HugeUcSwallowsTheRest", uR"({\rtf1 \uc2147483647\u65 0123456789abc})"_s, u"A89abc"_s},
        {"UnterminatedGroup", uR"({\rtf1 abc {\b def)"_s, u"abc def"_s},
        {"InvalidHexEscape", uR"({\rtf1 a\'zz\'4})"_s, u"azz4"_s},
        {"HexEscapeAtTheEnd", uR"({\rtf1 a\')"_s, u"a"_s},
        {"BackslashAtTheEnd", uR"({\rtf1 a\)"_s, u"a"_s},
        {"LongControlWord", uR"({\rtf1 a\)"_s + u"b"_s.repeated(1000) + u" c}"_s, u"ac"_s},
        {"OversizedParameter", uR"({\rtf1 \fs9999999999999999999 a\b1234567890123 b})"_s, u"ab"_s},
        {"FontSizeOutOfRange", uR"({\rtf1 \fs-2147483648 a\fs2147483647 b})"_s, u"ab"_s},
        {"TableIndicesOutOfRange",
         uR"({\rtf1{\fonttbl{\f2147483647 X;}}{\colortbl;}\f-5\cf2147483647\highlight-1 a})"_s,
         u"a"_s},
        {"ExtraClosingBracesEndTheDocument", uR"({\rtf1 a}}}} b)"_s, u"a"_s},
        {"IgnorableMarkerOutsideAGroup", uR"({\rtf1 a\*b})"_s, u"ab"_s},
        {"SkippedRootGroup", uR"({\*\rtf1 a}{b})"_s, u"b"_s},
        {"NulAndControls", QString::fromUtf16(u"{\\rtf1 a\0b\x01\x1f\tc}", 15), u"ab\tc"_s},
        {"ManyCellsWithoutARow", uR"({\rtf1 a)"_s + u"\\cell "_s.repeated(100000) + u"b}"_s,
         u"a"_s + u"\t"_s.repeated(64) + u"b"_s},
        {"DestinationWordsInTheFontTable",
         uR"({\rtf1{\fonttbl{\f0\pict{\f1 X;}}{\f2\'41\u66?;}}\f2 ok})"_s, u"ok"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        QTextDocument doc;
        readRtf(c.rtf, doc);
        EXPECT_EQ(rawText(doc), c.text);
        // Laying the result out must work too: sizes and indents are bounded.
        EXPECT_GE(doc.size().height(), 0);
    }
}

TEST(RtfHostile, LimitsCapTheOutputTheParagraphsAndTheDepth) {
    const auto read = [](const QString& rtf, auto limit, int value) {
        RtfLimits limits;
        limits.*limit = value;
        QTextDocument doc;
        readRtf(rtf, doc, limits);
        return rawText(doc);
    };
    EXPECT_EQ(read(uR"({\rtf1 )"_s + u"abcdefghij"_s.repeated(1000) + u"}"_s,
                   &RtfLimits::maxOutputChars, 100),
              u"abcdefghij"_s.repeated(10));
    EXPECT_EQ(read(uR"({\rtf1 )"_s + u"x\\par "_s.repeated(60) + u"fin}"_s,
                   &RtfLimits::maxParagraphs, 50),
              u"x\n"_s.repeated(49) + u"x"_s.repeated(11) + u"fin"_s);
    // Groups deeper than the limit are skipped and reading goes on.
    EXPECT_EQ(read(uR"({\rtf1 a{b{c{d{e}}f}g}h})"_s, &RtfLimits::maxDepth, 3), u"abcfgh"_s);
}

TEST(RtfHostile, HugeFontSizeAndIndentsStayLayoutable) {
    QTextDocument doc;
    readRtf(uR"({\rtf1\fs2147483647\li2147483647\fi-2147483647\sb2147483647 x\par})"_s, doc);
    EXPECT_LE(formatOf(doc, u"x"_s).fontPointSize(), 1638.0);
    EXPECT_LE(block(doc, 0).leftMargin(), 31680 / 15.0);
    EXPECT_GE(block(doc, 0).textIndent(), -31680 / 15.0);
}

// Replays the fuzzer's seeds and every input it ever found trouble with. Files are fed the way
// the fuzz target feeds them: one character per byte.
TEST(RtfCorpus, EveryFileReadsWithoutCrashing) {
    const QDir dir(QString::fromLocal8Bit(qgetenv("KP_TEST_DATA")) + QStringLiteral("/corpus"));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << dir.path().toStdString();
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QTextDocument doc;
        setRichContent(doc, QString::fromLatin1(f.readAll()));
        applyPageFormat(doc, Qt::black);
        EXPECT_GE(doc.size().height(), 0);
    }
}

// Text documents need a QGuiApplication for their fonts; widgets are not involved. The offscreen
// platform is set here too because test discovery runs without ctest's environment.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
