#include "PitchRenderer.h"

#include "DiscCache.h"
#include "Fonts.h"
#include "ImageOps.h"
#include "PitchMap.h"
#include "TextCache.h"

#include <QPainter>

#include <algorithm>
#include <utility>

namespace pitch {
namespace {

constexpr QRgb Yellow = qRgb(255, 255, 0);
constexpr int LabelHeight = 15;
constexpr int TitleHeight = 34;
constexpr int LineHeight = 22;
constexpr int SmallHeight = 18;
constexpr int CreditsWrap = -350;
// Caches are keyed, so nothing stale is ever drawn; these bounds only keep
// them small when many texts or colours come by.
constexpr std::size_t MaxDiscs = 256;
constexpr std::size_t MaxLines = 64;

// Corrupt positions may put a disc thousands of pixels away; it cannot show.
bool NearView(TPixel c) {
    constexpr int reach = 64;
    return c.X > -reach && c.X < ViewWidth + reach && c.Y > -reach && c.Y < ViewHeight + reach;
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

QImage& TPitchRenderer::WritablePicture(bool keepContent) {
    if (Image.isDetached())
        return Image;
    // The picture shares its pixels with PlayersBitmap: write into the spare
    // buffer instead, so that no picture is copied only to be overwritten.
    std::swap(Image, Spare);
    if (Image.isNull() || !Image.isDetached())
        Image = QImage(ViewWidth, ViewHeight, QImage::Format_RGB32);
    if (keepContent)
        CopyPicture(Image, Spare);
    return Image;
}

QFont TPitchRenderer::LabelFont(int cellHeight, bool bold) const {
    const auto key = std::pair(cellHeight, bold);
    if (const auto found = Fonts.find(key); found != Fonts.end())
        return found->second;
    QFont font;
    font.setFamilies(WithFallbacks(Family));
    font.setBold(bold);
    // A font height on the drawing surface is that of the whole text cell,
    // internal leading included: the largest size whose line fits.
    int size = std::max(cellHeight, 1);
    font.setPixelSize(size);
    while (size > 1 && ImageMetrics(font).height() > cellHeight)
        font.setPixelSize(--size);
    Fonts.emplace(key, font);
    return font;
}

std::size_t TPitchRenderer::CachedDiscCount() const {
    return Cache->Size();
}

void TPitchRenderer::DropStaleDiscs(const TScene& scene) {
    const TCacheGeneration now{scene.MainColors, scene.SecondColors, Bold};
    if (now != Generation || Cache->Size() > MaxDiscs)
        Cache->Clear();
    Generation = now;
}

void TPitchRenderer::Redraw(const TScene& scene) {
    // PlayersBitmap is about to be replaced: let go of it first, so that the
    // picture is drawn in the buffer it already has.
    Players = QImage();
    QImage& picture = WritablePicture(false);
    CopyPicture(picture, Pitch);
    DropStaleDiscs(scene);

    const int zone = scene.BallZone;
    // A zone outside the twelve has no frame and no positions to show.
    if (zone >= 0 && zone < TCmPlayer::ZoneCount) {
        const TZoneFrame f = ZoneFrame(zone);
        DrawDottedFrame(picture, f.Left, f.Top, f.Right, f.Bottom, Yellow);

        QPainter painter(&picture);
        painter.setFont(LabelFont(LabelHeight));
        if (scene.Second != nullptr) {
            if (scene.SecondMode == TSecondTactic::Same)
                DrawTactic(painter, *scene.Second, zone, scene.WithBall, true, true,
                           scene.SecondColors);
            else if (scene.SecondMode == TSecondTactic::Opponent)
                DrawTactic(painter, *scene.Second, OppositeZone(zone), !scene.WithBall, false, true,
                           scene.SecondColors);
        }
        if (scene.Main != nullptr)
            DrawTactic(painter, *scene.Main, zone, scene.WithBall, true, false, scene.MainColors);
    }
    // The last redraw, shared until the picture is written again.
    Players = picture;
}

void TPitchRenderer::DrawTactic(QPainter& painter, const TCmTactic& tactic, int zone, bool withBall,
                                bool own, bool second, const TTacticColors& colors) {
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        const TCmPlayer& player = tactic.Players[static_cast<size_t>(i)];
        const TCmPos pos = withBall ? player.WithBall[static_cast<size_t>(zone)]
                                    : player.WithoutBall[static_cast<size_t>(zone)];
        TPixel c = own ? OwnCentre(pos) : OpponentCentre(pos);
        if (second) {
            c.X += 2;
            c.Y += 2;
        }
        if (!NearView(c))
            continue;
        const TDiscLook look{
            colors.Fill.rgb(), colors.Line.rgb(), second ? 1 : 2, i >= 9 ? -7 : -3, Bold,
            player.NumberText};
        if (UseCache)
            DrawSprite(painter, Cache->Get(look, painter.font()), c.X, c.Y);
        else
            PaintDisc(painter, c.X, c.Y, look);
    }
}

void TPitchRenderer::DrawCreditLine(QPainter& painter, const std::string& text, int pixelHeight,
                                    bool bold, int x, int y) {
    if (text.empty() || y >= ViewHeight || y + 2 * pixelHeight < 0)
        return;
    const QFont font = LabelFont(pixelHeight, bold);
    if (UseCache) {
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
    Top = t <= CreditsWrap ? ViewHeight + 10 : t - 1;

    QImage& picture = WritablePicture(false);
    CopyPicture(picture, Players);
    QPainter painter(&picture);
    // The title takes the surface's style: regular in the very first frame,
    // bold ever after, because each frame ends by switching to bold.
    DrawCreditLine(painter, credits[0], TitleHeight, Bold, ViewWidth / 2 - 100, Top);
    DrawCreditLine(painter, credits[1], LineHeight, false, Left, Top + 50);
    DrawCreditLine(painter, credits[2], LineHeight, false, Left, Top + 100);
    DrawCreditLine(painter, credits[3], SmallHeight, false, Left, Top + 70);
    DrawCreditLine(painter, credits[4], SmallHeight, false, Left, Top + 120);
    DrawCreditLine(painter, credits[5], SmallHeight, false, Left, Top + 320);
    Bold = true;
}

void TPitchRenderer::ShowPlayers() {
    Image = Players;
}

} // namespace pitch
