#include "editor/HoverTabStyle.h"

#include <QPainter>
#include <QStyleOptionTab>

void THoverTabStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_TabBarTabShape || !(option->state & State_MouseOver) ||
        !(option->state & State_Enabled))
        return;
    QColor tint = option->palette.color(QPalette::Highlight);
    tint.setAlpha(70);
    // Inside the tab's outline, which stays as the style drew it.
    painter->fillRect(option->rect.adjusted(2, 2, -2, -1), tint);
}
