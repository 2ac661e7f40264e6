#pragma once

#include "ImageOps.h"

#include <QFont>

#include <compare>
#include <map>
#include <string>

namespace pitch {

// Transparent text lines drawn once per (text, height, style), anchored at
// the top-left corner of their text cell, for the credits that are drawn 20
// times a second.
class TTextCache {
public:
    struct TKey {
        std::string Text; // UTF-8
        int PixelHeight = 0;
        bool Bold = false;
        QRgb Colour = 0;
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

} // namespace pitch
