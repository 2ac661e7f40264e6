// Dragging players in the window with real mouse events: what is grabbed,
// where it lands, the preview, the ball zone chosen by a right click, the
// pages where it works, and the pointer that always comes back.
#include "FormHarness.h"
#include "PitchMap.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

using namespace guitest;
using pitch::TPixel;

namespace {

// Player i stands at (2i + 2, 3i + 2) in every zone and phase: no two discs touch.
TCmTactic Spaced() {
    TCmTactic tactic;
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        tactic.Players[i].WithBall.fill({2 * i + 2, 3 * i + 2});
        tactic.Players[i].WithoutBall.fill({2 * i + 2, 3 * i + 2});
    }
    return tactic;
}

QRgb At(const QImage& image, TPixel p) {
    return image.pixel(p.X, p.Y) & 0xFFFFFF;
}

constexpr QRgb White = 0xFFFFFF;

// A pixel that drops a player into a cell: one right of and above its drawn
// centre (the centre itself lies in the cell left of and below).
TPixel Drop(TCmPos cell) {
    const TPixel centre = pitch::OwnCentre(cell);
    return {centre.X + 1, centre.Y - 1};
}

} // namespace

class TestDrag : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void theTopmostOfOverlappingPlayersIsGrabbed();
    void aPressGrabsWithinTenPixels();
    void releaseColumnsAndTheEdgesOfTheGrid();
    void pressAndReleaseWithoutMovement();
    void onlyTheEntryOfTheZoneAndPhaseChanges();
    void previewSteppedOrSmooth();
    void previewHintStaysInsideItsCorner();
    void rightClickChoosesTheZone();
    void rightClickDuringADragMovesTheDrop();
    void worksOnEveryPageButOptions();
    void pointerComesBackWhenTheWindowLosesTheMouse();

private:
    QWidget* Image() const { return Find(*Form, "Image"); }
    // A left-button drag from one pixel to another, through the middle.
    void DragFrom(TPixel from, TPixel to);
    const TCmPlayer& Player(int i) const { return Form->MainTactic().Players[i]; }
};

void TestDrag::init() {
    StartWindow();
    Load(*Form, Dialogs, 1, Game->WriteTactic("spaced.tct", Spaced()));
    ChoosePage(*Form, 0);
}

void TestDrag::cleanup() {
    // Whatever a test did, the pointer is visible again.
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    StopWindow();
}

void TestDrag::DragFrom(TPixel from, TPixel to) {
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QTest::mouseMove(Image(), QPoint((from.X + to.X) / 2, (from.Y + to.Y) / 2));
    QTest::mouseMove(Image(), QPoint(to.X, to.Y));
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(to.X, to.Y));
}

void TestDrag::theTopmostOfOverlappingPlayersIsGrabbed() {
    TCmTactic tactic = Spaced();
    tactic.Players[3].WithBall[5] = {12, 12};
    tactic.Players[8].WithBall[5] = {12, 12};
    Load(*Form, Dialogs, 1, Game->WriteTactic("overlap.tct", tactic));
    DragFrom(pitch::TestPoint({12, 12}), Drop({20, 25}));
    QCOMPARE(Player(8).WithBall[5], (TCmPos{20, 25}));
    QCOMPARE(Player(3).WithBall[5], (TCmPos{12, 12}));
}

void TestDrag::aPressGrabsWithinTenPixels() {
    const TPixel p = pitch::TestPoint(Player(5).WithBall[5]);
    const TPixel target = Drop({24, 30});
    // Ten pixels off in both directions, outside the disc itself: grabbed.
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(p.X + 10, p.Y - 10));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(target.X, target.Y));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(Player(5).WithBall[5], (TCmPos{24, 30}));
    // Eleven pixels off: nobody is grabbed and a release stores nothing.
    const TPixel q = pitch::TestPoint(Player(6).WithBall[5]);
    for (QPoint off : {QPoint(11, 0), QPoint(-11, 0), QPoint(0, 11), QPoint(-11, -11)}) {
        QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(q.X, q.Y) + off);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(target.X, target.Y));
        QCOMPARE(Player(6).WithBall[5], (TCmPos{14, 20}));
    }
}

