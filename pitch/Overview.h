#pragma once

#include "pitch/PitchRenderer.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <map>
#include <vector>

namespace pitch {

// Where the twelve small pitches of an overview lie: as the ball zones lie
// on the pitch, three across and four along, the own goal at the bottom,
// each a scaled copy of the 331 x 399 view.
class TOverviewLayout {
public:
    explicit TOverviewLayout(QSize size);

    QSize Size() const { return Whole; }
    // The small pitch of a zone, in the overview's logical pixels.
    QRect PitchRect(int zone) const;
    // Small pitch size against the big view.
    double Scale() const { return Factor; }
    // The zone whose small pitch holds a point; -1 between them.
    int ZoneAt(QPoint point) const;
    // A pixel of the big view, as it lies in a zone's small pitch.
    QPointF Map(int zone, QPointF viewPixel) const;

private:
    QSize Whole;
    QPoint Origin;
    int Width = 0;
    int Height = 0;
    double Factor = 0;
};

// One disc as an overview drew it, for the hints over it.
struct TOverviewDisc {
    int Zone = 0;
    bool Second = false;
    int Player = 0;
    QPointF Centre; // logical pixels
};

// Draws the overview of a scene: for every ball zone a small pitch with the
// zone's area lit, the main tactic's players and the second tactic as the
// scene's mode shows it, a frame around the scene's ball zone, and a route
// of zones as a numbered path. Drawn at a device pixel ratio; the scaled bare
// pitches and the discs are drawn once per size and look and then copied.
class TOverview {
public:
    explicit TOverview(const QString& fontFamily);

    // The whole overview at `size` logical pixels; the picture carries `dpr`.
    const QImage& Draw(const TScene& scene, const std::vector<int>& route, QSize size, qreal dpr);
    const QImage& Picture() const { return Image; }
    // Discs are big enough to carry their numbers at this size.
    static bool NumbersShown(QSize size);
    // The disc drawn on top at a logical point, if any.
    const TOverviewDisc* DiscAt(QPointF point) const;

private:
    struct TSpriteKey {
        QRgb Fill, Line;
        bool Second;
        std::string Text;
        int Diameter; // device pixels
        auto operator<=>(const TSpriteKey&) const = default;
    };

    void MakeBackground(const TOverviewLayout& layout, qreal dpr);
    void DrawTactic(const TOverviewLayout& layout, qreal dpr, int zone, const TCmTactic& tactic,
                    int shownZone, bool withBall, bool own, bool second,
                    const TTacticColors& colors);
    const QImage& Sprite(const TSpriteKey& key, qreal dpr);
    void DrawRoute(QImage& picture, const TOverviewLayout& layout, qreal dpr,
                   const std::vector<int>& route);

    QString Family;
    QImage Pitch;      // the bare pitch, as the big view shows it
    QImage Background; // backdrop with the scaled bare pitches and lit zones
    QSize BackgroundSize;
    qreal BackgroundRatio = 0;
    QImage Image;
    std::map<TSpriteKey, QImage> Sprites;
    std::vector<TOverviewDisc> Discs;
};

} // namespace pitch
