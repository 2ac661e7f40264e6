#include "DiscCache.h"

#include <QFontMetrics>

namespace pitch {
namespace {

QRect LabelCell(const QFontMetrics& fm, int x, int y, const TDiscLook& look, const QString& text) {
    return {x + look.LabelDx, y + LabelDy, fm.horizontalAdvance(text), fm.height()};
}

} // namespace

void PaintDisc(QPainter& painter, int x, int y, const TDiscLook& look) {
    const QColor fill = QColor::fromRgb(look.Fill);
    const QColor line = QColor::fromRgb(look.Line);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(line, look.PenWidth, Qt::SolidLine));
    painter.setBrush(fill);
    painter.drawEllipse(QRect(x - DiscHalfBox, y - DiscHalfBox, 2 * DiscHalfBox, 2 * DiscHalfBox));

    const QString text = QString::fromStdString(look.Text);
    if (text.isEmpty())
        return;
    const QFontMetrics fm = painter.fontMetrics();
    const QRect cell = LabelCell(fm, x, y, look, text);
    painter.fillRect(cell, fill);
    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    painter.setPen(line);
    painter.drawText(cell.left(), cell.top() + fm.ascent(), text);
    painter.restore();
}

const TSprite& TDiscCache::Get(const TDiscLook& look, const QFont& font) {
    auto found = Sprites.find(look);
    if (found != Sprites.end())
        return found->second;

    // The ellipse with a 2-pixel pen reaches one pixel past its box; one more for safety.
    QRect bounds(-DiscHalfBox - 2, -DiscHalfBox - 2, 2 * DiscHalfBox + 5, 2 * DiscHalfBox + 5);
    const QString text = QString::fromStdString(look.Text);
    if (!text.isEmpty()) {
        bounds |= LabelCell(ImageMetrics(font), 0, 0, look, text);
    }

    TSprite sprite;
    sprite.Origin = bounds.topLeft();
    sprite.Image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    sprite.Image.fill(Qt::transparent);
    {
        QPainter p(&sprite.Image);
        p.setFont(font);
        PaintDisc(p, -bounds.left(), -bounds.top(), look);
    }
    return Sprites.emplace(look, std::move(sprite)).first->second;
}

} // namespace pitch
