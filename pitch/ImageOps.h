#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QPoint>

class QPainter;

// Pixel work on the pitch view's 32-bit pictures, where QPainter would cost
// more than the work itself.
namespace pitch {

// Copies the top rows of source onto target at (0, 0), as far as both reach.
// Equal widths and formats make it one memcpy.
void CopyPicture(QImage& target, const QImage& source);

// A small premultiplied picture drawn once and then copied wherever it is
// needed, anchored at a point: Origin is where the image's (0, 0) lies
// relative to that point.
struct TSprite {
    QImage Image; // ARGB32_Premultiplied
    QPoint Origin;
};

// Draws the sprite with its anchor at (x, y).
void DrawSprite(QPainter& painter, const TSprite& sprite, int x, int y);

// Font metrics as a painter on one of our images sees them.
QFontMetrics ImageMetrics(const QFont& font);

// A dotted rectangle outline, every other pixel lit, corners included.
void DrawDottedFrame(QImage& target, int left, int top, int right, int bottom, QRgb colour);

} // namespace pitch
