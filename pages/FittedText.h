#pragma once

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QSize>
#include <QStringList>

namespace pages {

// The largest size of `font`, at most its own, in which every text fits into
// `room`: its whole width, and its glyphs' height with a pixel to spare
// above and below.
QFont FittingFont(const QFont& font, const QStringList& texts, QSize room);

// A check box whose place is fixed however small it is: its box is drawn
// whole at the control's height, and its text in a font that fits beside it.
class TFittedCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label no wider than its maximum width: a longer text is shown cut short
// in the middle, so that its end stays visible, and whole in its hint unless
// the label has a hint of its own. text() stays the whole text.
class TElidedLabel : public QLabel {
public:
    using QLabel::QLabel;

    bool Elided() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pages
