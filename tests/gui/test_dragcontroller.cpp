// Dragging without a window: the hit test, the preview's geometry and text,
// and what a press, a move and a release decide.
#include "DragController.h"
#include "Tactics.h"

#include <QTest>

using namespace pitch;
using guitest::Uniform;

namespace {

// The other 23 entries of a player, for "only one entry changed" checks.
bool OthersUnchanged(const TCmPlayer& a, const TCmPlayer& b, int zone, bool withBall) {
    for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
        if (!(withBall && z == zone) && a.WithBall[z] != b.WithBall[z])
            return false;
        if (!(!withBall && z == zone) && a.WithoutBall[z] != b.WithoutBall[z])
            return false;
    }
    return true;
}

} // namespace

class TestDragController : public QObject {
    Q_OBJECT
private slots:
    void hitTestTakesTheTopmostWithinTenPixels();
    void hitTestUsesTheZoneAndPhase();
    void hintTextAndPlaces();
    void previewIsSteppedOrSmooth();
    void pressMoveRelease();
    void rightPressDuringADragMovesTheDropToTheNewZone();
    void releaseOutsideTheGridStoresNothing();
};

void TestDragController::hitTestTakesTheTopmostWithinTenPixels() {
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[2].WithBall[5] = {10, 10};
    tactic.Players[7].WithBall[5] = {10, 10};
    const TPixel p = TestPoint({10, 10});
    QCOMPARE(p.Y, OwnCentre({10, 10}).Y - 1);
    QCOMPARE(HitTest(tactic, 5, true, p.X, p.Y), 7);
    // Every corner of the 21 x 21 square grabs; one pixel further does not.
    for (int dx : {-10, 10})
        for (int dy : {-10, 10})
            QCOMPARE(HitTest(tactic, 5, true, p.X + dx, p.Y + dy), 7);
    for (auto [dx, dy] : {std::pair{11, 0}, std::pair{-11, 0}, std::pair{0, 11}, std::pair{0, -11},
                          std::pair{11, 11}})
        QCOMPARE(HitTest(tactic, 5, true, p.X + dx, p.Y + dy), -1);
    tactic.Players[7].WithBall[5] = {12, 10};
    QCOMPARE(HitTest(tactic, 5, true, p.X, p.Y), 2);
}

void TestDragController::hitTestUsesTheZoneAndPhase() {
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[4].WithoutBall[3] = {5, 30};
    const TPixel p = TestPoint({5, 30});
    QCOMPARE(HitTest(tactic, 3, false, p.X, p.Y), 4);
    QCOMPARE(HitTest(tactic, 3, true, p.X, p.Y), -1);
    QCOMPARE(HitTest(tactic, 4, false, p.X, p.Y), -1);
    QCOMPARE(HitTest(tactic, 12, false, p.X, p.Y), -1);
}

void TestDragController::hintTextAndPlaces() {
    QCOMPARE(HintText({3, 35}), std::string("New position: X=3 Y=35"));
    QCOMPARE(HintText({26, 0}), std::string("New position: X=26 Y=0"));
    // Below right of the disc, never right of 180 or below 360.
    QCOMPARE(HintPlace({100, 100}), (TPixel{111, 111}));
    QCOMPARE(HintPlace({169, 349}), (TPixel{180, 360}));
    QCOMPARE(HintPlace({300, 390}), (TPixel{180, 360}));
    QCOMPARE(HintPlace({168, 390}), (TPixel{179, 360}));
    QCOMPARE(LabelPlace({100, 100}, 8), (TPixel{97, 93}));
    QCOMPARE(LabelPlace({100, 100}, 9), (TPixel{93, 93}));
    QCOMPARE(LabelPlace({100, 100}, 10), (TPixel{93, 93}));
}

void TestDragController::previewIsSteppedOrSmooth() {
    const TPixel centre = TestPoint({10, 20});
    for (int dx = -5; dx <= 5; ++dx) {
        const int x = centre.X + dx;
        const auto stepped = PreviewAt(x, centre.Y, false, 3);
        const auto smooth = PreviewAt(x, centre.Y, true, 3);
        QVERIFY(stepped && smooth);
        // Same cell and read-out either way; only the disc follows the pointer.
        QCOMPARE(stepped->Cell, smooth->Cell);
        QCOMPARE(stepped->Hint, smooth->Hint);
        QCOMPARE(smooth->Centre, (TPixel{x, centre.Y}));
        QCOMPARE(stepped->Centre, TestPoint(stepped->Cell));
        QCOMPARE(stepped->HintAt, HintPlace(stepped->Centre));
        QCOMPARE(smooth->LabelAt, LabelPlace(smooth->Centre, 3));
    }
    QVERIFY(!PreviewAt(329, 200, false, 0));
    QVERIFY(!PreviewAt(2, 200, true, 0));
    QVERIFY(!PreviewAt(100, 397, false, 0));
    QVERIFY(!PreviewAt(100, 1, false, 0));
}

