#pragma once

#include <QByteArray>
#include <QDir>
#include <QHash>
#include <QString>
#include <functional>

namespace kp {
class Clock;
class KipsaPrubex;
class RandomSource;
class Serie;
} // namespace kp

namespace kp::tools {

class JsonSource;

// Makes an exam from the readable JSON description that `kxt build` takes. Settings go by the
// exam's member names; pictures are files relative to the JSON file; questions carry their
// answers; series list question identifiers. Raises BuildError naming the JSON path of the
// first problem found. The clock and random source make identifiers and shuffle answers.
class JsonExamBuilder {
public:
    // Reads the picture file at an absolute path. Raises KpError when it cannot.
    using PictureReader = std::function<QByteArray(const QString& absolutePath)>;

    JsonExamBuilder(const Clock& clock, RandomSource& random);

    // Fills exam (a new one) from the JSON file at jsonPath; pictures are relative to its folder.
    void build(const QString& jsonPath, KipsaPrubex& exam);
    // The same on a description in memory: name stands for it in messages, and pictures are
    // relative to base.
    void build(const QByteArray& json, const QString& name, const QDir& base, KipsaPrubex& exam);

    // Pictures are read from disk unless another reader is given (one that serves them from
    // memory, say).
    void setPictureReader(PictureReader reader) { readPictureFile_ = std::move(reader); }

private:
    void readSettings(const JsonSource& root, KipsaPrubex& exam) const;
    void readQuestions(const JsonSource& list, KipsaPrubex& exam);
    void readSeries(const JsonSource& list, KipsaPrubex& exam) const;
    void addListedSeries(const JsonSource& ids, Serie& serie, const KipsaPrubex& exam) const;
    // A series entry with "Reglas" instead of "Preguntas": the place where series made from
    // topics and rules plug in.
    void addRuleSeries(const JsonSource& rules, Serie& serie, KipsaPrubex& exam) const;
    void addWholeExamSeries(KipsaPrubex& exam) const;
    // The bytes of the file a JSON string names, relative to the JSON file; its absolute path.
    QByteArray readPicture(const JsonSource& at, QString& absolutePath) const;

    const Clock& clock_;
    RandomSource& random_;
    PictureReader readPictureFile_;
    QDir base_;
    // Where each question key came from, for duplicate complaints.
    QHash<QString, QString> keyPaths_;
};

} // namespace kp::tools