void TestDrag::releaseColumnsAndTheEdgesOfTheGrid() {
    const TPixel p = pitch::TestPoint(Player(2).WithBall[5]);
    DragFrom(p, {25, 200});
    QCOMPARE(Player(2).WithBall[5].X, 0);
    DragFrom(pitch::TestPoint(Player(2).WithBall[5]), {26, 200});
    QCOMPARE(Player(2).WithBall[5].X, 1);

    const TCmPos kept = Player(2).WithBall[5];
    const TPixel from = pitch::TestPoint(kept);
    for (TPixel edge : {TPixel{329, 200}, TPixel{330, 200}, TPixel{2, 200}, TPixel{0, 200},
                        TPixel{100, 397}, TPixel{100, 398}, TPixel{100, 1}, TPixel{100, 0}}) {
        DragFrom(from, edge);
        QCOMPARE(Player(2).WithBall[5], kept);
        // The redraw shows the player where it was.
        QCOMPARE(At(Form->Renderer().Picture(), {from.X - 7, from.Y + 1}), White);
    }
}

void TestDrag::pressAndReleaseWithoutMovement() {
    const TCmPos pos = Player(4).WithBall[5]; // (10, 14)
    const TPixel centre = pitch::OwnCentre(pos);
    QTest::mouseClick(Image(), Qt::LeftButton, {}, QPoint(centre.X, centre.Y));
    // The drawn centre lies in the cell left of and below the player's own.
    QCOMPARE(Player(4).WithBall[5], (TCmPos{pos.X - 1, pos.Y - 1}));
    const TPixel again = pitch::OwnCentre(Player(4).WithBall[5]);
    QTest::mouseClick(Image(), Qt::LeftButton, {}, QPoint(again.X + 1, again.Y - 1));
    QCOMPARE(Player(4).WithBall[5], (TCmPos{pos.X - 1, pos.Y - 1}));
}

void TestDrag::onlyTheEntryOfTheZoneAndPhaseChanges() {
    Click(Find<QRadioButton>(*Form, "WithoutBall"));
    const TCmTactic before = Form->MainTactic();
    DragFrom(pitch::TestPoint(Player(7).WithoutBall[5]), Drop({3, 33}));
    for (int i = 0; i < TCmTactic::PlayerCount; ++i)
        for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
            QCOMPARE(Player(i).WithBall[z], before.Players[i].WithBall[z]);
            if (i != 7 || z != 5)
                QCOMPARE(Player(i).WithoutBall[z], before.Players[i].WithoutBall[z]);
        }
    QCOMPARE(Player(7).WithoutBall[5], (TCmPos{3, 33}));
    // The disc is drawn at its new place.
    const TPixel centre = pitch::OwnCentre({3, 33});
    QCOMPARE(At(Form->Renderer().Picture(), {centre.X - 7, centre.Y}), White);
}

void TestDrag::previewSteppedOrSmooth() {
    const TPixel from = pitch::TestPoint(Player(1).WithBall[5]);
    const TPixel cell = Drop({20, 20});
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    // Stepped: two points of the same cell give the same picture.
    QTest::mouseMove(Image(), QPoint(cell.X, cell.Y));
    const QImage a = Form->Renderer().Picture().copy();
    QTest::mouseMove(Image(), QPoint(cell.X + 2, cell.Y - 2));
    QCOMPARE(Form->Renderer().Picture(), a);
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(cell.X + 2, cell.Y - 2));
    QCOMPARE(Player(1).WithBall[5], (TCmPos{20, 20}));

    // Smooth: the disc follows each pixel, the stored cell is the same.
    ChoosePage(*Form, 3);
    Click(Find<QCheckBox>(*Form, "SmoothMove"));
    ChoosePage(*Form, 0);
    const TPixel back = pitch::TestPoint(Player(1).WithBall[5]);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(back.X, back.Y));
    QTest::mouseMove(Image(), QPoint(cell.X, cell.Y));
    const QImage b = Form->Renderer().Picture().copy();
    QTest::mouseMove(Image(), QPoint(cell.X + 2, cell.Y - 2));
    QVERIFY(Form->Renderer().Picture() != b);
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(cell.X + 2, cell.Y - 2));
    QCOMPARE(Player(1).WithBall[5], (TCmPos{20, 20}));
}

