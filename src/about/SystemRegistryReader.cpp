#include "about/SystemRegistryReader.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kp {

#ifdef Q_OS_WIN

bool SystemRegistryReader::queryValue(quint32 root, const QString& keyName,
                                      const QString& valueName, quint32& type,
                                      QByteArray& data) const {
    // Predefined roots are negative 32-bit handles, widened with their sign.
    const HKEY rootKey = reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
    HKEY key = nullptr;
    const QByteArray name = keyName.toLocal8Bit();
    if (RegOpenKeyExA(rootKey, name.constData(), 0, 0x2003F, &key) != ERROR_SUCCESS) {
        if (key)
            RegCloseKey(key);
        return false;
    }
    QByteArray buffer(ValueBufferSize, '\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD valueType = 0;
    const QByteArray value = valueName.toLocal8Bit();
    const LONG rc = RegQueryValueExA(key, value.constData(), nullptr, &valueType,
                                     reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || size > static_cast<DWORD>(buffer.size()))
        return false;
    buffer.truncate(static_cast<qsizetype>(size));
    type = static_cast<quint32>(valueType);
    data = buffer;
    return true;
}

#else

bool SystemRegistryReader::queryValue(quint32, const QString&, const QString&, quint32&,
                                      QByteArray&) const {
    return false;
}

#endif

} // namespace kp
