#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// Keeps a fixed-size window centred on its screen with its frame: the frame
// is known only once the window is shown and, under a window manager,
// framed, so the window is centred again whenever its frame's size changes.
class TScreenCentring : public QObject {
public:
    explicit TScreenCentring(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Centre();

    QWidget& Window;
    // The size of the frame the window was last centred with.
    QSize CentredFrame;
};