void TestDrag::previewHintStaysInsideItsCorner() {
    const TPixel from = pitch::TestPoint(Player(0).WithBall[5]);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QTest::mouseMove(Image(), QPoint(320, 390));
    // The read-out stands on the fill colour from (180, 360) on, never further right or lower.
    const QImage& picture = Form->Renderer().Picture();
    QCOMPARE(At(picture, {180, 360}), White);
    QVERIFY(At(picture, {179, 360}) != White);
    QVERIFY(At(picture, {180, 359}) != White);
    // Without background only the letters are drawn.
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(320, 390));
    ChoosePage(*Form, 3);
    Click(Find<QCheckBox>(*Form, "ClearBack"));
    ChoosePage(*Form, 0);
    const TPixel again = pitch::TestPoint(Player(0).WithBall[5]);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(again.X, again.Y));
    QTest::mouseMove(Image(), QPoint(320, 390));
    QVERIFY(At(Form->Renderer().Picture(), {180, 360}) != White);
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(320, 390));
}

void TestDrag::rightClickChoosesTheZone() {
    const auto zoneAfter = [&](int x, int y) {
        QTest::mouseClick(Image(), Qt::RightButton, {}, QPoint(x, y));
        return Form->BallZone();
    };
    QCOMPARE(zoneAfter(50, 0), 3);
    QCOMPARE(zoneAfter(50, 1), 3);
    QCOMPARE(zoneAfter(330, 250), 9);
    QCOMPARE(zoneAfter(109, 398), 0);
    QCOMPARE(zoneAfter(110, 301), 5);
    // The frame moves with the zone.
    const pitch::TZoneFrame frame = pitch::ZoneFrame(5);
    QCOMPARE(At(Form->Renderer().Picture(), {frame.Left, frame.Top}), qRgb(255, 255, 0) & White);
}

void TestDrag::rightClickDuringADragMovesTheDrop() {
    const TPixel from = pitch::TestPoint(Player(9).WithBall[5]);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QTest::mousePress(Image(), Qt::RightButton, {}, QPoint(300, 50));
    QCOMPARE(Form->BallZone(), 11);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
    const TPixel to = Drop({25, 34});
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(to.X, to.Y));
    QCOMPARE(Player(9).WithBall[11], (TCmPos{25, 34}));
    QCOMPARE(Player(9).WithBall[5], (TCmPos{20, 29}));
}

void TestDrag::worksOnEveryPageButOptions() {
    Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", Spaced()));
    const TCmTactic second = Form->SecondTactic();
    int target = 2;
    for (int page : {0, 1, 2}) {
        ChoosePage(*Form, page);
        DragFrom(pitch::TestPoint(Player(3).WithBall[5]), Drop({target, 33}));
        QCOMPARE(Player(3).WithBall[5], (TCmPos{target, 33}));
        target += 3;
    }
    ChoosePage(*Form, 3);
    const TCmPos kept = Player(3).WithBall[5];
    DragFrom(pitch::TestPoint(kept), Drop({20, 5}));
    QTest::mouseClick(Image(), Qt::RightButton, {}, QPoint(300, 50));
    QCOMPARE(Player(3).WithBall[5], kept);
    QCOMPARE(Form->BallZone(), 5);
    // The second tactic is never edited.
    for (int i = 0; i < TCmTactic::PlayerCount; ++i)
        QCOMPARE(Form->SecondTactic().Players[i].WithBall, second.Players[i].WithBall);
}

void TestDrag::pointerComesBackWhenTheWindowLosesTheMouse() {
    const TPixel from = pitch::TestPoint(Player(4).WithBall[5]);
    const TCmPos kept = Player(4).WithBall[5];
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QTest::mouseMove(Image(), QPoint(200, 100));
    QVERIFY(QApplication::overrideCursor());
    QEvent deactivate(QEvent::ActivationChange);
    QApplication::sendEvent(Form.get(), &deactivate);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The drag is over: the release that may still come stores nothing.
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(200, 100));
    QCOMPARE(Player(4).WithBall[5], kept);
    QCOMPARE(Form->Renderer().Picture(), Form->Renderer().PlayersBitmap());

    // Closed mid-drag: the pointer comes back too.
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QVERIFY(QApplication::overrideCursor());
    Form->close();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestDrag)
#include "test_drag.moc"
