#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <vector>

namespace kp::fuzz {

// A property that must hold for every input was broken. The fuzz targets let it escape (the
// fuzzer reports the input); the replay tests turn it into a failure.
class CheckFailed : public std::runtime_error {
public:
    explicit CheckFailed(const QString& what) : std::runtime_error(what.toStdString()) {}
};

// Throws CheckFailed with the message unless condition holds.
void require(bool condition, const QString& message);

// What each target does with one input. Every reader is reached through the entry the program
// uses, and whatever is read is then put through what must always hold of it. "Read back the
// same" means member by member as our writer stores them (ExamComparison.h). The bytes of a
// second write may differ from the first: a picture whose name is only blanks is written with
// an empty name, and a picture without a name is not written at all.
//
// exam: KipsaPrubex::Cargar on the bytes. An exam that loads is graded without marks, its
// question count taken, and it is written to memory and read back the same (or refused by the
// writer as a value the format cannot hold).
void checkExamFile(const QByteArray& bytes);
// question: Pregunta::Cargar on the bytes at offset 0 and behind other bytes. A record reads
// the same at either offset, ends inside the bytes, and is written and read back the same.
void checkQuestionRecord(const QByteArray& bytes);
// results: ResultsReader::read. A file that reads is graded against two small exams of ours
// (multiple choice and true/false) with sane counts and grade, and our writer makes of it a
// file that reads back the same and writes the same bytes again.
void checkResultsFile(const QByteArray& bytes);
// json: kxt build's description, from bytes, with pictures served from memory. A description
// that builds makes an exam the writer takes without refusal and that reads back the same.
void checkExamJson(const QByteArray& bytes);
// rtf: the rich-text reader on the bytes (one byte per character, as exam texts are) and a
// layout of the result. Only that nothing breaks: it checks no other property.
void checkRichText(const QByteArray& bytes);

struct Target {
    const char* name; // also the folder of its replay set, tests/fuzz/<name>
    void (*check)(const QByteArray& bytes);
    bool checksProperties; // false: a crash-only target
};

const std::vector<Target>& targets();
// Null when there is no target of that name.
const Target* findTarget(const QString& name);

} // namespace kp::fuzz
