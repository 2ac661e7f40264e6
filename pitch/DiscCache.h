#pragma once

#include "pitch/ImageOps.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

#include <compare>
#include <map>
#include <string>

namespace pitch {

// How one player disc looks: colours, outline width, label and where the
// label starts relative to the centre (-3, or -7 for players 9 and 10). The
// drag preview's disc is a dotted outline, filled or not, without a label.
struct TDiscLook {
    QRgb Fill = 0;
    QRgb Line = 0;
    int PenWidth = 1;
    int LabelDx = -3;
    bool Bold = false;
    std::string Text; // UTF-8
    bool Dotted = false;
    bool Filled = true;
    auto operator<=>(const TDiscLook&) const = default;
};

inline constexpr int DiscHalfBox = 11; // ellipse bounding box (x - 11, y - 11) .. (x + 11, y + 11)
inline constexpr int LabelDy = -7;

// Draws one disc with its label centred at (x, y) with the painter's current
// font: the outline in the line colour around a fill, then the label on an
// opaque background in the fill colour. The glyphs are clipped to their text
// cell, so every pixel drawn is opaque: that is what lets the cache copy
// pixels instead of blending them.
void PaintDisc(QPainter& painter, int x, int y, const TDiscLook& look);

// Discs drawn once per look into small premultiplied images, then copied
// onto the picture: at 100 % every pixel of such a disc is opaque or
// untouched, so the copy equals drawing the disc there; scaled, its smoothed
// edge is blended over the picture as drawing it there would be.
class TDiscCache {
public:
    // The sprite of a look, drawn with font on first use; its anchor is the
    // disc centre. Above a device pixel ratio of 1 it has that many pixels
    // per unit (and carries the ratio); the cache is to be cleared when the
    // ratio changes.
    const TSprite& Get(const TDiscLook& look, const QFont& font, qreal ratio = 1.0);
    void Clear() { Sprites.clear(); }
    std::size_t Size() const { return Sprites.size(); }

private:
    std::map<TDiscLook, TSprite> Sprites;
};

} // namespace pitch
