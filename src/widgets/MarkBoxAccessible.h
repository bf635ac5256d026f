#pragma once

#include <QAccessibleWidget>

namespace kp {

class MarkBox;

// What a screen reader is told about a mark box: a check box (checked when it is the ticked box
// of its row) whose one action does what a click does. The name and description are the box's
// own (the page names each box after its row).
class MarkBoxAccessible : public QAccessibleWidget {
public:
    explicit MarkBoxAccessible(MarkBox* box);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    MarkBox* box() const;
};

// Makes Qt describe every MarkBox through MarkBoxAccessible; once per program.
void installMarkBoxAccessibility();

} // namespace kp
