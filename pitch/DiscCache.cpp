#include "pitch/DiscCache.h"

#include "pitch/TextCache.h"

#include <QFontMetrics>

namespace pitch {
namespace {

QRect LabelCell(const QFontMetrics& fm, int x, int y, const TDiscLook& look, const QString& text) {
    return CellOf(fm, x + look.LabelDx, y + LabelDy, text);
}

} // namespace

void PaintDisc(QPainter& painter, int x, int y, const TDiscLook& look) {
    // Pixel for pixel at 100 %; scaled (a high-density screen, a page) the
    // outline is smoothed instead of showing enlarged steps.
    painter.setRenderHint(QPainter::Antialiasing,
                          painter.deviceTransform().type() > QTransform::TxTranslate);
    painter.setPen(
        QPen(QColor::fromRgb(look.Line), look.PenWidth, look.Dotted ? Qt::DotLine : Qt::SolidLine));
    if (look.Filled)
        painter.setBrush(QColor::fromRgb(look.Fill));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRect(x - DiscHalfBox, y - DiscHalfBox, 2 * DiscHalfBox, 2 * DiscHalfBox));
    PaintCellText(painter, x + look.LabelDx, y + LabelDy, QString::fromStdString(look.Text),
                  look.Line, look.Fill);
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
