#include "app/AtSpiProperties.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

const QString Prefix = u"/org/a11y/atspi/accessible/"_s;
const QString RootPath = u"/org/a11y/atspi/accessible/root"_s;
const QString NullPath = u"/org/a11y/atspi/null"_s;

// An object on the bus: (bus name, path), as AT-SPI writes references.
struct ObjectReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& out, const ObjectReference& r) {
    out.beginStructure();
    out << r.service << r.path;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, ObjectReference& r) {
    in.beginStructure();
    in >> r.service >> r.path;
    in.endStructure();
    return in;
}

} // namespace

} // namespace kp

Q_DECLARE_METATYPE(kp::ObjectReference)

namespace kp {

QAccessibleInterface* AtSpiProperties::objectAt(const QString& path) {
    if (path == RootPath)
        return QAccessible::queryAccessibleInterface(qApp);
    if (!path.startsWith(Prefix))
        return nullptr;
    bool ok = false;
    const uint id = path.mid(Prefix.size()).toUInt(&ok);
    QAccessibleInterface* object = ok ? QAccessible::accessibleInterface(id) : nullptr;
    return object && object->isValid() ? object : nullptr;
}

QString AtSpiProperties::pathOf(QAccessibleInterface* object) {
    if (!object)
        return NullPath;
    if (object->role() == QAccessible::Application)
        return RootPath;
    return Prefix + QString::number(QAccessible::uniqueId(object));
}

std::optional<QVariantMap> AtSpiProperties::all(const QString& path, const QString& interface,
                                                const QString& busName) {
    static const int registered = qDBusRegisterMetaType<ObjectReference>().id();
    (void)registered;
    QAccessibleInterface* object = objectAt(path);
    if (!object)
        return std::nullopt;
    QVariantMap p;
    const QString name = interface.section(u'.', -1);
    if (name == u"Accessible"_s) {
        p[u"Name"_s] = object->text(QAccessible::Name);
        p[u"Description"_s] = object->text(QAccessible::Description);
        p[u"Parent"_s] = QVariant::fromValue(
            ObjectReference{busName, QDBusObjectPath(pathOf(object->parent()))});
        p[u"ChildCount"_s] = object->childCount();
    } else if (name == u"Application"_s && object->role() == QAccessible::Application) {
        p[u"ToolkitName"_s] = u"Qt"_s;
        p[u"Version"_s] = QString::fromLatin1(qVersion());
    } else if (name == u"Action"_s && object->actionInterface()) {
        p[u"NActions"_s] = static_cast<int>(object->actionInterface()->actionNames().size());
    } else if (name == u"Text"_s && object->textInterface()) {
        p[u"CharacterCount"_s] = object->textInterface()->characterCount();
        p[u"CaretOffset"_s] = object->textInterface()->cursorPosition();
    } else if (name == u"Value"_s && object->valueInterface()) {
        const QAccessibleValueInterface& v = *object->valueInterface();
        p[u"CurrentValue"_s] = v.currentValue().toDouble();
        p[u"MinimumValue"_s] = v.minimumValue().toDouble();
        p[u"MaximumValue"_s] = v.maximumValue().toDouble();
        p[u"MinimumIncrement"_s] = v.minimumStepSize().toDouble();
    }
    return p;
}

} // namespace kp
