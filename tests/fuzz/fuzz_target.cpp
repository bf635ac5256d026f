// One libFuzzer target; KP_FUZZ_TARGET names which (built once per target).
#include "FuzzChecks.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// libFuzzer's and LeakSanitizer's hooks.
extern "C" const char* __lsan_default_suppressions();
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Fontconfig keeps its caches until the process ends; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace {
const kp::fuzz::Target* target = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    target = kp::fuzz::findTarget(QStringLiteral(KP_FUZZ_TARGET));
    if (!target)
        std::abort();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_" KP_FUZZ_TARGET;
    static char* argv[] = {name, nullptr};
    // Lives for the whole run: text documents need it for their fonts.
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        target->check(bytes);
    } catch (const std::exception& e) {
        // A broken property, or an exception no caller of the reader expects: either way the
        // fuzzer keeps the input.
        std::fprintf(stderr, "fuzz_%s: %s\n", KP_FUZZ_TARGET, e.what());
        std::abort();
    }
    return 0;
}
