#pragma once

#include <QProxyStyle>

// The application's style for a tab strip, with the tab under the mouse
// tinted in the selection colour: not every style marks it.
class THoverTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
