#include "pitch/PitchGeometry.h"
#include "pitch/PitchRenderer.h"

#include <QPainter>

#include <array>

namespace pitch {
namespace {

using namespace geometry;

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
    const auto& edges = StripeEdges;
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
    const int penaltyY = goalY + dir * PenaltyDepth;
    const int goalAreaY = goalY + dir * GoalAreaDepth;
    const int spotY = goalY + dir * SpotDistance;
    Box(img, PenaltyLeft, std::min(goalY, penaltyY), PenaltyRight, std::max(goalY, penaltyY),
        Chalk);
    Box(img, GoalAreaLeft, std::min(goalY, goalAreaY), GoalAreaRight, std::max(goalY, goalAreaY),
        Chalk);
    Spot(img, CentreX, spotY);
    Circle(img, CentreX, spotY, CircleRadius, Chalk,
           [&](int, int y) { return dir > 0 ? y > penaltyY : y < penaltyY; });
    // The goal behind its line, between the frame and the line.
    const int backY = goalY - dir * GoalDepth;
    const int y0 = std::min(goalY - dir, backY), y1 = std::max(goalY - dir, backY);
    HLine(img, GoalLeft, GoalRight, backY, Net);
    VLine(img, GoalLeft, y0, y1, Net);
    VLine(img, GoalRight, y0, y1, Net);
}

} // namespace

QImage MakePitchPicture() {
    QImage img(Width, Height, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(Grass));
    Grassland(img);
    Bevel(img);

    Box(img, Left, Top, Right, Bottom, Chalk);
    HLine(img, Left, Right, Halfway, Chalk);
    Circle(img, CentreX, Halfway, CircleRadius, Chalk, [](int, int) { return true; });
    Spot(img, CentreX, Halfway);
    Half(img, Top, +1);
    Half(img, Bottom, -1);

    // Corner arcs, a quarter circle inside each corner.
    constexpr int r = CornerRadius;
    Circle(img, Left, Top, r, Chalk, [&](int x, int y) { return x > Left && y > Top; });
    Circle(img, Right, Top, r, Chalk, [&](int x, int y) { return x < Right && y > Top; });
    Circle(img, Left, Bottom, r, Chalk, [&](int x, int y) { return x > Left && y < Bottom; });
    Circle(img, Right, Bottom, r, Chalk, [&](int x, int y) { return x < Right && y < Bottom; });
    return img;
}

} // namespace pitch
