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
    // A picture's size and SHA-256 (hexadecimal).
    struct Picture {
        qint64 size;
        QByteArray sha256;
    };
    // The facts of the picture member about to be written: the reader skips the pictures, so
    // they come from elsewhere (an empty picture when the record just read had none).
    using PictureFacts = std::function<Picture()>;

    // exam is the one ExamReader fills with the settings.
    ExamJsonWriter(const KipsaPrubex& exam, JsonWriter& json, PictureFacts pictureFacts)
        : exam_(exam), json_(json), pictureFacts_(std::move(pictureFacts)) {}

    void headerRead(qint16 questions, qint16 series) override;
    void question(std::shared_ptr<Pregunta> p) override;
    void series(const Serie& s) override;
    // Ends the object once the whole file has been read.
    void finish();

private:
    void betweenQuestionsAndSeries();
    void picture(QStringView name);

    const KipsaPrubex& exam_;
    JsonWriter& json_;
    bool seriesStarted_ = false;
    const PictureFacts pictureFacts_;
};

} // namespace kp::tools
