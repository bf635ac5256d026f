#include "app/AtSpiGuard.h"

#include "app/AtSpiProperties.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

const QString PropertiesInterface = u"org.freedesktop.DBus.Properties"_s;
// How often, 100 ms apart, the guard looks for the bridge's objects once accessibility is on.
constexpr int InstallTries = 50;

QString connectionName() {
    return QString::fromUtf16(AtSpiGuard::ConnectionName);
}

QString objectsPath() {
    return QString::fromUtf16(AtSpiGuard::ObjectsPath);
}

} // namespace

AtSpiGuard::AtSpiGuard(QObject* parent) : QDBusVirtualObject(parent) {
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive())
        install(InstallTries);
}

AtSpiGuard::~AtSpiGuard() {
    QAccessible::removeActivationObserver(this);
    if (!bridge_)
        return;
    // The bridge answers alone again for whatever is left of the program.
    QDBusConnection bus(connectionName());
    bus.unregisterObject(objectsPath());
    bus.registerVirtualObject(objectsPath(), bridge_, QDBusConnection::SubPath);
}

void AtSpiGuard::accessibilityActiveChanged(bool active) {
    if (active && !bridge_)
        // The bridge registers its objects right after telling that it is active.
        QTimer::singleShot(0, this, [this] { install(InstallTries); });
}

void AtSpiGuard::install(int triesLeft) {
    if (bridge_)
        return;
    QDBusConnection bus(connectionName());
    auto* registered =
        bus.isConnected() ? qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(objectsPath()))
                          : nullptr;
    if (registered && registered != this) {
        bus.unregisterObject(objectsPath());
        if (bus.registerVirtualObject(objectsPath(), this, QDBusConnection::SubPath)) {
            bridge_ = registered;
            return;
        }
        bus.registerVirtualObject(objectsPath(), registered, QDBusConnection::SubPath);
    }
    if (triesLeft > 1)
        QTimer::singleShot(100, this, [this, triesLeft] { install(triesLeft - 1); });
}

bool AtSpiGuard::needsGuard(const QDBusMessage& message) {
    if (message.type() != QDBusMessage::MethodCallMessage ||
        message.interface() != PropertiesInterface)
        return false;
    const qsizetype given = message.arguments().size();
    const QString member = message.member();
    if (member == u"Get"_s)
        return given < 2;
    if (member == u"Set"_s)
        return given < 3;
    return true; // GetAll, and anything else asked of that interface
}

bool AtSpiGuard::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (needsGuard(message)) {
        try {
            return answer(message, connection);
        } catch (...) {
            connection.send(message.createErrorReply(QDBusError::Failed, QString()));
            return true;
        }
    }
    return bridge_ && bridge_->handleMessage(message, connection);
}

bool AtSpiGuard::answer(const QDBusMessage& message, const QDBusConnection& connection) {
    const QVariantList args = message.arguments();
    const bool getAll = message.member() == u"GetAll"_s && args.size() == 1 &&
                        args[0].metaType() == QMetaType::fromType<QString>();
    if (!getAll) {
        connection.send(message.createErrorReply(
            QDBusError::InvalidArgs, u"Faltan argumentos en la petición de propiedades"_s));
        return true;
    }
    const auto properties =
        AtSpiProperties::all(message.path(), args[0].toString(), connection.baseService());
    if (!properties) {
        connection.send(message.createErrorReply(QDBusError::UnknownObject, message.path()));
        return true;
    }
    connection.send(message.createReply(QVariant::fromValue(*properties)));
    return true;
}

QString AtSpiGuard::introspect(const QString& path) const {
    return bridge_ ? bridge_->introspect(path) : QString();
}

} // namespace kp
