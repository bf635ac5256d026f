#pragma once

#include <QByteArray>

namespace kp {

class FieldWriter;
class KipsaPrubex;
class Serie;

// Writes an exam in the layout ExamReader reads. KipsaPrubex::Export is defined here.
class ExamWriter {
public:
    explicit ExamWriter(const KipsaPrubex& exam) : exam_(exam) {}

    // What the fields alone cannot show: the file must load back, so counts stay within 16 bits,
    // no two keys that the reader would build from the stored identifiers are equal, and a logo
    // keeps a file name.
    void checkLoadsBack() const;
    // Writes the whole file with the given logo bytes (a writer without a device only checks).
    void write(FieldWriter& out, const QByteArray& logo) const;

private:
    void writeHeader(FieldWriter& out, const QByteArray& logo) const;
    static void writeSeries(FieldWriter& out, const Serie& serie);

    const KipsaPrubex& exam_;
};

} // namespace kp
