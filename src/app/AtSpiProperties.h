#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

class QAccessibleInterface;

namespace kp {

// Every property of one AT-SPI interface of one of the program's accessible objects, with the
// values Qt's bridge gives when each is asked for alone: the answer to a Properties.GetAll.
class AtSpiProperties {
public:
    // The object at an accessibility-bus path ("/org/a11y/atspi/accessible/root" for the
    // application, ".../<id>" for the others), or null when there is none.
    static QAccessibleInterface* objectAt(const QString& path);
    // The path of an object, as the bridge names it.
    static QString pathOf(QAccessibleInterface* object);

    // Name to value for the interface; empty for an interface without properties or one the
    // object lacks; nothing when the path names no object. busName is the program's own name
    // on the bus (object references carry it).
    static std::optional<QVariantMap> all(const QString& path, const QString& interface,
                                          const QString& busName);
};

} // namespace kp
