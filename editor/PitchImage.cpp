#include "editor/PitchImage.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

TPitchImage::TPitchImage(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPitchImage::SetPicture(const QImage* picture) {
    Picture = picture;
    update();
}

void TPitchImage::paintEvent(QPaintEvent*) {
    // Checked at every paint: a move to another screen repaints, and Qt 6.4
    // has no event of its own for a changed ratio.
    const qreal ratio = devicePixelRatioF();
    if (Picture && Picture->devicePixelRatio() != ratio)
        emit pixelRatioWanted(ratio);
    QPainter painter(this);
    if (Picture)
        painter.drawImage(0, 0, *Picture);
    else
        painter.fillRect(rect(), palette().window());
}

void TPitchImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseDown(event->button(), at.x(), at.y());
}

void TPitchImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMove(at.x(), at.y());
}

void TPitchImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseUp(event->button(), at.x(), at.y());
}
