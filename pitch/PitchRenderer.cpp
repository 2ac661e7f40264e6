#include "pitch/PitchRenderer.h"

#include "pitch/DiscCache.h"
#include "pitch/Fonts.h"
#include "pitch/ImageOps.h"
#include "pitch/PitchMap.h"
#include "pitch/SceneLayout.h"
#include "pitch/TextCache.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace pitch {
namespace {

constexpr QRgb Yellow = qRgb(255, 255, 0);
constexpr int LabelHeight = 15;
constexpr int TitleHeight = 34;
constexpr int LineHeight = 22;
constexpr int SmallHeight = 18;
constexpr int CreditsWrap = -350;
// Where the credits start again: just below the view.
constexpr int CreditsRestart = ViewHeight + 10;
// The title's left edge, from the view's middle.
constexpr int CreditTitleLeft = ViewWidth / 2 - 100;
// Each credit line's distance below the title; lines 3 and 4 sit between 1 and 2.
constexpr std::array<int, 6> CreditOffsets{0, 50, 100, 70, 120, 320};
// Caches are keyed, so nothing stale is ever drawn; these bounds only keep
// them small when many texts or colours come by.
constexpr std::size_t MaxDiscs = 256;
constexpr std::size_t MaxLines = 256;

// The ball marker's sprite, its centre at the anchor.
TSprite MakeBall() {
    const int half = static_cast<int>(std::ceil(BallRadius)) + 1;
    TSprite ball;
    ball.Origin = QPoint(-half, -half);
    ball.Image = QImage(2 * half + 1, 2 * half + 1, QImage::Format_ARGB32_Premultiplied);
    ball.Image.fill(Qt::transparent);
    QPainter p(&ball.Image);
    // The centre of the anchor pixel, as a disc's centre is.
    PaintBall(p, QPointF(half + 0.5, half + 0.5));
    return ball;
}

} // namespace

TPitchRenderer::TPitchRenderer(const QString& fontFamily)
    : Family(fontFamily)
    , Pitch(MakePitchPicture())
    , Image(ViewWidth, ViewHeight, QImage::Format_RGB32)
    , Cache(std::make_unique<TDiscCache>())
    , Texts(std::make_unique<TTextCache>()) {
    CopyPicture(Image, Pitch);
    Players = Image;
}

TPitchRenderer::~TPitchRenderer() = default;

void PaintBall(QPainter& painter, QPointF centre) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 20), 1.5));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(centre, BallRadius - 0.75, BallRadius - 0.75);
    painter.restore();
}

QImage& TPitchRenderer::WritablePicture() {
    if (Image.isDetached())
        return Image;
    // The picture shares its pixels with PlayersBitmap: write into the spare
    // buffer instead, so that no picture is copied only to be overwritten.
    std::swap(Image, Spare);
    if (Image.isNull() || !Image.isDetached())
        Image = NewPicture();
    return Image;
}

QImage TPitchRenderer::NewPicture() const {
    if (Ratio == 1.0)
        return QImage(ViewWidth, ViewHeight, QImage::Format_RGB32);
    QImage picture(qCeil(ViewWidth * Ratio), qCeil(ViewHeight * Ratio), QImage::Format_RGB32);
    picture.setDevicePixelRatio(Ratio);
    return picture;
}

void TPitchRenderer::SetDevicePixelRatio(qreal ratio) {
    if (!(ratio > 0) || ratio == Ratio)
        return;
    Ratio = ratio;
    if (Ratio == 1.0) {
        Pitch = MakePitchPicture();
    } else {
        // The bare pitch once per ratio, so that a redraw still starts from a copy.
        Pitch = NewPicture();
        QPainter painter(&Pitch);
        PaintPitch(painter);
    }
    Cache->Clear();
    Texts->Clear();
    Spare = QImage();
    Players = QImage();
    Image = NewPicture();
    Redraw(LastScene);
}

void TPitchRenderer::RestorePlayers() {
    if (!Players.isNull())
        return;
    Players = NewPicture();
    DrawScene(Players, LastScene);
}

QFont CellFont(const QString& family, int cellHeight, bool bold) {
    QFont font;
    font.setFamilies(WithFallbacks(family));
    font.setBold(bold);
    // A font height on the drawing surface is that of the whole text cell,
    // internal leading included: the largest size whose line fits.
    int size = std::max(cellHeight, 1);
    font.setPixelSize(size);
    while (size > 1 && ImageMetrics(font).height() > cellHeight)
        font.setPixelSize(--size);
    return font;
}

QFont TPitchRenderer::LabelFont(int cellHeight, bool bold) const {
    const auto key = std::pair(cellHeight, bold);
    if (const auto found = Fonts.find(key); found != Fonts.end())
        return found->second;
    return Fonts.emplace(key, CellFont(Family, cellHeight, bold)).first->second;
}

void TPitchRenderer::DropStaleDiscs(const TScene& scene) {
    const TCacheGeneration now{scene.MainColors, scene.SecondColors, Bold};
    if (now != Generation)
        Cache->Clear();
    Generation = now;
}

void TPitchRenderer::Redraw(const TScene& scene) {
    // PlayersBitmap is about to be replaced: let go of it first, so that the
    // picture is drawn in the buffer it already has.
    Players = QImage();
    LastScene = scene;
    QImage& picture = WritablePicture();
    DrawScene(picture, scene);
    // The last redraw, shared until the picture is written again.
    Players = picture;
}

