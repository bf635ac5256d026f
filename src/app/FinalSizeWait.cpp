#include "app/FinalSizeWait.h"

#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kp {

FinalSizeWait::FinalSizeWait(QWidget& window) : window_(window) {}

bool FinalSizeWait::layOutWhenSized(int limitMs, const std::function<void()>& layOut) {
    handle_ = window_.windowHandle();
    layOut_ = layOut;
    if (handle_) {
        check();
        if (!sized_) {
            QEventLoop loop;
            loop_ = &loop;
            handle_->installEventFilter(this);
            QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
            loop.exec();
            handle_->removeEventFilter(this);
            loop_ = nullptr;
        }
    }
    if (!sized_)
        layOut();
    return sized_;
}

bool FinalSizeWait::eventFilter(QObject* watched, QEvent* event) {
    if (watched != handle_ || sized_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) {
        // The widgets take the new size first; the layout reads it from them.
        watched->event(event);
        check();
        return true;
    }
    if (event->type() == QEvent::Expose)
        check(); // before the exposure paints
    return QObject::eventFilter(watched, event);
}

void FinalSizeWait::check() {
    if (sized_ || !handle_->isExposed())
        return;
    const QScreen* screen = handle_->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // A frameless window is one no window manager looks after: nobody else will maximise it.
    if (area.isValid() && handle_->frameGeometry() != area && !areaGiven_ &&
        handle_->frameGeometry() == handle_->geometry()) {
        areaGiven_ = true;
        window_.setGeometry(area);
    }
    if (area.isValid() && handle_->frameGeometry() != area)
        return;
    sized_ = true;
    layOut_();
    if (loop_)
        loop_->quit();
}

} // namespace kp
