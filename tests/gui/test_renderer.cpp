// The pitch view's drawing, checked on the pixels of the picture: the pitch
// artwork, the ball zone frame, where discs land in each orientation, what
// covers what, the cached discs against direct drawing, and the credits.
#include "DragController.h"
#include "PitchMap.h"
#include "PitchRenderer.h"
#include "Tactics.h"

#include <QGuiApplication>
#include <QTest>

#include <optional>

using namespace pitch;
using guitest::Uniform;

namespace {

// Colours that the pitch never has, so that a disc's pixels can be told apart.
const TTacticColors MainColors{QColor(250, 20, 20), QColor(20, 20, 250)};
const TTacticColors SecondColors{QColor(240, 240, 20), QColor(20, 240, 240)};
constexpr QRgb Yellow = qRgb(255, 255, 0);

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

// The bounding box of the pixels of a colour inside a search area.
std::optional<QRect> BoxOf(const QImage& image, const QColor& colour, QRect area) {
    area &= image.rect();
    const QRgb wanted = colour.rgb() & 0xFFFFFF;
    std::optional<QRect> box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (At(image, x, y) == wanted)
                box = box ? box->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
    return box;
}

// A disc's outline is centred on (x, y) and 23 pixels across, give or take one.
void ExpectDiscAt(const QImage& image, const QColor& line, TPixel centre) {
    const auto box = BoxOf(image, line, QRect(centre.X - 16, centre.Y - 16, 33, 33));
    QVERIFY(box);
    QVERIFY2(qAbs(box->center().x() - centre.X) <= 1 && qAbs(box->center().y() - centre.Y) <= 1,
             qPrintable(QStringLiteral("disc box centred at %1,%2")
                            .arg(box->center().x())
                            .arg(box->center().y())));
    QVERIFY(box->width() >= 22 && box->width() <= 24);
    QVERIFY(box->height() >= 22 && box->height() <= 24);
}

// Only the first player at pos, the others far outside the view.
TCmTactic OneAt(TCmPos pos) {
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[0].WithBall.fill(pos);
    tactic.Players[0].WithoutBall.fill(pos);
    return tactic;
}

TScene Scene(const TCmTactic* main, const TCmTactic* second = nullptr,
             TSecondTactic mode = TSecondTactic::Hidden) {
    TScene scene;
    scene.Main = main;
    scene.Second = second;
    scene.SecondMode = mode;
    scene.MainColors = MainColors;
    scene.SecondColors = SecondColors;
    return scene;
}

// The leftmost pixel of a colour in the label area right of a disc's outline.
int LeftmostInk(const QImage& image, const QColor& colour, TPixel centre) {
    const auto box = BoxOf(image, colour, QRect(centre.X - 8, centre.Y - 5, 16, 10));
    return box ? box->left() : -1000;
}

} // namespace

class TestRenderer : public QObject {
    Q_OBJECT
private slots:
    void pitchPictureFollowsTheGeometry();
    void zoneFrameIsADottedYellowRectangle();
    void discsInOwnOrientation();
    void secondTacticOnEachPage();
    void laterDiscsCoverEarlierOnes();
    void twoDigitLabelsStartFurtherLeft();
    void cachedDiscsEqualDirectDrawing();
    void creditsClimbAndWrap();
    void creditLinesKeepTheirDistances();
    void creditsLeaveThePlayersUnderneath();
    void previewNeverBecomesPartOfTheRedraw();
    void cachedPreviewEqualsDirectDrawing();
};

