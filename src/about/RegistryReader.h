#pragma once

#include <QByteArray>
#include <QString>

namespace kp {

// Reading values of the system registry, as the About window needs them to find the
// system-information tool. The lookup itself is the platform's (queryValue); turning the raw
// value into text is common and lives here, so it can be checked with a fake registry.
class RegistryReader {
public:
    static constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002;
    static constexpr quint32 REG_SZ = 1;
    static constexpr quint32 REG_DWORD = 4;
    // Size of the buffer a value is read into; a longer value is not read.
    static constexpr qsizetype ValueBufferSize = 1024;

    virtual ~RegistryReader() = default;

    // Reads the value SubKeyRef of the key KeyName under KeyRoot. On success KeyVal holds the
    // value as text (text values as stored, double words as their number) and the result is
    // true; a value of another type leaves KeyVal as it was. On failure KeyVal is emptied.
    bool GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal) const;

    // The double-word conversion: the bytes from last to first, each as hexadecimal without
    // leading zeros, read back as a hexadecimal number (four digits or fewer as a 16-bit value,
    // more as a 32-bit one). False when the digits do not make such a number.
    static bool dwordText(const QByteArray& data, QString& text);

protected:
    // The raw lookup: the value's type and its bytes as the registry returns them (a text
    // value with its terminating NUL). False when the key or the value cannot be read.
    virtual bool queryValue(quint32 root, const QString& keyName, const QString& valueName,
                            quint32& type, QByteArray& data) const = 0;
};

} // namespace kp
