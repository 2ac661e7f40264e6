#include "pitch/TextCache.h"

#include <QFontMetrics>
#include <QPainter>

namespace pitch {
namespace {

// Keeps only the rows and columns that hold ink, so that drawing the line
// skips its empty part.
void Crop(TSprite& sprite) {
    const QImage& img = sprite.Image;
    int left = img.width(), right = -1, top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) {
        sprite.Image = QImage();
        return;
    }
    sprite.Image = img.copy(left, top, right - left + 1, bottom - top + 1);
    sprite.Origin += QPoint(left, top);
}

} // namespace

void PaintText(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

QRect CellOf(const QFontMetrics& metrics, int x, int y, const QString& text) {
    return {x, y, metrics.horizontalAdvance(text), metrics.height()};
}

void PaintCellText(QPainter& painter, int x, int y, const QString& text, QRgb colour,
                   std::optional<QRgb> background) {
    if (text.isEmpty())
        return;
    const QRect cell = CellOf(painter.fontMetrics(), x, y, text);
    if (background)
        painter.fillRect(cell, QColor::fromRgb(*background));
    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    painter.setPen(QColor::fromRgb(colour));
    PaintText(painter, x, y, text);
    painter.restore();
}

const TSprite& TTextCache::Get(const TKey& key, const QFont& font) {
    auto found = Lines.find(key);
    if (found != Lines.end())
        return found->second;

    TSprite sprite;
    const QString text = QString::fromStdString(key.Text);
    if (!text.isEmpty() && key.InCell) {
        const QRect cell = CellOf(ImageMetrics(font), 0, 0, text);
        sprite.Image = QImage(cell.size(), QImage::Format_ARGB32_Premultiplied);
        sprite.Image.fill(Qt::transparent);
        QPainter p(&sprite.Image);
        p.setFont(font);
        PaintCellText(p, 0, 0, text, key.Colour,
                      key.Opaque ? std::optional(key.Background) : std::nullopt);
    } else if (!text.isEmpty()) {
        const QFontMetrics fm = ImageMetrics(font);
        // Glyphs may overhang their cell (slanted letters, accents): leave room.
        const int margin = fm.height() / 2 + 2;
        const QRect ink = fm.boundingRect(text);
        const int width = std::max(fm.horizontalAdvance(text), ink.right() + 1) + 2 * margin;
        sprite.Image = QImage(width, fm.height() + 2 * margin, QImage::Format_ARGB32_Premultiplied);
        sprite.Image.fill(Qt::transparent);
        sprite.Origin = QPoint(-margin, -margin);
        {
            QPainter p(&sprite.Image);
            p.setFont(font);
            p.setPen(QColor::fromRgb(key.Colour));
            PaintText(p, margin, margin, text);
        }
        Crop(sprite);
    }
    return Lines.emplace(key, std::move(sprite)).first->second;
}

} // namespace pitch
