#pragma once

#include <QObject>
#include <functional>

class QEventLoop;
class QWidget;
class QWindow;

namespace kp {

// Lays out a window just shown maximised once it has its final size: on screen and filling
// the screen's available area, frame included. Without a window manager nobody maximises the
// window (and it gets no frame): then it is given that area here. Everything is driven by the
// window's resize and expose events, in an event loop of its own; the time limit only guards
// against a window manager that never maximises.
//
// The layout runs inside the event that brings the final size, after the widgets have taken
// that size and before anything is painted, so the first picture on screen is the laid-out
// window.
class FinalSizeWait : public QObject {
    Q_OBJECT
public:
    explicit FinalSizeWait(QWidget& window);

    // Waits for the final size and runs layOut then; when the limit passes first (or the window
    // has no platform window), runs layOut on whatever size the window has. True when the
    // final size came.
    bool layOutWhenSized(int limitMs, const std::function<void()>& layOut);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs the layout when the window fills the available area; gives it that area first when
    // no frame shows that a window manager is at work.
    void check();

    QWidget& window_;
    QWindow* handle_ = nullptr;
    QEventLoop* loop_ = nullptr;
    std::function<void()> layOut_;
    bool sized_ = false;
    bool areaGiven_ = false;
};

} // namespace kp
