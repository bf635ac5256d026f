#pragma once

#include <QByteArray>
#include <memory>

namespace kp {

class ByteCursor;
class KipsaPrubex;
class Pregunta;
class Serie;

// Reads the bytes of an exam file, one function per record of the file: the header (with the
// logo), each question record, each series record. Every length and count is checked against
// the bytes that remain before anything is allocated. The settings go into the exam; the
// questions and series go to a Receiver as each is read: by default into the exam's
// collections. KipsaPrubex::Cargar is defined here.
class ExamReader {
public:
    // Takes the records as they are read, for a reader that does not keep the whole exam.
    class Receiver {
    public:
        virtual ~Receiver() = default;
        // The header is in the exam (settings and logo) and the counts are known; no question
        // has been read yet.
        virtual void headerRead(qint16 questions, qint16 series) = 0;
        // A question whose Key is set. Duplicate keys are the receiver's to refuse.
        virtual void question(std::shared_ptr<Pregunta> p) = 0;
        virtual void series(const Serie& s) = 0;
    };

    explicit ExamReader(KipsaPrubex& exam);
    ExamReader(KipsaPrubex& exam, Receiver& receiver) : exam_(exam), receiver_(receiver) {}
    ~ExamReader();

    // Reads the whole file. Raises KpError at the first problem; the exam then keeps what was
    // read before it.
    void read(const QByteArray& bytes);
    // The same from a cursor, which may walk a file (FileWindow) rather than hold it.
    void read(ByteCursor& in);

private:
    void readHeader(ByteCursor& in);
    void readQuestion(ByteCursor& in, int number);
    void readSeries(ByteCursor& in);

    KipsaPrubex& exam_;
    std::unique_ptr<Receiver> intoExam_;
    Receiver& receiver_;
};

} // namespace kp
