#pragma once

#include <QAccessible>
#include <QDBusVirtualObject>
#include <QPointer>

namespace kp {

// Stands in front of Qt's AT-SPI bridge on the accessibility bus, so that no request of a
// screen reader or an inspector can end the exam. Qt 6.4's bridge reads the property name of
// every org.freedesktop.DBus.Properties request without checking that there is one, so a
// GetAll (which carries only the interface name) or a short Get made it read past the end of
// the request's arguments and crash. The guard answers those requests itself (GetAll with the
// properties it knows, a short request with an InvalidArgs error) and hands every other
// request to the bridge unchanged.
//
// The bridge registers its objects when an accessibility client turns accessibility on, at any
// time of the run; the guard takes their place as soon as that happens.
class AtSpiGuard : public QDBusVirtualObject, private QAccessible::ActivationObserver {
    Q_OBJECT
public:
    // The bridge's connection name and the path under which its objects live.
    static constexpr char16_t ConnectionName[] = u"a11y";
    static constexpr char16_t ObjectsPath[] = u"/org/a11y/atspi/accessible";

    explicit AtSpiGuard(QObject* parent = nullptr);
    ~AtSpiGuard() override;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

    // A Properties request the bridge would misread: fewer arguments than its method takes,
    // or a GetAll (which the bridge cannot answer at all).
    static bool needsGuard(const QDBusMessage& message);

private:
    void accessibilityActiveChanged(bool active) override;
    void install(int triesLeft);
    bool answer(const QDBusMessage& message, const QDBusConnection& connection);

    QPointer<QDBusVirtualObject> bridge_;
};

} // namespace kp
