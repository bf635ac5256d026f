#pragma once

#include <QByteArray>

namespace kp {

class ByteCursor;
class KipsaPrubex;

// Reads the bytes of an exam file into a new exam, one function per record of the file: the
// header (with the logo), each question record, each series record. Every length and count is
// checked against the bytes that remain before anything is allocated. KipsaPrubex::Cargar is
// defined here.
class ExamReader {
public:
    explicit ExamReader(KipsaPrubex& exam) : exam_(exam) {}

    // Reads the whole file. Raises KpError at the first problem; the exam then keeps what was
    // read before it.
    void read(const QByteArray& bytes);

private:
    void readHeader(ByteCursor& in);
    void readQuestion(ByteCursor& in, int number);
    void readSeries(ByteCursor& in);

    KipsaPrubex& exam_;
};

} // namespace kp
