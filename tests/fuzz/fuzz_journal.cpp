#include "format/JournalReader.h"
#include "format/JournalRecords.h"
#include "format/ResultsReader.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The journal of the marks (recovery file) as a stranger could hand it to kxt recover. Each
// input is read twice: as it is, which tries torn and damaged records, and laid out again as
// records with their CRC made right, so that the fuzzer reaches the contents behind the CRC.
// What must hold: a journal that reads gives a results file that reads back with its question
// count, and reading the same bytes twice gives the same.

namespace {

// type, 16-bit length, contents ... -> framed records after the magic text.
QByteArray reframed(const QByteArray& input) {
    QByteArray out(kp::journal::kMagic, kp::journal::kMagicSize);
    qsizetype pos = 0;
    while (pos + 3 <= input.size()) {
        const char type = input[pos];
        const auto length =
            static_cast<qsizetype>(quint8(input[pos + 1]) | (quint16(quint8(input[pos + 2])) << 8));
        pos += 3;
        const QByteArray contents = input.mid(pos, length);
        pos += contents.size();
        out += kp::journal::record(type, contents);
    }
    return out;
}

void check(const QByteArray& bytes) {
    kp::JournalReader reader;
    if (!reader.read(bytes))
        return;
    const QByteArray results = reader.resultsFile();
    kp::ResultsReader back;
    if (!back.read(results) || back.marks().positions() != reader.header().TotalPreguntas)
        std::abort();
    kp::JournalReader again;
    if (!again.read(bytes) || again.resultsFile() != results ||
        again.ignoredBytes() != reader.ignoredBytes())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    check(input);
    check(reframed(input));
    return 0;
}
