#pragma once

#include "pitch/ImageOps.h"

#include <QFont>

#include <compare>
#include <map>
#include <optional>
#include <string>

namespace pitch {

// Text lines drawn once per text, height, style and colours, anchored at the
// top-left corner of their text cell: the credits, drawn 20 times a second,
// and the texts of the drag preview, drawn at every mouse move.
class TTextCache {
public:
    struct TKey {
        std::string Text; // UTF-8
        int PixelHeight = 0;
        bool Bold = false;
        QRgb Colour = 0;
        // A cell text is clipped to its cell, on Background when Opaque;
        // otherwise the glyphs are drawn whole, on nothing.
        bool InCell = false;
        bool Opaque = false;
        QRgb Background = 0;
        auto operator<=>(const TKey&) const = default;
    };

    const TSprite& Get(const TKey& key, const QFont& font);
    void Clear() { Lines.clear(); }
    std::size_t Size() const { return Lines.size(); }

private:
    std::map<TKey, TSprite> Lines;
};

// Draws text with its cell's top-left corner at (x, y), without background.
void PaintText(QPainter& painter, int x, int y, const QString& text);

// The cell of a text whose top-left corner is at (x, y).
QRect CellOf(const QFontMetrics& metrics, int x, int y, const QString& text);

// Text clipped to its cell at (x, y), in the painter's font, on a background
// colour when one is given, as the labels of the pitch view are drawn.
void PaintCellText(QPainter& painter, int x, int y, const QString& text, QRgb colour,
                   std::optional<QRgb> background);

} // namespace pitch
