#include "editor/ScreenCentring.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

TScreenCentring::TScreenCentring(QWidget& window)
    : QObject(&window)
    , Window(window) {
    window.installEventFilter(this);
    Centre();
}

bool TScreenCentring::eventFilter(QObject* watched, QEvent* event) {
    // A window manager frames the window after it is shown.
    const bool placed =
        event->type() == QEvent::Show || (event->type() == QEvent::Move && Window.isVisible());
    if (watched == &Window && placed && Window.frameGeometry().size() != CentredFrame)
        Centre();
    return QObject::eventFilter(watched, event);
}

void TScreenCentring::Centre() {
    const QScreen* screen = Window.screen();
    if (!screen)
        return;
    // move() places the frame; until it is known, it is the client area alone.
    CentredFrame = Window.frameGeometry().size();
    const QRect area = screen->availableGeometry();
    Window.move(area.center() -
                QPoint((CentredFrame.width() - 1) / 2, (CentredFrame.height() - 1) / 2));
}