void TestRenderer::pitchPictureFollowsTheGeometry() {
    const TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    const QImage& pitch = renderer.PitchBitmap();
    QCOMPARE(pitch.size(), QSize(331, 401));
    const QRgb grass = qRgb(0, 64, 0) & 0xFFFFFF;
    const QRgb stripe = qRgb(1, 57, 1) & 0xFFFFFF;
    const QRgb chalk = qRgb(60, 158, 60) & 0xFFFFFF;
    // Stripes change at 47, 95, 141, 189, 235 and 283, the lighter shade first.
    const int stripes[][2] = {{20, 0},  {46, 0},  {47, 1},  {94, 1},  {95, 0},  {140, 0}, {141, 1},
                              {188, 1}, {189, 0}, {234, 0}, {235, 1}, {282, 1}, {283, 0}, {300, 0}};
    for (const auto& [x, dark] : stripes)
        QCOMPARE(At(pitch, x, 120), dark ? stripe : grass);
    const QPoint lines[] = {
        {8, 120},   {322, 120}, {30, 8},    {30, 392},
        {30, 200},  {300, 200},                         // touch, goal, halfway
        {204, 200}, {126, 200}, {165, 161}, {165, 239}, // centre circle
        {77, 50},   {253, 350}, {100, 80},  {200, 320}, // penalty areas
        {125, 20},  {205, 380}, {150, 32},  {180, 368}, // goal areas
        {165, 56},  {165, 344},                         // spots
    };
    for (const QPoint& p : lines)
        QVERIFY2(At(pitch, p.x(), p.y()) == chalk,
                 qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // The penalty arcs lie outside the areas, between x 135 and 195.
    const auto arc = BoxOf(pitch, QColor::fromRgb(chalk), QRect(100, 81, 131, 30));
    QVERIFY(arc);
    QVERIFY(arc->left() >= 135 && arc->right() <= 195);
    // Grass inside, a bevelled frame of two pixels outside.
    QVERIFY(At(pitch, 0, 100) != grass && At(pitch, 1, 100) != grass);
    QVERIFY(At(pitch, 330, 100) != grass && At(pitch, 329, 100) != grass);
}

void TestRenderer::zoneFrameIsADottedYellowRectangle() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    for (int zone : {5, 0, 11}) {
        TScene scene = Scene(nullptr);
        scene.BallZone = zone;
        renderer.Redraw(scene);
        const QImage& picture = renderer.Picture();
        const TZoneFrame f = ZoneFrame(zone);
        QCOMPARE(BoxOf(picture, QColor::fromRgb(Yellow), picture.rect()),
                 std::optional(QRect(QPoint(f.Left, f.Top), QPoint(f.Right, f.Bottom))));
        // Dotted: along each side every other pixel is lit.
        int lit = 0;
        for (int x = f.Left; x <= f.Right; ++x)
            lit += At(picture, x, f.Top) == (Yellow & 0xFFFFFF);
        QVERIFY(lit >= (f.Right - f.Left) / 2 && lit <= (f.Right - f.Left) / 2 + 1);
    }
}

void TestRenderer::discsInOwnOrientation() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    for (const TCmPos pos : {TCmPos{0, 0}, TCmPos{26, 35}, TCmPos{13, 18}}) {
        const TCmTactic tactic = OneAt(pos);
        renderer.Redraw(Scene(&tactic));
        const TPixel centre = OwnCentre(pos);
        ExpectDiscAt(renderer.Picture(), MainColors.Line, centre);
        // Filled inside, left of the number.
        QCOMPARE(At(renderer.Picture(), centre.X - 7, centre.Y), MainColors.Fill.rgb() & 0xFFFFFF);
    }
    ExpectDiscAt(renderer.Picture(), MainColors.Line, {165, 194});
    QCOMPARE(OwnCentre({0, 0}), (TPixel{13, 386}));
    QCOMPARE(OwnCentre({26, 35}), (TPixel{317, 13}));
    // The last redraw is what PlayersBitmap keeps.
    QCOMPARE(renderer.PlayersBitmap(), renderer.Picture());
}

void TestRenderer::secondTacticOnEachPage() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    TCmTactic main = OneAt({5, 5});
    TCmTactic second = OneAt({20, 30});
    // The opponent shows its without-ball entry of the opposite zone.
    second.Players[0].WithoutBall[11 - 5] = {0, 0};

    renderer.Redraw(Scene(&main, &second, TSecondTactic::Hidden));
    QVERIFY(!BoxOf(renderer.Picture(), SecondColors.Line, renderer.Picture().rect()));

    renderer.Redraw(Scene(&main, &second, TSecondTactic::Same));
    const TPixel same = OwnCentre({20, 30});
    ExpectDiscAt(renderer.Picture(), SecondColors.Line, {same.X + 2, same.Y + 2});
    ExpectDiscAt(renderer.Picture(), MainColors.Line, OwnCentre({5, 5}));

    renderer.Redraw(Scene(&main, &second, TSecondTactic::Opponent));
    ExpectDiscAt(renderer.Picture(), SecondColors.Line, {320, 15});

    // Equal tactics on the Compare page: each second disc 2 pixels right of
    // and below the main one, partly hidden under it.
    const TCmTactic equal = OneAt({10, 10});
    renderer.Redraw(Scene(&equal, &equal, TSecondTactic::Same));
    const TPixel c = OwnCentre({10, 10});
    const auto secondBox =
        BoxOf(renderer.Picture(), SecondColors.Line, QRect(c.X - 16, c.Y - 16, 33, 33));
    QVERIFY(secondBox);
    QVERIFY(secondBox->right() >= c.X + 12 && secondBox->bottom() >= c.Y + 12);
    QVERIFY(secondBox->left() > c.X - 11 && secondBox->top() > c.Y - 11);
    ExpectDiscAt(renderer.Picture(), MainColors.Line, c);
}

