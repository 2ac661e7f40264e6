// Dragging without a window: the preview's geometry and read-out, and what
// the hit test sees. The window's own suite drives the same with the mouse.
#include "DragController.h"
#include "Tactics.h"

#include <QTest>

using namespace pitch;
using guitest::Uniform;

class TestDragController : public QObject {
    Q_OBJECT
private slots:
    void hitTestUsesTheZoneAndPhaseAndTakesTheTopmost();
    void hintTextAndPlaces();
    void previewIsSteppedOrSmooth();
};

void TestDragController::hitTestUsesTheZoneAndPhaseAndTakesTheTopmost() {
    TCmTactic tactic = Uniform({200, 200});
    tactic.Players[2].WithoutBall[3] = {5, 30};
    tactic.Players[4].WithoutBall[3] = {5, 30};
    const TPixel p = TestPoint({5, 30});
    QCOMPARE(p.Y, OwnCentre({5, 30}).Y - 1);
    QCOMPARE(HitTest(tactic, 3, false, p.X, p.Y), 4);
    QCOMPARE(HitTest(tactic, 3, true, p.X, p.Y), -1);
    QCOMPARE(HitTest(tactic, 4, false, p.X, p.Y), -1);
    QCOMPARE(HitTest(tactic, 12, false, p.X, p.Y), -1);
}

void TestDragController::hintTextAndPlaces() {
    QCOMPARE(HintText({3, 35}), std::string("New position: X=3 Y=35"));
    // Below right of the disc, never right of 180 or below 360.
    QCOMPARE(HintPlace({100, 100}), (TPixel{111, 111}));
    QCOMPARE(HintPlace({169, 349}), (TPixel{180, 360}));
    QCOMPARE(HintPlace({300, 390}), (TPixel{180, 360}));
    QCOMPARE(HintPlace({168, 390}), (TPixel{179, 360}));
    // Two-digit numbers (players 9 and 10) start 4 pixels further left.
    QCOMPARE(LabelPlace({100, 100}, 8), (TPixel{97, 93}));
    QCOMPARE(LabelPlace({100, 100}, 9), (TPixel{93, 93}));
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
    }
    // Outside the grid there is no preview.
    for (auto [x, y] :
         {std::pair{329, 200}, std::pair{2, 200}, std::pair{100, 397}, std::pair{100, 1}})
        QVERIFY(!PreviewAt(x, y, false, 0));
}

QTEST_APPLESS_MAIN(TestDragController)
#include "test_dragcontroller.moc"