void TestDragController::pressMoveRelease() {
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[6].WithBall[5] = {10, 10};
    const TCmTactic before = tactic;
    TDragController drag;
    const TPixel p = TestPoint({10, 10});

    // A press that hits nobody changes nothing.
    TPressResult press = drag.Press(TMouseButton::Left, 5, 5, tactic, 5, true);
    QVERIFY(!drag.Dragging() && !press.HidePointer && !press.Redraw);
    QVERIFY(!drag.Move(100, 100, false).Redraw);
    QVERIFY(!drag.Release(100, 100, tactic, 5, true).Redraw);
    // Other buttons do nothing either.
    QVERIFY(!drag.Press(TMouseButton::Other, p.X, p.Y, tactic, 5, true).HidePointer);
    QVERIFY(!drag.Dragging());

    press = drag.Press(TMouseButton::Left, p.X, p.Y, tactic, 5, true);
    QVERIFY(drag.Dragging() && press.HidePointer && !press.Redraw);
    QCOMPARE(press.BallZone, 5);
    QCOMPARE(drag.DragPlayer(), 6);
    const TMoveResult move = drag.Move(25, 396, false);
    QVERIFY(move.Redraw && move.Preview);
    QCOMPARE(move.Preview->Player, 6);
    QCOMPARE(tactic.Players[6].WithBall[5], (TCmPos{10, 10})); // stored only at the drop

    const TReleaseResult release = drag.Release(26, 396, tactic, 5, true);
    QVERIFY(release.ShowPointer && release.Redraw && release.Stored);
    QCOMPARE(tactic.Players[6].WithBall[5], (TCmPos{1, 0}));
    QVERIFY(OthersUnchanged(tactic.Players[6], before.Players[6], 5, true));
    for (int i = 0; i < 11; ++i)
        if (i != 6)
            QVERIFY(OthersUnchanged(tactic.Players[i], before.Players[i], -1, true));
    QVERIFY(!drag.Dragging());
    QVERIFY(!drag.Cancel());
}

void TestDragController::rightPressDuringADragMovesTheDropToTheNewZone() {
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[0].WithoutBall[5] = {5, 5};
    TDragController drag;
    const TPixel p = TestPoint({5, 5});
    QVERIFY(drag.Press(TMouseButton::Left, p.X, p.Y, tactic, 5, false).HidePointer);
    const TPressResult right = drag.Press(TMouseButton::Right, 300, 50, tactic, 5, false);
    QCOMPARE(right.BallZone, 11);
    QVERIFY(right.Redraw && !right.HidePointer);
    QVERIFY(drag.Dragging());
    QVERIFY(drag.Release(25, 396, tactic, right.BallZone, false).Stored);
    QCOMPARE(tactic.Players[0].WithoutBall[11], (TCmPos{0, 0}));
    QCOMPARE(tactic.Players[0].WithoutBall[5], (TCmPos{5, 5}));
}

void TestDragController::releaseOutsideTheGridStoresNothing() {
    for (auto [x, y] :
         {std::pair{329, 200}, std::pair{400, 200}, std::pair{2, 200}, std::pair{-30, 200},
          std::pair{100, 397}, std::pair{100, 1}, std::pair{100, -50}}) {
        TCmTactic tactic = Uniform({200, 200});
        tactic.Players[9].WithBall[0] = {13, 18};
        TDragController drag;
        const TPixel p = TestPoint({13, 18});
        QVERIFY(drag.Press(TMouseButton::Left, p.X, p.Y, tactic, 0, true).HidePointer);
        const TReleaseResult release = drag.Release(x, y, tactic, 0, true);
        QVERIFY(release.ShowPointer && release.Redraw && !release.Stored);
        QCOMPARE(tactic.Players[9].WithBall[0], (TCmPos{13, 18}));
    }
}

QTEST_APPLESS_MAIN(TestDragController)
#include "test_dragcontroller.moc"
