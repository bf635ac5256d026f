#pragma once

#include "about/RegistryReader.h"

namespace kp {

// The registry of the machine: real lookups on Windows; elsewhere there is no registry and
// every lookup finds nothing.
class SystemRegistryReader final : public RegistryReader {
protected:
    bool queryValue(quint32 root, const QString& keyName, const QString& valueName, quint32& type,
                    QByteArray& data) const override;
};

} // namespace kp
