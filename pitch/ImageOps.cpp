#include "ImageOps.h"

#include <algorithm>
#include <cstring>

namespace pitch {
namespace {

// Source-over for premultiplied pixels, rounded like Qt's own blend.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

inline uint32_t SourceOver(uint32_t src, uint32_t dst) {
    return src + ByteMul(dst, 255 - (src >> 24));
}

void AddRuns(std::vector<TSpan>& out, const QImage& image, int row, bool opaque) {
    const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(row));
    const int w = image.width();
    int x = 0;
    while (x < w) {
        auto wanted = [&](uint32_t p) {
            const uint32_t a = p >> 24;
            return opaque ? a == 255 : (a != 0 && a != 255);
        };
        while (x < w && !wanted(line[x]))
            ++x;
        const int start = x;
        while (x < w && wanted(line[x]))
            ++x;
        if (x > start)
            out.push_back({row, start, x - start});
    }
}

} // namespace

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

void FindSpans(TSprite& sprite) {
    sprite.Opaque.clear();
    sprite.Blend.clear();
    for (int y = 0; y < sprite.Image.height(); ++y) {
        AddRuns(sprite.Opaque, sprite.Image, y, true);
        AddRuns(sprite.Blend, sprite.Image, y, false);
    }
}

void Blit(QImage& target, const TSprite& sprite, int x, int y) {
    const int ox = x + sprite.Origin.x();
    const int oy = y + sprite.Origin.y();
    const int w = target.width();
    const int h = target.height();
    if (ox >= w || oy >= h || ox + sprite.Image.width() <= 0 || oy + sprite.Image.height() <= 0)
        return;
    auto clip = [&](const TSpan& s, int& tx, int& sx, int& n) {
        const int ty = oy + s.Row;
        if (ty < 0 || ty >= h)
            return false;
        tx = ox + s.Left;
        sx = s.Left;
        n = s.Length;
        if (tx < 0) {
            sx -= tx;
            n += tx;
            tx = 0;
        }
        n = std::min(n, w - tx);
        return n > 0;
    };
    int tx = 0, sx = 0, n = 0;
    for (const TSpan& s : sprite.Opaque) {
        if (!clip(s, tx, sx, n))
            continue;
        auto* dst = reinterpret_cast<uint32_t*>(target.scanLine(oy + s.Row)) + tx;
        const auto* src = reinterpret_cast<const uint32_t*>(sprite.Image.constScanLine(s.Row)) + sx;
        std::memcpy(dst, src, static_cast<size_t>(n) * 4);
    }
    for (const TSpan& s : sprite.Blend) {
        if (!clip(s, tx, sx, n))
            continue;
        auto* dst = reinterpret_cast<uint32_t*>(target.scanLine(oy + s.Row)) + tx;
        const auto* src = reinterpret_cast<const uint32_t*>(sprite.Image.constScanLine(s.Row)) + sx;
        for (int i = 0; i < n; ++i)
            dst[i] = SourceOver(src[i], dst[i]) | 0xff000000u;
    }
}

QFontMetrics ImageMetrics(const QFont& font) {
    static const QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    return QFontMetrics(font, &probe);
}

void DrawDottedFrame(QImage& target, int left, int top, int right, int bottom, QRgb colour) {
    auto plot = [&](int x, int y) {
        if (((x + y) & 1) == 0 && x >= 0 && y >= 0 && x < target.width() && y < target.height())
            reinterpret_cast<QRgb*>(target.scanLine(y))[x] = colour | 0xff000000u;
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
