#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <functional>
#include <vector>

class QTextStream;

namespace kp::tools {

// A float as JSON shows it in its own shortest decimal form (0.1f as 0.1, not 0.100000001):
// the double whose shortest form is the float's.
double shortestFloat(float value);

// Writes JSON as it goes, laid out byte for byte as QJsonDocument::toJson(Indented) lays out
// the same values: four blanks per level, "key": value, members in the order written (callers
// write them in QJsonObject's order, sorted by key) and a line break after the outermost
// value. The UTF-8 text is handed to the output in pieces of about 64 KiB, each ending at a
// whole value.
class JsonWriter {
public:
    using Output = std::function<void(QByteArrayView)>;

    explicit JsonWriter(Output output) : output_(std::move(output)) {}
    // Into a text stream: straight to its device when it has one (stdout), else as text.
    explicit JsonWriter(QTextStream& out);
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;
    ~JsonWriter() { flush(); }

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next member of the object being written.
    void key(QStringView name);
    void string(QStringView text);
    void integer(qint64 n);
    void boolean(bool b);
    // A finite number in its shortest form ("10", "0.1"); null otherwise, as Qt writes it.
    void number(double d);

    // Hands over what is buffered.
    void flush();

private:
    void beginValue();
    void open(char bracket);
    void close(char bracket);
    void escaped(QStringView text);
    void escapedPiece(QStringView text);
    void valueWritten();

    struct Level {
        bool empty = true;
    };

    Output output_;
    QByteArray buffer_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

} // namespace kp::tools