void TestRenderer::laterDiscsCoverEarlierOnes() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[3].WithBall[5] = {10, 10};
    tactic.Players[4].WithBall[5] = {11, 10};
    renderer.Redraw(Scene(&tactic));
    const TPixel early = OwnCentre({10, 10});
    // A point of player 4's outline that lies inside player 5's disc, clear of its number.
    QCOMPARE(At(renderer.Picture(), early.X + 8, early.Y - 8), MainColors.Fill.rgb() & 0xFFFFFF);

    // The main tactic, drawn last, covers the second.
    const TCmTactic second = OneAt({10, 10});
    const TCmTactic main = OneAt({10, 10});
    renderer.Redraw(Scene(&main, &second, TSecondTactic::Same));
    QCOMPARE(At(renderer.Picture(), early.X - 7, early.Y), MainColors.Fill.rgb() & 0xFFFFFF);
}

void TestRenderer::twoDigitLabelsStartFurtherLeft() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[0].WithBall[5] = {5, 10};  // "1"
    tactic.Players[9].WithBall[5] = {15, 10}; // "10"
    renderer.Redraw(Scene(&tactic));
    const TPixel one = OwnCentre({5, 10});
    const TPixel ten = OwnCentre({15, 10});
    const int a = LeftmostInk(renderer.Picture(), MainColors.Line, one) - one.X;
    const int b = LeftmostInk(renderer.Picture(), MainColors.Line, ten) - ten.X;
    QCOMPARE(a - b, 4);
}

void TestRenderer::cachedDiscsEqualDirectDrawing() {
    TPitchRenderer cached(QStringLiteral("Comic Sans MS"));
    TPitchRenderer direct(QStringLiteral("Comic Sans MS"));
    direct.SetUseCache(false);
    TCmTactic main;
    TCmTactic second;
    for (int i = 0; i < 11; ++i)
        for (int z = 0; z < 12; ++z) {
            main.Players[i].WithBall[z] = {(i * 3 + z) % 27, (i * 5 + z * 2) % 36};
            main.Players[i].WithoutBall[z] = {(i * 7) % 27, (i + z) % 36};
            second.Players[i].WithBall[z] = {(i * 2 + 1) % 27, (i * 3 + z) % 36};
            second.Players[i].WithoutBall[z] = {(26 - i) % 27, (35 - z * 3) % 36};
        }
    main.Players[2].WithBall[5] = main.Players[1].WithBall[5]; // overlapping discs
    const std::array<std::string, 6> credits{"Pitchwright\u2122", "a", "b", "c", "d", "e"};
    for (int round = 0; round < 2; ++round) { // regular, then bold labels
        for (TSecondTactic mode :
             {TSecondTactic::Hidden, TSecondTactic::Same, TSecondTactic::Opponent}) {
            for (int zone : {0, 5, 11}) {
                TScene scene = Scene(&main, &second, mode);
                scene.BallZone = zone;
                scene.WithBall = zone != 11;
                cached.Redraw(scene);
                direct.Redraw(scene);
                QCOMPARE(cached.Picture(), direct.Picture());
            }
        }
        // New colours drop what the cache holds.
        TScene scene = Scene(&main, &second, TSecondTactic::Same);
        scene.MainColors = {QColor(0, 0, 0), QColor(255, 0, 0)};
        cached.Redraw(scene);
        direct.Redraw(scene);
        QCOMPARE(cached.Picture(), direct.Picture());
        cached.CreditsFrame(credits);
        direct.CreditsFrame(credits);
        QCOMPARE(cached.Picture(), direct.Picture());
    }
    QVERIFY(cached.BoldLabels());
}

void TestRenderer::creditsClimbAndWrap() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    const std::array<std::string, 6> credits{"Pitchwright\u2122", "", "", "", "", ""};
    QCOMPARE(renderer.CreditsTop(), 410);
    QCOMPARE(renderer.CreditsLeft(), 10);
    QVERIFY(!renderer.BoldLabels());
    renderer.CreditsFrame(credits);
    // The first frame draws the title at 409, just below the visible area.
    QCOMPARE(renderer.CreditsTop(), 409);
    QVERIFY(renderer.BoldLabels());
    QCOMPARE(renderer.Picture(), renderer.PlayersBitmap());
    for (int i = 0; i < 100; ++i)
        renderer.CreditsFrame(credits);
    QCOMPARE(renderer.CreditsTop(), 309);
    // The title, at x = 65, is drawn in yellow.
    const auto title =
        BoxOf(renderer.Picture(), QColor::fromRgb(Yellow), renderer.Picture().rect());
    QVERIFY(title);
    QVERIFY(title->left() >= 65 && title->left() <= 70);
    QVERIFY(title->top() >= 309 && title->top() <= 320);
    // 760 frames in all: -350 is the last height, then 409 again.
    for (int i = 0; i < 659; ++i)
        renderer.CreditsFrame(credits);
    QCOMPARE(renderer.CreditsTop(), -350);
    renderer.CreditsFrame(credits);
    QCOMPARE(renderer.CreditsTop(), 409);
    renderer.CreditsFrame(credits);
    QCOMPARE(renderer.CreditsTop(), 408);
}

