#include "pages/FittedText.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolTip>

namespace pages {

namespace {

// The smallest size still easy to read, in either language.
constexpr int SmallestPixelSize = 10;

// Whether every text fits the room's width, and its glyphs its height with
// a pixel to spare above and below.
bool Fits(const QFont& font, const QStringList& texts, QSize room) {
    const QFontMetrics metrics(font);
    for (const QString& text : texts)
        if (metrics.horizontalAdvance(text) > room.width() ||
            metrics.tightBoundingRect(text).height() > room.height() - 2)
            return false;
    return true;
}

} // namespace

QFont FittingFont(const QFont& font, const QStringList& texts, QSize room) {
    if (Fits(font, texts, room))
        return font;
    // Pixel by pixel: a point is too coarse a step in a control ten pixels high.
    QFont fitted = font;
    for (int size = QFontInfo(font).pixelSize() - 1; size >= SmallestPixelSize; --size) {
        fitted.setPixelSize(size);
        if (Fits(fitted, texts, room))
            break;
    }
    return fitted;
}

void TFittedCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QStyleOptionButton box = option;
    // One pixel clear above and below, so that the box's outline shows whole.
    const int side =
        qMin(style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this), height() - 2);
    box.rect = QRect(1, (height() - side) / 2, side, side);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

    QStyleOptionButton label = option;
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    label.rect = rect().adjusted(1 + side + spacing, 0, 0, 0);
    const QFont font = FittingFont(this->font(), {text()}, label.rect.size());
    label.fontMetrics = QFontMetrics(font);
    // The style would centre the line, whose spacing may be taller than the
    // room; a rectangle just one line high, placed so, centres the glyphs.
    const QRect ink = label.fontMetrics.tightBoundingRect(text());
    const int inkTop = (height() - ink.height()) / 2;
    label.rect.setTop(inkTop - ink.top() - label.fontMetrics.ascent());
    label.rect.setHeight(label.fontMetrics.height());
    painter.setFont(font);
    painter.drawControl(QStyle::CE_CheckBoxLabel, label);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = label.rect;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool TElidedLabel::Elided() const {
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

bool TElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        // The whole text as the hint, only while it is cut short.
        if (Elided())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void TElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
    style()->drawItemText(&painter, room, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}

} // namespace pages
