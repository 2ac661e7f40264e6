#pragma once

#include "document/TacticColors.h"
#include "pitch/DragController.h"
#include "pitch/ImageOps.h"
#include "pitch/Play.h"
#include "tactic/Cm_tactic.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QPainter;

namespace pitch {

class TDiscCache;
class TTextCache;
struct TDiscLook;

// How the second tactic appears on the current page.
enum class TSecondTactic {
    Hidden,   // General page
    Same,     // Compare page: same zone and phase, own orientation, offset by (2, 2)
    Opponent, // Anti and Options pages: opposite zone, other phase, turned by half a turn
};

// What one redraw shows.
struct TScene {
    const TCmTactic* Main = nullptr;
    const TCmTactic* Second = nullptr;
    int BallZone = 5;
    bool WithBall = true;
    TSecondTactic SecondMode = TSecondTactic::Hidden;
    TTacticColors MainColors{QColor(255, 255, 255), QColor(0, 0, 255)};
    TTacticColors SecondColors{QColor(255, 255, 255), QColor(255, 0, 0)};
    // During play: both tactics between their positions in the step's two
    // zones (the second one's as its mode says), the ball marker on its way
    // and the frame on the ball's zone; BallZone is not used then.
    std::optional<TPlayStep> Step = std::nullopt;
    // The main tactic's player (0..10) the keyboard moves, ringed; -1 none.
    int Chosen = -1;
};

// Draws the pitch view into its picture (the surface of the window's Image
// control): the bare pitch, the ball zone frame, both tactics, the drag
// preview and the credits. Owns PitchBitmap (bare pitch) and PlayersBitmap
// (last redraw). Discs, labels and lines of text are drawn once per look
// into small cached pictures and copied; the result is pixel-equal to
// drawing them directly, but for the credit lines' soft glyph edges, which
// the cache blends once over a clear picture instead of over the pitch.
class TPitchRenderer {
public:
    explicit TPitchRenderer(const QString& fontFamily);
    ~TPitchRenderer();
    TPitchRenderer(const TPitchRenderer&) = delete;
    TPitchRenderer& operator=(const TPitchRenderer&) = delete;

    // Full redraw (bare pitch, frame, second tactic, main tactic) into the
    // picture; PlayersBitmap becomes the result. The scene's tactics must
    // outlive the next redraw.
    void Redraw(const TScene& scene);
    // The drag preview over the last redraw: the position read-out, a dotted
    // disc and the player's number, in the main tactic's colours, without
    // background when clearBack. It never becomes part of PlayersBitmap.
    void DrawPreview(const TPreview& preview, const std::string& numberText,
                     const TTacticColors& colors, bool clearBack);
    // One credits frame over PlayersBitmap; advances CreditsTop.
    void CreditsFrame(const std::array<std::string, 6>& credits);
    // The picture without the credits (HideLogo): PlayersBitmap shown again.
    void ShowPlayers();

    const QImage& Picture() const { return Image; }
    const QImage& PitchBitmap() const { return Pitch; }
    // The last redraw. While a preview is drawn over it nobody needs it, so it
    // is not kept then (a null image) and is drawn again when next used.
    const QImage& PlayersBitmap() const { return Players; }

    int CreditsTop() const { return Top; }
    int CreditsLeft() const { return Left; }
    void SetCreditsTop(int top) { Top = top; }
    // Label style of the surface: regular until the first credits frame, bold afterwards.
    bool BoldLabels() const { return Bold; }

    // Draws directly with QPainter, bypassing the caches: the reference the
    // cached drawing is tested against.
    void SetUseCache(bool useCache) { UseCache = useCache; }

    // The screen's device pixel ratio: at 1 the pictures are drawn pixel by
    // pixel as always; above it they have (331 r) x (399 r) pixels, carry the
    // ratio and are drawn by PaintScene, with the preview and the credits
    // scaled alike. A change draws the last scene again.
    void SetDevicePixelRatio(qreal ratio);
    qreal DevicePixelRatio() const { return Ratio; }

    // The surface's font for a text cell height in pixels, in its current
    // style or a given one.
    QFont LabelFont(int cellHeight) const { return LabelFont(cellHeight, Bold); }
    QFont LabelFont(int cellHeight, bool bold) const;

private:
    // A blank picture of the view at the current ratio.
    QImage NewPicture() const;
    // Texts come from their cache at 100 % only; scaled they are drawn direct.
    bool Cached() const { return UseCache && Ratio == 1.0; }
    // The picture, with pixels of its own to write into.
    QImage& WritablePicture();
    // PlayersBitmap, drawn again from the last scene when an overlay took its pixels.
    void RestorePlayers();
    void DrawScene(QImage& picture, const TScene& scene);
    void DrawDisc(QPainter& painter, int x, int y, const TDiscLook& look);
    void DrawCellText(QPainter& painter, const std::string& text, QRgb colour,
                      std::optional<QRgb> background, TPixel at);
    void DrawCreditLine(QPainter& painter, const std::string& text, int pixelHeight, bool bold,
                        int x, int y);
    void DropStaleDiscs(const TScene& scene);

    // What the cached discs were drawn for; a change drops them.
    struct TCacheGeneration {
        TTacticColors Main, Second;
        bool Bold = false;
        friend bool operator==(const TCacheGeneration&, const TCacheGeneration&) = default;
    };

    QString Family;
    mutable std::map<std::pair<int, bool>, QFont> Fonts;
    // Sizes at 100 %; at another ratio all three have the view's size times it.
    QImage Pitch;   // 331 x 401 bare pitch
    QImage Image;   // 331 x 399, what the control shows
    QImage Players; // 331 x 399, shares its pixels with Image until Image is written
    QImage Spare;   // the buffer Image writes into while its own is shared
    TScene LastScene;
    std::unique_ptr<TDiscCache> Cache;
    std::unique_ptr<TTextCache> Texts;
    TSprite Ball; // the ball marker, drawn on first use
    TCacheGeneration Generation;
    int Top = 410;
    int Left = 10;
    bool Bold = false;
    bool UseCache = true;
    qreal Ratio = 1.0;
};

// The bare pitch picture, 331 x 401: our own artwork from the pitch geometry.
QImage MakePitchPicture();

// The ball marker of play, a small white ball with a dark outline, reaching
// BallRadius from its centre in view pixels; the redraw draws it once into a
// sprite, a painter at another scale draws it with this.
inline constexpr double BallRadius = 5.5;
void PaintBall(QPainter& painter, QPointF centre);
// The font whose whole text cell is at most cellHeight pixels high, as the
// pitch view's labels and credits take it.
QFont CellFont(const QString& family, int cellHeight, bool bold);

// A scene drawn with QPainter in the view's logical 331 x 399 coordinates, so
// that it is sharp under any transform (a scaled picture, a PDF page): the
// bare pitch as vectors, the ball zone frame and both tactics. The discs'
// numbers are in labelFont; without one, in the window's face at the view's
// label height, bold as the view shows them once the credits have run.
void PaintScene(QPainter& painter, const TScene& scene);
void PaintScene(QPainter& painter, const TScene& scene, const QFont& labelFont);
// Its two layers: the bare pitch, and the frame with the tactics over it.
void PaintPitch(QPainter& painter);
void PaintPlayers(QPainter& painter, const TScene& scene, const QFont& labelFont);
// The dotted frame of a ball zone.
void PaintZoneFrame(QPainter& painter, int zone);
// The ring around the disc of the player the keyboard moves, centred on its pixel.
void PaintChosenMark(QPainter& painter, int x, int y);

} // namespace pitch
