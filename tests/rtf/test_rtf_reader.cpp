#include "RtfTestSupport.h"
#include "window/rtf/RichText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>

using namespace kp::rtf;
using kp::test::formatOf;
using kp::test::rawText;
using kp::test::u16;

namespace {

// The header a Windows rich-text control writes: fonts, colours, generator, view settings.
const char16_t* const kHead =
    uR"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang3082{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset2 Symbol;}{\f2\fswiss\fcharset204 Arial;}{\f3\froman\fprq2\fcharset0 Times New Roman{\*\falt Times};}{\f4\fnil\fcharset128 MS Gothic;}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;\red255\green255\blue0;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang10 )";

QString sample(const char16_t* body) {
    return u16(kHead) + u16(body) + u16(uR"(\par
})");
}

struct Case {
    const char* fault;
    const char16_t* body; // between the header and the closing \par}
    const char16_t* text;
    std::function<void(const QTextDocument&)> check;
};

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 255, 0);

bool bold(const QTextDocument& d, const char16_t* w) {
    return formatOf(d, u16(w)).fontWeight() == QFont::Bold;
}

const Case kCases[] = {
    {"FormattingOfTheControlsOwnExampleIsLost", uR"(Texto \b negrita\b0  y \cf1 rojo\cf0 )",
     u"Texto negrita y rojo",
     [](const QTextDocument& d) {
         EXPECT_TRUE(bold(d, u"negrita"));
         EXPECT_FALSE(bold(d, u"Texto"));
         EXPECT_EQ(formatOf(d, u16(u"rojo")).foreground().color(), kRed);
         EXPECT_FALSE(formatOf(d, u16(u"Texto")).hasProperty(QTextFormat::ForegroundBrush));
         EXPECT_EQ(formatOf(d, u16(u"Texto")).fontFamilies().toStringList(),
                   QStringList{u16(u"Calibri")});
         EXPECT_EQ(formatOf(d, u16(u"Texto")).fontPointSize(), 11.0);
     }},
    {"AccentsInHexEscapesAreNotDecodedAsWindows1252",
     uR"(\'bfQu\'e9 a\'f1o? \'80 \'93cita\'94)",
     u"¿Qué año? € “cita”",
     {}},
    {"DoubleByteCharsetDecodedBytePerByte", uR"(\f4\'82\'a0\'82\'a2\f0  ok)", u"あい ok", {}},
    {"CyrillicFontCharsetIgnored", uR"(\f2\'cf\'f0\'e8\'e2\'e5\'f2\f0  ok)", u"Привет ok", {}},
    {"SymbolFontBytesShownAsLatinLetters", uR"({\f1\'61\'b3\'70} = \f1 p\f0 !)", u"α≥π = π!",
     [](const QTextDocument& d) {
         // Drawn in the surrounding font: a local "Symbol" font may lack the Greek letters.
         EXPECT_FALSE(formatOf(d, u16(u"π!")).hasProperty(QTextFormat::FontFamilies));
     }},
    {"UnicodeEscapeFallbackNotSkipped",
     uR"(\u8364?uro \u241?\uc2\u20320\'c4\'e3 x)",
     u"€uro ñ你 x",
     {}},
    {"SurrogatePairSplitIntoTwoBrokenCharacters",
     uR"(\u-10179?\u-8704? \u55357?x)",
     u"😀 \uFFFDx",
     {}},
    {"UcZeroSkipsRealText", uR"(\uc0\u233 t\'e9)", u"été", {}},
    {"NamedCharactersDropped",
     uR"(a\emdash b\endash c\bullet \lquote d\rquote  \ldblquote e\rdblquote  f\~g\-h\_i \{\}\\)",
     u"a—b–c•‘d’ “e” f\u00A0g\u00ADh\u2011i {}\\",
     {}},
    {"HiddenTextShown",
     uR"(Visible{\v oculto\par } fin \v escondido\v0 ya)",
     u"Visible fin ya",
     {}},
    {"SkippedDestinationsLeakText",
     uR"({\*\bkmkstart b1}Antes{\*\bkmkend b1} {\pict{\*\picprop}\wmetafile8\picw100 0a0b0c}{\object\objemb{\*\objdata 0101}{\result x}}{\info{\title Titulo}{\author Yo}}{\header Cabecera}{\stylesheet{\s1 Normal;}}despu\'e9s)",
     u"Antes después",
     {}},
    {"FieldResultLostWithInstruction",
     uR"(Ver {\field{\*\fldinst{HYPERLINK "http://x.es/"}}{\fldrslt{\ul\cf2 enlace}}}.)",
     u"Ver enlace.",
     [](const QTextDocument& d) {
         EXPECT_EQ(formatOf(d, u16(u"enlace")).underlineStyle(), QTextCharFormat::SingleUnderline);
         EXPECT_EQ(formatOf(d, u16(u"enlace")).foreground().color(), kBlue);
     }},
    {"CharacterFormatsNotApplied",
     uR"(\i cursiva\i0  \ul sub\ulnone  \uldash rayas\ul0  \ulwave onda\ulnone  \strike tachado\strike0  x\super 2\nosupersub  H\sub 2\nosupersub O \scaps versal\scaps0)",
     u"cursiva sub rayas onda tachado x2 H2O versal",
     [](const QTextDocument& d) {
         EXPECT_TRUE(formatOf(d, u16(u"cursiva")).fontItalic());
         EXPECT_FALSE(formatOf(d, u16(u" sub")).fontItalic());
         EXPECT_EQ(formatOf(d, u16(u"sub ")).underlineStyle(), QTextCharFormat::SingleUnderline);
         EXPECT_EQ(formatOf(d, u16(u"rayas")).underlineStyle(), QTextCharFormat::DashUnderline);
         EXPECT_EQ(formatOf(d, u16(u"onda")).underlineStyle(), QTextCharFormat::WaveUnderline);
         EXPECT_TRUE(formatOf(d, u16(u"tachado")).fontStrikeOut());
         EXPECT_EQ(formatOf(d, u16(u"2 H")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
         EXPECT_EQ(formatOf(d, u16(u"2O")).verticalAlignment(), QTextCharFormat::AlignSubScript);
         EXPECT_EQ(formatOf(d, u16(u"O ")).verticalAlignment(), QTextCharFormat::AlignNormal);
         EXPECT_EQ(formatOf(d, u16(u"versal")).fontCapitalization(), QFont::SmallCaps);
     }},
    {"GroupEndDoesNotRestoreFormat", uR"(a{\b\i\fs40\f3 b}c)", u"abc",
     [](const QTextDocument& d) {
         EXPECT_TRUE(bold(d, u"b"));
         EXPECT_EQ(formatOf(d, u16(u"b")).fontPointSize(), 20.0);
         EXPECT_EQ(formatOf(d, u16(u"b")).fontFamilies().toStringList(),
                   QStringList{u16(u"Times New Roman")});
         EXPECT_FALSE(bold(d, u"c"));
         EXPECT_EQ(formatOf(d, u16(u"c")).fontPointSize(), 11.0);
     }},
    {"PlainDoesNotResetCharacterFormat", uR"(\b\i\cf1 uno\plain  dos)", u"uno dos",
     [](const QTextDocument& d) {
         EXPECT_FALSE(bold(d, u"dos"));
         EXPECT_FALSE(formatOf(d, u16(u"dos")).fontItalic());
         EXPECT_FALSE(formatOf(d, u16(u"dos")).hasProperty(QTextFormat::ForegroundBrush));
         EXPECT_EQ(formatOf(d, u16(u"dos")).fontPointSize(), 12.0);
     }},
    {"HighlightAndOutOfRangeColoursMishandled",
     uR"(\highlight3 marcado\highlight0  \cf9 fuera\cf0  \f7 letra)", u"marcado fuera letra",
     [](const QTextDocument& d) {
         EXPECT_EQ(formatOf(d, u16(u"marcado")).background().color(), kYellow);
         EXPECT_FALSE(formatOf(d, u16(u" fuera")).hasProperty(QTextFormat::BackgroundBrush));
         EXPECT_FALSE(formatOf(d, u16(u"fuera")).hasProperty(QTextFormat::ForegroundBrush));
         EXPECT_EQ(formatOf(d, u16(u"letra")).fontFamilies().toStringList(),
                   QStringList{u16(u"Calibri")});
     }},
    {"ParagraphsLinesAndTabsMerged",
     uR"(uno\par dos\line tres\tab cuatro)",
     u"uno\ndos\u2028tres\tcuatro",
     {}},
    {"AlignmentAndIndentsNotConvertedFromTwips",
     uR"(\qc Centro\par\pard\qr Derecha\par\pard\qj\li720\ri360\fi-360\sb120 Sangr\'eda)",
     u"Centro\nDerecha\nSangría",
     [](const QTextDocument& d) {
         const QTextBlock b0 = d.begin(), b1 = b0.next(), b2 = b1.next();
         EXPECT_EQ(b0.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
         EXPECT_EQ(b1.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
         EXPECT_EQ(b2.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
         EXPECT_EQ(b2.blockFormat().leftMargin(), 48.0);
         EXPECT_EQ(b2.blockFormat().rightMargin(), 24.0);
         EXPECT_EQ(b2.blockFormat().textIndent(), -24.0);
         EXPECT_EQ(b2.blockFormat().topMargin(), 8.0);
         // \sl276\slmult1 of the header: 1.15 lines, until the \pard.
         EXPECT_EQ(b0.blockFormat().lineHeightType(), QTextBlockFormat::ProportionalHeight);
         EXPECT_EQ(b0.blockFormat().lineHeight(), 115.0);
         EXPECT_FALSE(b1.blockFormat().hasProperty(QTextFormat::LineHeight));
     }},
    {"PardDoesNotResetParagraph", uR"(\qc\li1440 a\par\pard b)", u"a\nb",
     [](const QTextDocument& d) {
         EXPECT_EQ(d.begin().next().blockFormat().leftMargin(), 0.0);
         EXPECT_EQ(d.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                   Qt::AlignLeft);
     }},
    {"TableCellsRunTogether",
     uR"(\par\trowd\trgaph108\trleft-108\cellx1500\cellx3000\cellx4500\pard\intbl Uno\cell\cell Tres\cell\row\trowd\cellx1500\cellx3000\pard\intbl A\cell B\cell\row\pard Fin)",
     u"\nUno\t\tTres\nA\tB\nFin",
     [](const QTextDocument& d) {
         const QTextBlock row = d.begin().next();
         ASSERT_EQ(row.blockFormat().tabPositions().size(), 3);
         EXPECT_EQ(row.blockFormat().tabPositions()[0].position, 100.0);
     }},
    {"TabStopsLost", uR"(\pard\tx1440\tqr\tx4320 a\tab b\tab c\par\pard d)", u"a\tb\tc\nd",
     [](const QTextDocument& d) {
         const QList<QTextOption::Tab> tabs = d.begin().blockFormat().tabPositions();
         ASSERT_EQ(tabs.size(), 2);
         EXPECT_EQ(tabs[0].position, 96.0);
         EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
         EXPECT_EQ(tabs[1].position, 288.0);
         EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
         EXPECT_TRUE(d.begin().next().blockFormat().tabPositions().isEmpty());
     }},
    {"BulletListFallbackTextLost",
     uR"({\pntext\f1\'b7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'b7}}\fi-360\li720 Primero\par{\pntext\f1\'b7\tab}Segundo)",
     u"•\tPrimero\n•\tSegundo",
     {}},
    {"RawLineBreaksInsideTextKept", u"uno\r\ndos\ntres", u"unodostres", {}},
};

} // namespace

TEST(RtfReader, ReadsWhatTheRichTextControlWrites) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.fault);
        QTextDocument doc;
        setRichContent(doc, sample(c.body));
        EXPECT_EQ(rawText(doc), u16(c.text));
        if (c.check)
            c.check(doc);
    }
}

TEST(RtfReader, FontEntriesWithoutSemicolonOrWithInnerGroupsKeepTheirNames) {
    QTextDocument doc;
    setRichContent(doc, u16(uR"({\rtf1{\fonttbl{\f4{\*\panose 0}{\fnil}Courier New}{\f5 Arial}})"
                            uR"(\f4 a\f5 b})"));
    EXPECT_EQ(formatOf(doc, u16(u"a")).fontFamilies().toStringList(),
              QStringList{u16(u"Courier New")});
    EXPECT_EQ(formatOf(doc, u16(u"b")).fontFamilies().toStringList(), QStringList{u16(u"Arial")});
}

TEST(RtfReader, FinalParagraphMarkAddsNoEmptyLine) {
    QTextDocument doc;
    setRichContent(doc, u16(uR"({\rtf1\ansi uno\par dos\par})"));
    EXPECT_EQ(doc.blockCount(), 2);
    setRichContent(doc, u16(uR"({\rtf1\ansi uno\par\par})"));
    EXPECT_EQ(rawText(doc), u16(u"uno\n"));
}

TEST(RichContent, TextThatIsNotRtfIsShownExactlyAsWritten) {
    const char16_t* const texts[] = {
        u"Verdadero",
        u"<b>no es html</b> & **ni markdown**",
        uR"( {\rtf1 espacio delante})",
        uR"({\RTF1 mayúsculas})",
        u"dos\nlíneas\ty tab",
        u"",
    };
    for (const char16_t* t : texts) {
        SCOPED_TRACE(QString::fromUtf16(t).toStdString());
        QTextDocument doc;
        // The box is reused between questions: nothing of a formatted text may carry over.
        setRichContent(doc, u16(uR"({\rtf1 \b antes})"));
        setRichContent(doc, u16(t));
        EXPECT_EQ(doc.toPlainText(), u16(t));
        if (*t != 0) {
            EXPECT_FALSE(formatOf(doc, u16(t).left(1)).hasProperty(QTextFormat::FontWeight));
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
        EXPECT_EQ(formatOf(doc, u16(w)).foreground().color(), green);
        EXPECT_EQ(formatOf(doc, u16(w)).fontPointSize(), 10.0);
    }
    EXPECT_TRUE(bold(doc, u"negrita"));
    EXPECT_EQ(formatOf(doc, u16(u"fondo")).background().color(), kYellow);
    EXPECT_EQ(formatOf(doc, u16(u"segunda")).underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatOf(doc, u16(u"Texto")).fontFamilies().toStringList(),
              QStringList{u16(u"Calibri")});
}

TEST(RichContent, PageFormatAppliesToPlainText) {
    QTextDocument doc;
    setRichContent(doc, u16(u"Falso"));
    applyPageFormat(doc, Qt::red);
    EXPECT_EQ(formatOf(doc, u16(u"Falso")).foreground().color(), QColor(Qt::red));
    EXPECT_EQ(formatOf(doc, u16(u"Falso")).fontPointSize(), 10.0);
}
