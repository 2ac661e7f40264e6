#include "pitch/Overview.h"

#include "pitch/DiscCache.h"
#include "pitch/Fonts.h"
#include "pitch/ImageOps.h"
#include "pitch/PitchMap.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace pitch {
namespace {

constexpr int Gap = 6;            // between the small pitches and around them
constexpr int FrameWidth = 2;     // of the ball zone's frame, in the gap
constexpr double NumberDisc = 14; // the least disc, in logical pixels, that carries its number
constexpr QRgb Backdrop = qRgb(40, 44, 40);
constexpr QRgb Yellow = qRgb(255, 255, 0);
constexpr QRgb RouteColour = qRgb(255, 160, 0);
constexpr int ZoneCount = ZoneColumns * ZoneRows;

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

// A device pixel size of a logical length.
int Device(double logical, qreal dpr) {
    return std::max(1, Round(logical * dpr));
}

// c * a / 255 for the four bytes of a premultiplied pixel at once.
QRgb Scaled(QRgb c, unsigned a) {
    unsigned rb = (c & 0xff00ffu) * a;
    rb = ((rb + ((rb >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    unsigned ag = ((c >> 8) & 0xff00ffu) * a;
    ag = (ag + ((ag >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return ag | rb;
}

// A premultiplied sprite over an opaque picture, inside `clip` only; QPainter
// costs more per small sprite than the blend itself.
void Blend(QImage& target, const QImage& sprite, int left, int top, QRect clip) {
    const QRect area = QRect(left, top, sprite.width(), sprite.height()) & clip & target.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(sprite.constScanLine(y - top));
        QRgb* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb s = from[x - left];
            const unsigned a = qAlpha(s);
            if (a == 255)
                to[x] = s;
            else if (a != 0)
                to[x] = (s + Scaled(to[x], 255 - a)) | 0xff000000u;
        }
    }
}

struct TDeviceLayout {
    int Width, Height;
    QRect Rect(const TOverviewLayout& layout, int zone, qreal dpr) const {
        const QRect r = layout.PitchRect(zone);
        return {Round(r.x() * dpr), Round(r.y() * dpr), Width, Height};
    }
};

TDeviceLayout DeviceLayout(const TOverviewLayout& layout, qreal dpr) {
    const QRect r = layout.PitchRect(0);
    return {Device(r.width(), dpr), Device(r.height(), dpr)};
}

} // namespace

TOverviewLayout::TOverviewLayout(QSize size)
    : Whole(size) {
    const double byWidth = double(size.width() - Gap * (ZoneColumns + 1)) / ZoneColumns;
    const double byHeight =
        double(size.height() - Gap * (ZoneRows + 1)) / ZoneRows * ViewWidth / ViewHeight;
    Width = std::max(1, static_cast<int>(std::min(byWidth, byHeight)));
    Height = std::max(1, Round(Width * double(ViewHeight) / ViewWidth));
    Factor = double(Width) / ViewWidth;
    const int across = ZoneColumns * Width + (ZoneColumns - 1) * Gap;
    const int along = ZoneRows * Height + (ZoneRows - 1) * Gap;
    Origin = {std::max(0, (size.width() - across) / 2), std::max(0, (size.height() - along) / 2)};
}

QRect TOverviewLayout::PitchRect(int zone) const {
    const int column = zone / ZoneRows;
    const int fromTop = ZoneRows - 1 - zone % ZoneRows; // own goal at the bottom
    return {Origin.x() + column * (Width + Gap), Origin.y() + fromTop * (Height + Gap), Width,
            Height};
}

int TOverviewLayout::ZoneAt(QPoint point) const {
    for (int zone = 0; zone < ZoneCount; ++zone)
        if (PitchRect(zone).contains(point))
            return zone;
    return -1;
}

QPointF TOverviewLayout::Map(int zone, QPointF viewPixel) const {
    const QRect r = PitchRect(zone);
    return {r.x() + viewPixel.x() * Width / ViewWidth, r.y() + viewPixel.y() * Height / ViewHeight};
}

TOverview::TOverview(const QString& fontFamily)
    : Family(fontFamily)
    , Pitch(MakePitchPicture().copy(0, 0, ViewWidth, ViewHeight)) {}

bool TOverview::NumbersShown(QSize size) {
    return TOverviewLayout(size).Scale() * 2 * DiscHalfBox >= NumberDisc;
}

void TOverview::MakeBackground(const TOverviewLayout& layout, qreal dpr) {
    const QSize device(Device(layout.Size().width(), dpr), Device(layout.Size().height(), dpr));
    Background = QImage(device, QImage::Format_RGB32);
    Background.fill(Backdrop);
    const TDeviceLayout d = DeviceLayout(layout, dpr);
    const QImage small =
        Pitch.scaled(d.Width, d.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&Background);
    const double sx = double(d.Width) / ViewWidth;
    const double sy = double(d.Height) / ViewHeight;
    for (int zone = 0; zone < ZoneCount; ++zone) {
        const QRect r = d.Rect(layout, zone, dpr);
        painter.drawImage(r.topLeft(), small);
        // The ball's zone, lit on its own small pitch.
        const TZoneFrame f = ZoneFrame(zone);
        const QRectF lit(r.x() + f.Left * sx, r.y() + f.Top * sy, (f.Right - f.Left) * sx,
                         (f.Bottom - f.Top) * sy);
        painter.fillRect(lit, QColor(255, 255, 0, 64));
    }
    BackgroundSize = layout.Size();
    BackgroundRatio = dpr;
}

const QImage& TOverview::Sprite(const TSpriteKey& key, qreal dpr) {
    if (const auto found = Sprites.find(key); found != Sprites.end())
        return found->second;
    // Caches are keyed, so nothing stale is drawn; the bound keeps them small.
    if (Sprites.size() > 256)
        Sprites.clear();
    const int side = key.Diameter + 2;
    QImage sprite(side, side, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = double(key.Diameter) / (2 * DiscHalfBox);
    // The big view's pens: 2 pixels for the main tactic, 1 for the second.
    const double pen = std::max(dpr, (key.Second ? 1.0 : 2.0) * scale);
    painter.setPen(QPen(QColor::fromRgb(key.Line), pen));
    painter.setBrush(QColor::fromRgb(key.Fill));
    const QPointF centre(side / 2.0, side / 2.0);
    const double radius = (key.Diameter - pen) / 2.0;
    painter.drawEllipse(centre, radius, radius);
    if (!key.Text.empty()) {
        QFont font;
        font.setFamilies(WithFallbacks(Family));
        font.setBold(true);
        font.setPixelSize(std::max(6, Round(key.Diameter * 0.55)));
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(key.Line));
        painter.drawText(QRectF(0, 0, side, side), Qt::AlignCenter,
                         QString::fromStdString(key.Text));
    }
    painter.end();
    return Sprites.emplace(key, std::move(sprite)).first->second;
}

void TOverview::DrawTactic(const TOverviewLayout& layout, qreal dpr, int zone,
                           const TCmTactic& tactic, int shownZone, bool withBall, bool own,
                           bool second, const TTacticColors& colors) {
    const TDeviceLayout d = DeviceLayout(layout, dpr);
    const QRect r = d.Rect(layout, zone, dpr);
    const double sx = double(d.Width) / ViewWidth;
    const double sy = double(d.Height) / ViewHeight;
    const int diameter = std::max(3, Round(2 * DiscHalfBox * sx));
    const bool numbers = NumbersShown(layout.Size());
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        const TCmPlayer& player = tactic.Players[static_cast<size_t>(i)];
        const TCmPos pos = withBall ? player.WithBall[static_cast<size_t>(shownZone)]
                                    : player.WithoutBall[static_cast<size_t>(shownZone)];
        TPixel c = own ? OwnCentre(pos) : OpponentCentre(pos);
        if (second) {
            c.X += 2;
            c.Y += 2;
        }
        // Corrupt positions lie far off; they cannot show.
        if (c.X < -DiscHalfBox || c.X > ViewWidth + DiscHalfBox || c.Y < -DiscHalfBox ||
            c.Y > ViewHeight + DiscHalfBox)
            continue;
        const TSpriteKey key{colors.Fill.rgb(), colors.Line.rgb(), second,
                             numbers ? player.NumberText : std::string(), diameter};
        const QImage& sprite = Sprite(key, dpr);
        const int x = r.x() + Round(c.X * sx) - sprite.width() / 2;
        const int y = r.y() + Round(c.Y * sy) - sprite.height() / 2;
        Blend(Image, sprite, x, y, r);
        Discs.push_back({zone, second, i, layout.Map(zone, QPointF(c.X, c.Y))});
    }
}

void TOverview::DrawRoute(QImage& picture, const TOverviewLayout& layout, qreal dpr,
                          const std::vector<int>& route) {
    (void)dpr; // the painter works in logical pixels on a picture that carries its ratio
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // A zone visited again gets its next number beside the earlier one.
    std::vector<QPointF> points;
    std::array<int, ZoneCount> visits{};
    const double marker = std::clamp(layout.PitchRect(0).width() / 12.0, 6.0, 10.0);
    for (int zone : route) {
        if (zone < 0 || zone >= ZoneCount)
            continue;
        const int k = visits[static_cast<size_t>(zone)]++;
        const double angle = k * std::numbers::pi / 3;
        const double away = k == 0 ? 0.0 : 2.2 * marker;
        points.push_back(QRectF(layout.PitchRect(zone)).center() +
                         QPointF(away * std::cos(angle), away * std::sin(angle)));
    }
    painter.setPen(QPen(QColor::fromRgb(RouteColour), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    QFont font;
    font.setFamilies(WithFallbacks(Family));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(marker * 1.3));
    painter.setFont(font);
    for (std::size_t i = 0; i < points.size(); ++i) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor::fromRgb(RouteColour));
        painter.drawEllipse(points[i], marker, marker);
        painter.drawText(
            QRectF(points[i].x() - 2 * marker, points[i].y() - marker, 4 * marker, 2 * marker),
            Qt::AlignCenter, QString::number(i + 1));
    }
}

const QImage& TOverview::Draw(const TScene& scene, const std::vector<int>& route, QSize size,
                              qreal dpr) {
    const TOverviewLayout layout(size);
    if (Background.isNull() || BackgroundSize != size || BackgroundRatio != dpr)
        MakeBackground(layout, dpr);
    if (Image.size() != Background.size())
        Image = QImage(Background.size(), QImage::Format_RGB32);
    Image.setDevicePixelRatio(1);
    CopyPicture(Image, Background);
    Discs.clear();

    for (int zone = 0; zone < ZoneCount; ++zone) {
        if (scene.Second != nullptr && scene.SecondMode == TSecondTactic::Same)
            DrawTactic(layout, dpr, zone, *scene.Second, zone, scene.WithBall, true, true,
                       scene.SecondColors);
        else if (scene.Second != nullptr && scene.SecondMode == TSecondTactic::Opponent)
            DrawTactic(layout, dpr, zone, *scene.Second, OppositeZone(zone), !scene.WithBall, false,
                       true, scene.SecondColors);
        if (scene.Main != nullptr)
            DrawTactic(layout, dpr, zone, *scene.Main, zone, scene.WithBall, true, false,
                       scene.MainColors);
    }

    Image.setDevicePixelRatio(dpr);
    if (scene.BallZone >= 0 && scene.BallZone < ZoneCount) {
        QPainter painter(&Image);
        const QRect r = layout.PitchRect(scene.BallZone);
        const int w = FrameWidth;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgb(Yellow));
        painter.drawPath([&] {
            QPainterPath frame;
            frame.addRect(r.adjusted(-w - 1, -w - 1, w + 1, w + 1));
            frame.addRect(r.adjusted(-1, -1, 1, 1));
            return frame;
        }());
    }
    if (!route.empty())
        DrawRoute(Image, layout, dpr, route);
    return Image;
}

const TOverviewDisc* TOverview::DiscAt(QPointF point) const {
    if (Discs.empty())
        return nullptr;
    const TOverviewLayout layout(BackgroundSize);
    const double radius = std::max(2.0, layout.Scale() * DiscHalfBox);
    // Later discs cover earlier ones.
    for (auto disc = Discs.rbegin(); disc != Discs.rend(); ++disc) {
        const QPointF d = point - disc->Centre;
        if (d.x() * d.x() + d.y() * d.y() <= radius * radius &&
            layout.PitchRect(disc->Zone).contains(point.toPoint()))
            return &*disc;
    }
    return nullptr;
}

} // namespace pitch
