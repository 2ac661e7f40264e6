#pragma once

#include <QWidget>

class QImage;

// The pitch view control: shows the renderer's picture and reports the mouse
// with button and position in its own pixels. While a button is held the
// control keeps the mouse (Qt's implicit grab), so positions may lie outside
// it; moves without a button held are not reported, since nothing uses them.
// Positions are logical pixels at any display scaling.
class TPitchImage : public QWidget {
    Q_OBJECT
public:
    explicit TPitchImage(QWidget* parent = nullptr);

    // The picture to show; owned elsewhere, nullptr shows nothing.
    void SetPicture(const QImage* picture);

signals:
    // The screen's device pixel ratio differs from the picture's (first
    // shown, moved to another screen, scaling changed): the picture is to be
    // drawn again at it before this paint shows it.
    void pixelRatioWanted(qreal ratio);
    void mouseDown(Qt::MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QImage* Picture = nullptr;
};
