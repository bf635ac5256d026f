#include "richtext/RichText.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

// About 100 KB of RTF as a rich-text control writes it: a header with fonts and colours, then
// paragraphs mixing formats, accented letters in hex escapes, Unicode escapes and a table.
QString sampleRtf() {
    QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang3082{\\fonttbl{\\f0\\fnil"
        "\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red255\\green0"
        "\\blue0;\\red0\\green0\\blue255;}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4"
        "\\uc1 \r\n\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang10 ");
    int i = 0;
    while (rtf.size() < 100 * 1024) {
        rtf += QStringLiteral("P\\'e1rrafo %1: texto \\b negrita\\b0 , \\i cursiva\\i0  y \\cf1 "
                              "rojo\\cf0 ; \\ul subrayado\\ulnone  con \\u8364? y \\f1\\'61\\f0 "
                              ". \\'bfQu\\'e9 opci\\'f3n es la correcta?\\par\r\n")
                   .arg(i);
        if (++i % 20 == 0)
            rtf += QStringLiteral("\\trowd\\cellx2000\\cellx4000\\pard\\intbl A\\cell B\\cell"
                                  "\\row\\pard\\sa200\\sl276\\slmult1 ");
    }
    rtf += u'}';
    return rtf;
}

void BM_ReadRtf100KB(benchmark::State& state) {
    const QString rtf = sampleRtf();
    for (auto _ : state) {
        QTextDocument doc;
        kp::rtf::readRtf(rtf, doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadRtf100KB)->Unit(benchmark::kMillisecond);

void BM_RichContentWithPageFormat100KB(benchmark::State& state) {
    const QString rtf = sampleRtf();
    for (auto _ : state) {
        QTextDocument doc;
        kp::rtf::setRichContent(doc, rtf);
        kp::rtf::applyPageFormat(doc, Qt::black);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_RichContentWithPageFormat100KB)->Unit(benchmark::kMillisecond);

} // namespace

// Documents need a QGuiApplication for their fonts.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