void TestRenderer::creditLinesKeepTheirDistances() {
    const auto topOf = [](const std::array<std::string, 6>& credits) {
        TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
        renderer.SetCreditsTop(21);
        renderer.CreditsFrame(credits);
        const auto box =
            BoxOf(renderer.Picture(), QColor::fromRgb(Yellow), renderer.Picture().rect());
        return box ? box->top() - 20 : -1000;
    };
    // The same text on each line, so that only the line's offset differs.
    const int one = topOf({"", "Xy", "", "", "", ""});
    QCOMPARE(topOf({"", "", "Xy", "", "", ""}) - one, 50);
    const int three = topOf({"", "", "", "Xy", "", ""});
    QCOMPARE(topOf({"", "", "", "", "Xy", ""}) - three, 50);
    QCOMPARE(topOf({"", "", "", "", "", "Xy"}) - three, 250);
    // Lines 1 and 3 stand 50 and 70 pixels below the title, in fonts of their own size.
    QVERIFY(one >= 50 && one < 62);
    QVERIFY(three >= 70 && three < 80);
}

void TestRenderer::creditsLeaveThePlayersUnderneath() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    const TCmTactic tactic = Uniform({3, 3}); // clear of the lines' text
    renderer.Redraw(Scene(&tactic));
    const QImage players = renderer.PlayersBitmap();
    renderer.SetCreditsTop(150);
    renderer.CreditsFrame({"Pitchwright\u2122", "a line", "b line", "c", "d", "e"});
    QVERIFY(renderer.Picture() != players);
    // Every pixel is either the redraw's or the credits' yellow.
    const QImage& picture = renderer.Picture();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (At(picture, x, y) != At(players, x, y) &&
                qGreen(picture.pixel(x, y)) < qBlue(picture.pixel(x, y)))
                QFAIL("a credits pixel is not yellowish");
    QCOMPARE(renderer.PlayersBitmap(), players);
    renderer.ShowPlayers();
    QCOMPARE(renderer.Picture(), players);
}

void TestRenderer::previewNeverBecomesPartOfTheRedraw() {
    TPitchRenderer renderer(QStringLiteral("Comic Sans MS"));
    const TCmTactic tactic = Uniform({13, 18});
    const auto preview = PreviewAt(100, 100, true, 10);
    QVERIFY(preview);
    for (int round = 0; round < 3; ++round) {
        renderer.Redraw(Scene(&tactic));
        const QImage redrawn = renderer.Picture().copy();
        renderer.DrawPreview(*preview, "11", MainColors, round == 1);
        QVERIFY(renderer.Picture() != redrawn);
        // Hide logo and the credits show the redraw without the preview.
        renderer.ShowPlayers();
        QCOMPARE(renderer.Picture(), redrawn);
        QCOMPARE(renderer.PlayersBitmap(), redrawn);
        renderer.DrawPreview(*preview, "11", MainColors, round == 1);
        renderer.SetCreditsTop(500);
        renderer.CreditsFrame({"", "", "", "", "", ""});
        QCOMPARE(renderer.Picture(), redrawn);
    }
}

void TestRenderer::cachedPreviewEqualsDirectDrawing() {
    TPitchRenderer cached(QStringLiteral("Comic Sans MS"));
    TPitchRenderer direct(QStringLiteral("Comic Sans MS"));
    direct.SetUseCache(false);
    const TCmTactic tactic = Uniform({13, 18});
    for (bool clearBack : {false, true})
        for (bool smooth : {false, true})
            for (TPixel at : {TPixel{160, 190}, TPixel{300, 390}, TPixel{20, 10}}) {
                const auto preview = PreviewAt(at.X, at.Y, smooth, smooth ? 9 : 2);
                QVERIFY(preview);
                for (TPitchRenderer* renderer : {&cached, &direct}) {
                    renderer->Redraw(Scene(&tactic));
                    renderer->DrawPreview(*preview, smooth ? "10" : "3", MainColors, clearBack);
                }
                QCOMPARE(cached.Picture(), direct.Picture());
            }
}

QTEST_MAIN(TestRenderer)
#include "test_renderer.moc"
