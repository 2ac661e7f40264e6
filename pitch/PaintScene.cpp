#include "pitch/DiscCache.h"
#include "pitch/DragController.h"
#include "pitch/Fonts.h"
#include "pitch/PitchGeometry.h"
#include "pitch/PitchRenderer.h"
#include "pitch/SceneLayout.h"

#include <QPainter>
#include <QPainterPath>

namespace pitch {
namespace {

using namespace geometry;

constexpr int LabelHeight = 15;

// Pixel (x, y) of the picture is the unit square from (x, y) to (x + 1, y + 1):
// lines one pixel wide are filled squares, circles are stroked through the
// middle of the pixels the picture lights.
void Fill(QPainter& p, int x0, int y0, int x1, int y1, QRgb c) {
    p.fillRect(QRectF(x0, y0, x1 - x0 + 1, y1 - y0 + 1), QColor::fromRgb(c));
}

void Box(QPainter& p, int x0, int y0, int x1, int y1) {
    Fill(p, x0, y0, x1, y0, Chalk);
    Fill(p, x0, y1, x1, y1, Chalk);
    Fill(p, x0, y0, x0, y1, Chalk);
    Fill(p, x1, y0, x1, y1, Chalk);
}

void Spot(QPainter& p, int x, int y) {
    Fill(p, x - 1, y, x + 1, y, Chalk);
    Fill(p, x, y - 1, x, y + 1, Chalk);
}

// A chalk circle about pixel (cx, cy), drawn only inside keep.
void Circle(QPainter& p, int cx, int cy, int r, const QRectF& keep) {
    p.save();
    p.setClipRect(keep, Qt::IntersectClip);
    p.setPen(QPen(QColor::fromRgb(Chalk), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(cx + 0.5, cy + 0.5), r, r);
    p.restore();
}

void Half(QPainter& p, int goalY, int dir) {
    const int penaltyY = goalY + dir * PenaltyDepth;
    const int goalAreaY = goalY + dir * GoalAreaDepth;
    const int spotY = goalY + dir * SpotDistance;
    Box(p, PenaltyLeft, std::min(goalY, penaltyY), PenaltyRight, std::max(goalY, penaltyY));
    Box(p, GoalAreaLeft, std::min(goalY, goalAreaY), GoalAreaRight, std::max(goalY, goalAreaY));
    Spot(p, CentreX, spotY);
    // The arc outside the penalty area only.
    const QRectF outside =
        dir > 0 ? QRectF(0, penaltyY + 1, Width, Height) : QRectF(0, 0, Width, penaltyY);
    Circle(p, CentreX, spotY, CircleRadius, outside);
    const int backY = goalY - dir * GoalDepth;
    const int y0 = std::min(goalY - dir, backY), y1 = std::max(goalY - dir, backY);
    Fill(p, GoalLeft, backY, GoalRight, backY, Net);
    Fill(p, GoalLeft, y0, GoalLeft, y1, Net);
    Fill(p, GoalRight, y0, GoalRight, y1, Net);
}

void Bevel(QPainter& p) {
    const int r = Width - 1, b = Height - 1;
    Fill(p, 0, 0, r, 0, BevelShadow);
    Fill(p, 0, 0, 0, b, BevelShadow);
    Fill(p, 0, b, r, b, BevelHighlight);
    Fill(p, r, 0, r, b, BevelHighlight);
    Fill(p, 1, 1, r - 1, 1, BevelDark);
    Fill(p, 1, 1, 1, b - 1, BevelDark);
    Fill(p, 1, b - 1, r - 1, b - 1, BevelLight);
    Fill(p, r - 1, 1, r - 1, b - 1, BevelLight);
}

} // namespace

// The dotted frame's dots, every other pixel as the picture has them. Drawn
// smaller than a device pixel (a small pitch) such dots would drop out or
// fade: there the frame is a dotted line one device pixel wide instead.
void PaintZoneFrame(QPainter& p, int zone) {
    const TZoneFrame f = ZoneFrame(zone);
    if (p.deviceTransform().map(QLineF(0, 0, 1, 0)).length() < 1.0) {
        p.setPen(QPen(QColor::fromRgb(FrameYellow), 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(f.Left + 0.5, f.Top + 0.5, f.Right - f.Left, f.Bottom - f.Top));
        return;
    }
    QPainterPath dots;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            dots.addRect(x, y, 1, 1);
    };
    for (int x = f.Left; x <= f.Right; ++x) {
        dot(x, f.Top);
        dot(x, f.Bottom);
    }
    for (int y = f.Top + 1; y < f.Bottom; ++y) {
        dot(f.Left, y);
        dot(f.Right, y);
    }
    p.fillPath(dots, QColor::fromRgb(FrameYellow));
}

void PaintChosenMark(QPainter& p, int x, int y) {
    // Solid, and clear of the disc's outline, so that it never reads as the
    // dotted ball zone frame nor as part of the disc.
    constexpr double gap = 3.5;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor::fromRgb(FrameYellow), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(x + 0.5, y + 0.5), PlayerRadius + gap, PlayerRadius + gap);
    p.restore();
}

void PaintPitch(QPainter& p) {
    p.save();
    p.setClipRect(QRectF(0, 0, ViewWidth, ViewHeight), Qt::IntersectClip);
    p.setRenderHint(QPainter::Antialiasing, true);
    Fill(p, 0, 0, Width - 1, Height - 1, Grass);
    for (size_t i = 0; i + 1 < StripeEdges.size(); ++i)
        Fill(p, StripeEdges[i], Frame, StripeEdges[i + 1] - 1, Height - Frame - 1,
             i % 2 == 0 ? Grass : Stripe);
    Bevel(p);
    Box(p, Left, Top, Right, Bottom);
    Fill(p, Left, Halfway, Right, Halfway, Chalk);
    Circle(p, CentreX, Halfway, CircleRadius, QRectF(0, 0, Width, Height));
    Spot(p, CentreX, Halfway);
    Half(p, Top, +1);
    Half(p, Bottom, -1);
    // Corner arcs: the quarter inside each corner.
    constexpr int r = CornerRadius;
    Circle(p, Left, Top, r, QRectF(Left + 1, Top + 1, r, r));
    Circle(p, Right, Top, r, QRectF(Right - r, Top + 1, r, r));
    Circle(p, Left, Bottom, r, QRectF(Left + 1, Bottom - r, r, r));
    Circle(p, Right, Bottom, r, QRectF(Right - r, Bottom - r, r, r));
    p.restore();
}

void PaintPlayers(QPainter& p, const TScene& scene, const QFont& labelFont) {
    const int zone = FramedZone(scene);
    if (zone < 0)
        return;
    p.save();
    p.setClipRect(QRectF(0, 0, ViewWidth, ViewHeight), Qt::IntersectClip);
    PaintZoneFrame(p, zone);
    p.setFont(labelFont);
    for (const TDiscPlace& disc : SceneDiscs(scene)) {
        if (!NearView(disc.Centre))
            continue;
        const TTacticColors& colors = disc.Second ? scene.SecondColors : scene.MainColors;
        PaintDisc(p, Whole(disc.Centre.X), Whole(disc.Centre.Y),
                  {colors.Fill.rgb(), colors.Line.rgb(), disc.Second ? 1 : 2,
                   LabelPlace({}, disc.Index).X, labelFont.bold(), disc.Player->NumberText});
    }
    if (const auto chosen = ChosenCentre(scene))
        PaintChosenMark(p, Whole(chosen->X), Whole(chosen->Y));
    if (const auto ball = BallCentre(scene))
        PaintBall(p, QPointF(ball->X, ball->Y));
    p.restore();
}

void PaintScene(QPainter& painter, const TScene& scene, const QFont& labelFont) {
    PaintPitch(painter);
    PaintPlayers(painter, scene, labelFont);
}

void PaintScene(QPainter& painter, const TScene& scene) {
    // The labels as the view shows them once the credits have run: bold.
    PaintScene(painter, scene, CellFont(WindowFontFace(), LabelHeight, true));
}

} // namespace pitch
