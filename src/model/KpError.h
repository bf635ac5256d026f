#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

namespace kp {

// A numbered failure raised by model operations to their caller. The numbers are fixed, so an
// examiner can tell failures apart.
class KpError : public std::runtime_error {
public:
    // Keyed collections.
    static constexpr int InvalidArgument = 5; // key not present
    static constexpr int OutOfRange = 9;      // position outside 1..Count
    static constexpr int DuplicateKey = 457;  // key already present
    // Files and field values.
    static constexpr int Overflow = 6;      // a number does not fit its type
    static constexpr int TypeMismatch = 13; // a field that must be a number is not one
    static constexpr int FileNotFound = 53;
    static constexpr int PastEnd = 62;    // a field or length reaches past the end
    static constexpr int FileAccess = 75; // cannot open, read, write or rename
    static constexpr int BadValue = 380;  // a value the file format cannot hold
    // Exam model.
    static constexpr int NewIdFailed = 10101;
    static constexpr int WriteQuestion = 10102;
    static constexpr int ReadQuestion = 10103;
    // Any failure that is not a KpError.
    static constexpr int Unknown = -1;

    KpError(int code, const QString& message)
        : std::runtime_error(message.toStdString()), code_(code), message_(message) {}

    int code() const noexcept { return code_; }
    const QString& message() const noexcept { return message_; }

    // The exception being handled as a KpError: itself, or Unknown with the text it carries.
    // Call only inside a catch block.
    static KpError fromCurrentException();
    // Runs a whole-file operation: true when it returns, false with *failure set when it throws
    // anything.
    static bool catchAll(const std::function<void()>& operation, KpError* failure);

private:
    int code_;
    QString message_;
};

} // namespace kp