void TPitchRenderer::DrawScene(QImage& picture, const TScene& scene) {
    CopyPicture(picture, Pitch);
    DropStaleDiscs(scene);

    // A zone outside the twelve has no frame and no positions to show.
    const int zone = FramedZone(scene);
    if (zone < 0)
        return;
    QPainter painter(&picture);
    if (Ratio == 1.0) {
        const TZoneFrame f = ZoneFrame(zone);
        DrawDottedFrame(picture, f.Left, f.Top, f.Right, f.Bottom, Yellow);
    } else {
        PaintZoneFrame(painter, zone);
    }
    painter.setFont(LabelFont(LabelHeight));
    for (const TDiscPlace& disc : SceneDiscs(scene)) {
        if (!NearView(disc.Centre))
            continue;
        const TTacticColors& colors = disc.Second ? scene.SecondColors : scene.MainColors;
        DrawDisc(painter, Whole(disc.Centre.X), Whole(disc.Centre.Y),
                 {colors.Fill.rgb(), colors.Line.rgb(), disc.Second ? 1 : 2,
                  LabelPlace({}, disc.Index).X, Bold, disc.Player->NumberText});
    }
    // Over every disc, so that a neighbour never hides it.
    if (const auto chosen = ChosenCentre(scene))
        PaintChosenMark(painter, Whole(chosen->X), Whole(chosen->Y));
    // Over the players, so that it never hides under one.
    if (const auto ball = BallCentre(scene)) {
        if (Ball.Image.isNull())
            Ball = MakeBall();
        DrawSprite(painter, Ball, Whole(ball->X), Whole(ball->Y));
    }
}

void TPitchRenderer::DrawDisc(QPainter& painter, int x, int y, const TDiscLook& look) {
    // Discs come from the cache at any ratio: drawn scaled they cost a
    // hundred times a copy.
    if (UseCache) {
        if (Cache->Size() > MaxDiscs)
            Cache->Clear();
        DrawSprite(painter, Cache->Get(look, painter.font(), Ratio), x, y);
    } else {
        PaintDisc(painter, x, y, look);
    }
}

void TPitchRenderer::DrawCellText(QPainter& painter, const std::string& text, QRgb colour,
                                  std::optional<QRgb> background, TPixel at) {
    // Glyphs drawn straight onto the picture are blended with its pixels
    // in a way a cached picture of them cannot repeat: only texts on their
    // own background come from the cache.
    if (!Cached() || !background) {
        PaintCellText(painter, at.X, at.Y, QString::fromStdString(text), colour, background);
        return;
    }
    if (Texts->Size() > MaxLines)
        Texts->Clear();
    const TTextCache::TKey key{
        text, LabelHeight, Bold, colour, true, background.has_value(), background.value_or(0)};
    DrawSprite(painter, Texts->Get(key, painter.font()), at.X, at.Y);
}

void TPitchRenderer::DrawPreview(const TPreview& preview, const std::string& numberText,
                                 const TTacticColors& colors, bool clearBack) {
    // The preview goes straight onto the redraw's pixels: PlayersBitmap is
    // let go rather than copied, and drawn again should it be needed.
    Players = QImage();
    QPainter painter(&WritablePicture());
    painter.setFont(LabelFont(LabelHeight));
    const QRgb line = colors.Line.rgb();
    const std::optional<QRgb> background =
        clearBack ? std::nullopt : std::optional(colors.Fill.rgb());
    DrawCellText(painter, preview.Hint, line, background, preview.HintAt);
    // The redraw's pen, 2 pixels wide, dotted; only an outline without background.
    TDiscLook ring{colors.Fill.rgb(), line, 2, 0, Bold, std::string()};
    ring.Dotted = true;
    ring.Filled = !clearBack;
    DrawDisc(painter, preview.Centre.X, preview.Centre.Y, ring);
    DrawCellText(painter, numberText, line, background, preview.LabelAt);
}

void TPitchRenderer::DrawCreditLine(QPainter& painter, const std::string& text, int pixelHeight,
                                    bool bold, int x, int y) {
    if (text.empty() || y >= ViewHeight || y + 2 * pixelHeight < 0)
        return;
    const QFont font = LabelFont(pixelHeight, bold);
    if (Cached()) {
        if (Texts->Size() > MaxLines)
            Texts->Clear();
        DrawSprite(painter, Texts->Get({text, pixelHeight, bold, Yellow}, font), x, y);
        return;
    }
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(Yellow));
    PaintText(painter, x, y, QString::fromStdString(text));
}

void TPitchRenderer::CreditsFrame(const std::array<std::string, 6>& credits) {
    const int t = Top;
    Top = t <= CreditsWrap ? CreditsRestart : t - 1;

    RestorePlayers();
    QImage& picture = WritablePicture();
    CopyPicture(picture, Players);
    QPainter painter(&picture);
    // The title takes the surface's style: regular in the very first frame,
    // bold ever after, because each frame ends by switching to bold.
    DrawCreditLine(painter, credits[0], TitleHeight, Bold, CreditTitleLeft, Top);
    for (std::size_t line = 1; line < credits.size(); ++line)
        DrawCreditLine(painter, credits[line], line <= 2 ? LineHeight : SmallHeight, false, Left,
                       Top + CreditOffsets[line]);
    Bold = true;
}

void TPitchRenderer::ShowPlayers() {
    RestorePlayers();
    Image = Players;
}

} // namespace pitch
