#pragma once

#include "format/ExamReader.h"

#include <QByteArray>
#include <functional>

namespace kp {
class KipsaPrubex;
}

namespace kp::tools {

class JsonWriter;

// Writes an exam as `kxt info` prints it while ExamReader reads the file: the settings once the
// header is read, then each question and each series as it comes, so no more than one
// question is held at a time. Other tools read this shape: change it only by adding members.
// Members are in key order; texts are exactly as loaded (untrimmed); pictures are given by
// size and SHA-256; collections keep their order.
class ExamJsonWriter : public ExamReader::Receiver {
public:
    // exam is the one ExamReader fills with the settings.
    ExamJsonWriter(const KipsaPrubex& exam, JsonWriter& json) : exam_(exam), json_(json) {}

    void headerRead(qint16 questions, qint16 series) override;
    void question(std::shared_ptr<Pregunta> p) override;
    void series(const Serie& s) override;
    // Ends the object once the whole file has been read.
    void finish();

    // A picture's size and SHA-256 (hexadecimal). By default taken from the bytes the reader
    // gave; a reader that skips the pictures gives them from elsewhere.
    struct Picture {
        qint64 size;
        QByteArray sha256;
    };
    using PictureFacts = std::function<Picture(const QByteArray& bytes)>;
    void setPictureFacts(PictureFacts facts) { pictureFacts_ = std::move(facts); }

private:
    void betweenQuestionsAndSeries();
    void picture(QStringView name, const QByteArray& bytes);

    const KipsaPrubex& exam_;
    JsonWriter& json_;
    bool seriesStarted_ = false;
    PictureFacts pictureFacts_;
};

} // namespace kp::tools
