#include "widgets/MarkBoxAccessible.h"

#include "widgets/MarkBox.h"

#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

QAccessibleInterface* markBoxFactory(const QString& className, QObject* object) {
    if (className == u"kp::MarkBox"_s && object && object->isWidgetType())
        return new MarkBoxAccessible(static_cast<MarkBox*>(object));
    return nullptr;
}

} // namespace

MarkBoxAccessible::MarkBoxAccessible(MarkBox* box)
    : QAccessibleWidget(box, QAccessible::CheckBox) {}

MarkBox* MarkBoxAccessible::box() const {
    return static_cast<MarkBox*>(widget());
}

QAccessible::State MarkBoxAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = box()->isMarked();
    return s;
}

QStringList MarkBoxAccessible::actionNames() const {
    return {toggleAction(), pressAction()};
}

void MarkBoxAccessible::doAction(const QString& actionName) {
    if (actionName != toggleAction() && actionName != pressAction())
        return;
    // Later, from the event loop, as a click arrives: the handler may show a message, and the
    // request that asked for the action must not wait for the student to close it.
    QPointer<MarkBox> target = box();
    QTimer::singleShot(0, target, [target] {
        if (target && target->isEnabled() && !target->isHidden())
            target->activate();
    });
}

QStringList MarkBoxAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == toggleAction() || actionName == pressAction())
        return {u"Space"_s};
    return {};
}

void installMarkBoxAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(markBoxFactory);
        return true;
    }();
    (void)installed;
}

} // namespace kp
