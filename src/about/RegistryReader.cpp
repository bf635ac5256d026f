#include "about/RegistryReader.h"

#include "format/Cp1252.h"

namespace kp {

bool RegistryReader::dwordText(const QByteArray& data, QString& text) {
    QString digits;
    for (qsizetype i = data.size() - 1; i >= 0; --i)
        digits += QString::number(static_cast<uchar>(data.at(i)), 16).toUpper();
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    bool ok = false;
    const quint32 value = digits.toUInt(&ok, 16);
    if (!ok)
        return false;
    // A hexadecimal literal of up to four digits is a 16-bit number: &hFFFF reads as -1.
    if (digits.size() <= 4)
        text = QString::number(static_cast<qint16>(static_cast<quint16>(value)));
    else
        text = QString::number(static_cast<qint32>(value));
    return true;
}

bool RegistryReader::GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                                 QString& KeyVal) const {
    quint32 type = 0;
    QByteArray data;
    bool found = false;
    try {
        found = queryValue(KeyRoot, KeyName, SubKeyRef, type, data);
    } catch (...) {
        found = false;
    }
    if (!found || data.size() > ValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (data.endsWith('\0'))
        data.chop(1);
    if (type == REG_SZ) {
        KeyVal = Cp1252::decode(data);
    } else if (type == REG_DWORD) {
        QString number;
        if (!dwordText(data, number)) {
            KeyVal.clear();
            return false;
        }
        KeyVal = number;
    }
    return true;
}

} // namespace kp
