#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

// Raw pixel operations on 32-bit images (RGB32 and ARGB32_Premultiplied share
// one layout for opaque pixels), used where QPainter would cost more than the
// work itself.
namespace pitch {

// Copies the top rows of source onto target at (0, 0), as far as both reach.
// Equal widths and formats make it one memcpy.
void CopyPicture(QImage& target, const QImage& source);

// A run of pixels in one row of a sprite.
struct TSpan {
    int Row = 0;
    int Left = 0;
    int Length = 0;
};

// A small premultiplied image with the runs worth writing: opaque runs are
// copied, translucent ones blended (source over).
struct TSprite {
    QImage Image;              // ARGB32_Premultiplied
    QPoint Origin;             // where the image's (0, 0) lies relative to the anchor point
    std::vector<TSpan> Opaque; // alpha 255
    std::vector<TSpan> Blend;  // 0 < alpha < 255
};

// Splits a premultiplied image into runs of opaque and translucent pixels.
void FindSpans(TSprite& sprite);
// Draws the sprite with its anchor at (x, y), clipped to the target.
void Blit(QImage& target, const TSprite& sprite, int x, int y);

// Font metrics as a painter on one of our images sees them.
QFontMetrics ImageMetrics(const QFont& font);

// Yellow dotted rectangle outline, every other pixel lit, corners included.
void DrawDottedFrame(QImage& target, int left, int top, int right, int bottom, QRgb colour);

} // namespace pitch
