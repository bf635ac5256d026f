#include "RtfTestSupport.h"
#include "window/rtf/RichText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace kp::rtf;
using kp::test::rawText;
using kp::test::u16;

namespace {

QString repeated(const char16_t* s, int n) {
    return u16(s).repeated(n);
}

} // namespace

// Each text is built to break a naive reader: stack overflow from recursion, reading past the
// end, unbounded allocation or a hang. The reader must come back with some document.
TEST(RtfHostile, BrokenTextsReadToSomethingWithoutCrashing) {
    const struct {
        const char* fault;
        QString rtf;
        QString text; // what is still expected to show
    } cases[] = {
        {"RecursionOn100000NestedGroups",
         u16(uR"({\rtf1 a)") + repeated(u"{", 100000) + u16(u"x") + repeated(u"}", 100000) +
             u16(u"b}"),
         u16(u"ab")},
        {"UnclosedNestedGroupsNeverEnd", u16(uR"({\rtf1 a)") + repeated(u"{\\b ", 100000),
         u16(u"a")},
        {"HugeBinReadsPastTheEnd", u16(uR"({\rtf1 a\bin2147483647 xyz})"), u16(u"a")},
        {"OverlongBinLengthTurnsDataIntoText", u16(uR"({\rtf1 a\bin99999999999999999999 xyz})"),
         u16(u"a")},
        {"NegativeBinMovesBackwards", u16(uR"({\rtf1 a\bin-5 b})"), u16(u"ab")},
        {"BinInsideSkippedGroupEndsGroupEarly", u16(uR"({\rtf1 a{\pict\bin3 }}}}b})"), u16(u"ab")},
        {"UnicodeMinusOne", u16(uR"({\rtf1 a\u-1?b})"), u16(u"a\uFFFFb")},
        {"UnicodeOutOfRange", u16(uR"({\rtf1 a\u99999999?b\u-99999?c})"), u16(u"a\uFFFDb\uFFFDc")},
        {"HugeUcSwallowsTheRest", u16(uR"({\rtf1 \uc2147483647\u65 0123456789abc})"),
         u16(u"A89abc")},
        {"UnterminatedGroup", u16(uR"({\rtf1 abc {\b def)"), u16(u"abc def")},
        {"InvalidHexEscape", u16(uR"({\rtf1 a\'zz\'4})"), u16(u"azz4")},
        {"HexEscapeAtTheEnd", u16(uR"({\rtf1 a\')"), u16(u"a")},
        {"BackslashAtTheEnd", u16(uR"({\rtf1 a\)"), u16(u"a")},
        {"ThousandLetterControlWord", u16(uR"({\rtf1 a\)") + repeated(u"b", 1000) + u16(u" c}"),
         u16(u"ac")},
        {"OversizedParameter", u16(uR"({\rtf1 \fs99999999999999999999999 a\b1234567890123 b})"),
         u16(u"ab")},
        {"FontSizeOutOfRange", u16(uR"({\rtf1 \fs-2147483648 a\fs2147483647 b})"), u16(u"ab")},
        {"TableIndicesOutOfRange",
         u16(uR"({\rtf1{\fonttbl{\f2147483647 X;}}{\colortbl;}\f-5\cf2147483647\highlight-1 a})"),
         u16(u"a")},
        {"ExtraClosingBracesEndTheDocument", u16(uR"({\rtf1 a}}}} b)"), u16(u"a")},
        {"IgnorableMarkerOutsideAGroup", u16(uR"({\rtf1 a\*b})"), u16(u"ab")},
        {"SkippedRootGroup", u16(uR"({\*\rtf1 a}{b})"), u16(u"b")},
        {"LoneLowSurrogate", u16(uR"({\rtf1 \u-8704?x})"), u16(u"\uFFFDx")},
        {"NulAndControlCharacters", QString::fromUtf16(u"{\\rtf1 a\0b\x01\x1f\tc}", 15),
         u16(u"ab\tc")},
        {"ManyCellsWithoutARow", u16(uR"({\rtf1 a)") + repeated(u"\\cell ", 100000) + u16(u"b}"),
         u16(u"a") + repeated(u"\t", 64) + u16(u"b")},
        {"DestinationWordsInTheFontTable",
         u16(uR"({\rtf1{\fonttbl{\f0\pict{\f1 X;}}{\f2\'41\u66?;}}\f2 ok})"), u16(u"ok")},
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

TEST(RtfHostile, OutputStopsAtTheCharacterCap) {
    RtfLimits limits;
    limits.maxOutputChars = 100;
    QTextDocument doc;
    readRtf(u16(uR"({\rtf1 )") + repeated(u"abcdefghij", 1000) + u16(u"}"), doc, limits);
    EXPECT_EQ(doc.toRawText().size(), 100);
}

TEST(RtfHostile, ParagraphsStopAtTheirCap) {
    RtfLimits limits;
    limits.maxParagraphs = 50;
    QTextDocument doc;
    readRtf(u16(uR"({\rtf1 )") + repeated(u"x\\par ", 1000) + u16(u"fin}"), doc, limits);
    EXPECT_EQ(doc.blockCount(), 50);
    EXPECT_TRUE(doc.toPlainText().endsWith(u16(u"xxxfin")));
}

TEST(RtfHostile, GroupsDeeperThanTheLimitAreSkippedAndReadingGoesOn) {
    RtfLimits limits;
    limits.maxDepth = 3;
    QTextDocument doc;
    readRtf(u16(uR"({\rtf1 a{b{c{d{e}}f}g}h})"), doc, limits);
    EXPECT_EQ(rawText(doc), u16(u"abcfgh"));
}

TEST(RtfHostile, HugeFontSizeAndIndentsStayLayoutable) {
    QTextDocument doc;
    readRtf(u16(uR"({\rtf1\fs2147483647\li2147483647\fi-2147483647\sb2147483647 x\par})"), doc);
    const QTextCharFormat f = kp::test::formatOf(doc, u16(u"x"));
    EXPECT_LE(f.fontPointSize(), 1638.0);
    EXPECT_LE(doc.begin().blockFormat().leftMargin(), 31680 / 15.0);
    EXPECT_GE(doc.begin().blockFormat().textIndent(), -31680 / 15.0);
}
