#pragma once

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <gtest/gtest.h>

namespace kp::test {

// Finds a window's controls by objectName, the way tests reach them.
class WindowControls {
public:
    explicit WindowControls(const QWidget* window = nullptr) : window_(window) {}
    void setWindow(const QWidget* window) { window_ = window; }

    // The control of that name; the test fails when there is none.
    template <typename T = QWidget> T* control(const QString& name) const {
        T* found = window_ ? window_->findChild<T*>(name) : nullptr;
        EXPECT_NE(found, nullptr) << "no control named " << name.toStdString();
        return found;
    }
    QPushButton* button(const char* name) const {
        return control<QPushButton>(QLatin1String(name));
    }
    QLabel* label(const char* name) const { return control<QLabel>(QLatin1String(name)); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(QLatin1String(name)); }
    QAction* action(const char* name) const { return control<QAction>(QLatin1String(name)); }
    QWidget* widget(const char* name) const { return control<QWidget>(QLatin1String(name)); }
    QScrollBar* scroll() const { return control<QScrollBar>(QStringLiteral("Scroll")); }
    // Data field i (1..5) and its label.
    QLineEdit* dato(int i) const { return control<QLineEdit>(QStringLiteral("dato%1Txt").arg(i)); }
    QLabel* datoLabel(int i) const { return control<QLabel>(QStringLiteral("dato%1Lab").arg(i)); }
    // Element j of an answer-row array ("boton_sin", "RespuestaTxt", ...); null when row j is
    // not loaded.
    template <typename T = QWidget> T* rowControl(const char* array, int j) const {
        return window_ ? window_->findChild<T*>(
                             QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(j))
                       : nullptr;
    }

private:
    const QWidget* window_;
};

} // namespace kp::test
