#include "widgets/ImageBox.h"

#include <QMouseEvent>
#include <QPixmap>

namespace kp {

ImageBox::ImageBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ImageBox::setPicture(const QImage& picture) {
    picture_ = picture;
    setPixmap(QPixmap::fromImage(picture_));
}

void ImageBox::setStretch(bool on) {
    stretch_ = on;
    setScaledContents(on);
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace kp
