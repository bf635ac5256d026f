#include "tools/JsonWriter.h"

#include <QIODevice>
#include <QLocale>
#include <QTextStream>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kp::tools {

namespace {

constexpr qsizetype kPiece = 64 * 1024;

char hexDigit(unsigned v) {
    return static_cast<char>(v < 10 ? '0' + v : 'a' + v - 10);
}

// The escape of a quote, a backslash or a control character, written at out; the end of it.
char* escapedAscii(char16_t u, char* out) {
    *out++ = '\\';
    switch (u) {
    case '"':
        *out++ = '"';
        break;
    case '\\':
        *out++ = '\\';
        break;
    case '\b':
        *out++ = 'b';
        break;
    case '\f':
        *out++ = 'f';
        break;
    case '\n':
        *out++ = 'n';
        break;
    case '\r':
        *out++ = 'r';
        break;
    case '\t':
        *out++ = 't';
        break;
    default:
        *out++ = 'u';
        *out++ = '0';
        *out++ = '0';
        *out++ = hexDigit(u >> 4);
        *out++ = hexDigit(u & 0xf);
    }
    return out;
}

} // namespace

double shortestFloat(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

JsonWriter::JsonWriter(QTextStream& out) {
    if (QIODevice* device = out.device()) {
        out.flush();
        output_ = [device](QByteArrayView piece) { device->write(piece.data(), piece.size()); };
    } else {
        output_ = [&out](QByteArrayView piece) { out << QString::fromUtf8(piece); };
    }
}

void JsonWriter::flush() {
    if (buffer_.isEmpty())
        return;
    output_(buffer_);
    buffer_.truncate(0); // keeps the storage
}

// Before a value: the separator and indentation of an array element; nothing after a key.
void JsonWriter::beginValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty())
        return;
    Level& level = levels_.back();
    buffer_ += level.empty ? "" : ",\n";
    level.empty = false;
    buffer_.append(4 * static_cast<qsizetype>(levels_.size()), ' ');
}

void JsonWriter::valueWritten() {
    if (levels_.empty())
        buffer_ += '\n';
    if (buffer_.size() >= kPiece)
        flush();
}

void JsonWriter::open(char bracket) {
    beginValue();
    buffer_ += bracket;
    buffer_ += '\n';
    levels_.push_back(Level{});
}

void JsonWriter::close(char bracket) {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        buffer_ += '\n';
    buffer_.append(4 * static_cast<qsizetype>(levels_.size()), ' ');
    buffer_ += bracket;
    valueWritten();
}

void JsonWriter::beginObject() {
    open('{');
}

void JsonWriter::endObject() {
    close('}');
}

void JsonWriter::beginArray() {
    open('[');
}

void JsonWriter::endArray() {
    close(']');
}

void JsonWriter::key(QStringView name) {
    beginValue();
    buffer_ += '"';
    escaped(name);
    buffer_ += "\": ";
    afterKey_ = true;
}

void JsonWriter::string(QStringView text) {
    beginValue();
    buffer_ += '"';
    escaped(text);
    buffer_ += '"';
    valueWritten();
}

void JsonWriter::integer(qint64 n) {
    beginValue();
    buffer_ += QByteArray::number(n);
    valueWritten();
}

void JsonWriter::boolean(bool b) {
    beginValue();
    buffer_ += b ? "true" : "false";
    valueWritten();
}

void JsonWriter::number(double d) {
    beginValue();
    if (std::isfinite(d))
        buffer_ += QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    else
        buffer_ += "null";
    valueWritten();
}

// UTF-8 with JSON's escapes, as Qt writes them: \" \\ \b \f \n \r \t, \u00xx for the other
// control characters, and \uxxxx for a surrogate without its pair.
void JsonWriter::escaped(QStringView text) {
    // A long text goes in pieces, each cut between whole characters, so that the buffer stays
    // small and every piece handed over is whole UTF-8.
    constexpr qsizetype kUnits = 8 * 1024;
    while (text.size() > kUnits) {
        qsizetype cut = kUnits;
        if (text[cut - 1].isHighSurrogate())
            --cut;
        escapedPiece(text.first(cut));
        text = text.sliced(cut);
        if (buffer_.size() >= kPiece)
            flush();
    }
    escapedPiece(text);
}

void JsonWriter::escapedPiece(QStringView text) {
    const qsizetype start = buffer_.size();
    buffer_.resize(start + 6 * text.size()); // the longest form of one UTF-16 unit
    char* out = buffer_.data() + start;
    const char16_t* s = text.utf16();
    const char16_t* const end = s + text.size();
    while (s != end) {
        const char16_t u = *s++;
        if (u < 0x80) {
            if (u >= 0x20 && u != '"' && u != '\\') {
                *out++ = static_cast<char>(u);
                continue;
            }
            out = escapedAscii(u, out);
        } else if (u < 0x800) {
            *out++ = static_cast<char>(0xc0 | (u >> 6));
            *out++ = static_cast<char>(0x80 | (u & 0x3f));
        } else if (u < 0xd800 || u > 0xdfff) {
            *out++ = static_cast<char>(0xe0 | (u >> 12));
            *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3f));
            *out++ = static_cast<char>(0x80 | (u & 0x3f));
        } else if (u < 0xdc00 && s != end && *s >= 0xdc00 && *s <= 0xdfff) {
            const char32_t c = 0x10000 + ((char32_t(u) - 0xd800) << 10) + (*s++ - 0xdc00);
            *out++ = static_cast<char>(0xf0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3f));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            *out++ = static_cast<char>(0x80 | (c & 0x3f));
        } else {
            *out++ = '\\';
            *out++ = 'u';
            for (int shift = 12; shift >= 0; shift -= 4)
                *out++ = hexDigit((u >> shift) & 0xf);
        }
    }
    buffer_.truncate(out - buffer_.constData());
}

} // namespace kp::tools
