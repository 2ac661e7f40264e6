#include "pitch/ImageOps.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace pitch {

void CopyPicture(QImage& target, const QImage& source) {
    const int rows = std::min(target.height(), source.height());
    if (rows <= 0)
        return;
    const qsizetype bpl = target.bytesPerLine();
    if (bpl == source.bytesPerLine() && target.format() == source.format()) {
        std::memcpy(target.bits(), source.constBits(), static_cast<size_t>(bpl) * rows);
        return;
    }
    const int width = std::min(target.width(), source.width());
    const QImage converted =
        source.format() == target.format() ? source : source.convertToFormat(target.format());
    const size_t bytes = static_cast<size_t>(width) * 4;
    for (int y = 0; y < rows; ++y)
        std::memcpy(target.scanLine(y), converted.constScanLine(y), bytes);
}

void DrawSprite(QPainter& painter, const TSprite& sprite, int x, int y) {
    if (!sprite.Image.isNull())
        painter.drawImage(x + sprite.Origin.x(), y + sprite.Origin.y(), sprite.Image);
}

QFontMetrics ImageMetrics(const QFont& font) {
    static const QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    return QFontMetrics(font, &probe);
}

void DrawDottedFrame(QImage& target, int left, int top, int right, int bottom, QRgb colour) {
    const int width = target.width();
    const int height = target.height();
    if (width <= 0 || height <= 0)
        return;
    QRgb* const bits = reinterpret_cast<QRgb*>(target.bits());
    const qsizetype stride = target.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    auto plot = [&](int x, int y) {
        if (((x + y) & 1) == 0 && x >= 0 && y >= 0 && x < width && y < height)
            bits[y * stride + x] = colour | 0xff000000u;
    };
    for (int x = left; x <= right; ++x) {
        plot(x, top);
        plot(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        plot(left, y);
        plot(right, y);
    }
}

} // namespace pitch
