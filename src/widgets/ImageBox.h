#pragma once

#include <QImage>
#include <QLabel>

namespace kp {

// An image control: shows a picture at its own size, or stretched to the box when stretching is
// on, and reports clicks (the mark boxes react to them).
class ImageBox : public QLabel {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    void setStretch(bool on);
    bool stretch() const { return stretch_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool stretch_ = false;
};

} // namespace kp
