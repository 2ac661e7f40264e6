#include "pitch/PitchMap.h"
#include "pitch/PitchRenderer.h"

#include <QPainter>

#include <array>

namespace pitch {
namespace {

constexpr QRgb Grass = qRgb(0, 64, 0);
constexpr QRgb Stripe = qRgb(1, 57, 1);
constexpr QRgb Chalk = qRgb(60, 158, 60);
constexpr QRgb Net = qRgb(200, 214, 200);
constexpr QRgb BevelDark = qRgb(64, 64, 64);
constexpr QRgb BevelShadow = qRgb(128, 128, 128);
constexpr QRgb BevelLight = qRgb(192, 192, 192);
constexpr QRgb BevelHighlight = qRgb(255, 255, 255);

constexpr int Width = ViewWidth;
constexpr int Height = PictureHeight;
constexpr int Frame = 2;
constexpr int CentreX = 165;

void Plot(QImage& img, int x, int y, QRgb c) {
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        reinterpret_cast<QRgb*>(img.scanLine(y))[x] = c;
}

void HLine(QImage& img, int x0, int x1, int y, QRgb c) {
    for (int x = x0; x <= x1; ++x)
        Plot(img, x, y, c);
}

void VLine(QImage& img, int x, int y0, int y1, QRgb c) {
    for (int y = y0; y <= y1; ++y)
        Plot(img, x, y, c);
}

// Outline of a rectangle given by its inclusive corners.
void Box(QImage& img, int x0, int y0, int x1, int y1, QRgb c) {
    HLine(img, x0, x1, y0, c);
    HLine(img, x0, x1, y1, c);
    VLine(img, x0, y0, y1, c);
    VLine(img, x1, y0, y1, c);
}

// Midpoint circle, so that the pixels at distance r on both axes are lit
// and the drawing is exactly symmetric; keep() filters the arcs.
template <typename Keep>
void Circle(QImage& img, int cx, int cy, int r, QRgb c, Keep keep) {
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        const std::array<QPoint, 8> points{
            {{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}}};
        for (const QPoint& p : points)
            if (keep(cx + p.x(), cy + p.y()))
                Plot(img, cx + p.x(), cy + p.y(), c);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void Spot(QImage& img, int x, int y) {
    HLine(img, x - 1, x + 1, y, Chalk);
    VLine(img, x, y - 1, y + 1, Chalk);
}

void Grassland(QImage& img) {
    // Shade changes at these columns, the lighter one first.
    constexpr std::array<int, 8> edges{Frame, 47, 95, 141, 189, 235, 283, Width - Frame};
    QPainter p(&img);
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const QRect band(edges[i], Frame, edges[i + 1] - edges[i], Height - 2 * Frame);
        p.fillRect(band, QColor::fromRgb(i % 2 == 0 ? Grass : Stripe));
    }
}

// A sunken two-pixel bevel, like the frame of a picture set into a panel.
void Bevel(QImage& img) {
    const int r = Width - 1, b = Height - 1;
    HLine(img, 0, r, 0, BevelShadow);
    VLine(img, 0, 0, b, BevelShadow);
    HLine(img, 0, r, b, BevelHighlight);
    VLine(img, r, 0, b, BevelHighlight);
    HLine(img, 1, r - 1, 1, BevelDark);
    VLine(img, 1, 1, b - 1, BevelDark);
    HLine(img, 1, r - 1, b - 1, BevelLight);
    VLine(img, r - 1, 1, b - 1, BevelLight);
}

// One half of the pitch: goal, areas, spot and arc. dir is +1 for the top
// half (goal line at y = 8), -1 for the bottom one (y = 392).
void Half(QImage& img, int goalY, int dir) {
    const int penaltyY = goalY + dir * 72;
    const int goalAreaY = goalY + dir * 24;
    const int spotY = goalY + dir * 48;
    Box(img, 77, std::min(goalY, penaltyY), 253, std::max(goalY, penaltyY), Chalk);
    Box(img, 125, std::min(goalY, goalAreaY), 205, std::max(goalY, goalAreaY), Chalk);
    Spot(img, CentreX, spotY);
    Circle(img, CentreX, spotY, 39, Chalk,
           [&](int, int y) { return dir > 0 ? y > penaltyY : y < penaltyY; });
    // The goal behind its line, between the frame and the line.
    const int backY = goalY - dir * 4;
    const int y0 = std::min(goalY - dir, backY), y1 = std::max(goalY - dir, backY);
    HLine(img, 149, 181, backY, Net);
    VLine(img, 149, y0, y1, Net);
    VLine(img, 181, y0, y1, Net);
}

} // namespace

QImage MakePitchPicture() {
    QImage img(Width, Height, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(Grass));
    Grassland(img);
    Bevel(img);

    constexpr int left = 8, right = 322, top = 8, bottom = 392, halfway = 200;
    Box(img, left, top, right, bottom, Chalk);
    HLine(img, left, right, halfway, Chalk);
    Circle(img, CentreX, halfway, 39, Chalk, [](int, int) { return true; });
    Spot(img, CentreX, halfway);
    Half(img, top, +1);
    Half(img, bottom, -1);

    // Corner arcs, a quarter circle inside each corner.
    Circle(img, left, top, 4, Chalk, [&](int x, int y) { return x > left && y > top; });
    Circle(img, right, top, 4, Chalk, [&](int x, int y) { return x < right && y > top; });
    Circle(img, left, bottom, 4, Chalk, [&](int x, int y) { return x > left && y < bottom; });
    Circle(img, right, bottom, 4, Chalk, [&](int x, int y) { return x < right && y < bottom; });
    return img;
}

} // namespace pitch
