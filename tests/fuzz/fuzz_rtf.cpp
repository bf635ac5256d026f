#include "richtext/RichText.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

// The exam file's texts reach the reader one byte per character, so the fuzzer's bytes do too.
// The reader is called even without the "{\rtf" prefix so that the fuzzer need not find it first.

// Fontconfig keeps its caches until the process ends; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    // Lives for the whole run: documents need it for their fonts.
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    kp::rtf::readRtf(text, doc);
    kp::rtf::applyPageFormat(doc, Qt::black);
    // Lay the result out: sizes and indents taken from the input must stay workable.
    static_cast<void>(doc.size());
    return 0;
}
