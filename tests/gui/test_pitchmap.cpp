// The maps between grid positions and pixels, the ball zones, the drag
// controller and the picture copy without a window.
#include "Tactics.h"
#include "pitch/DragController.h"
#include "pitch/ImageOps.h"

#include <QTest>

using namespace pitch;
using guitest::Uniform;

class TestPitchMap : public QObject {
    Q_OBJECT
private slots:
    void centres();
    void pixelToCell();
    void zoneAt();
    void hitTest();
    void dragStates();
    void copyPicture();
};

void TestPitchMap::centres() {
    // Position, own centre, opponent centre; the test point is one pixel above the own centre.
    const int rows[][6] = {{0, 0, 13, 386, 318, 13},
                           {1, 17, 25, 205, 306, 194},
                           {13, 18, 165, 194, 166, 205},
                           {26, 35, 317, 13, 14, 386}};
    for (const auto& [x, y, ox, oy, px, py] : rows) {
        QCOMPARE(OwnCentre({x, y}), (TPixel{ox, oy}));
        QCOMPARE(OpponentCentre({x, y}), (TPixel{px, py}));
        QCOMPARE(TestPoint({x, y}), (TPixel{ox, oy - 1}));
    }
    // Dropped on its drawn centre a player lands one cell left and below; a
    // pixel right of and above it, it stays.
    for (int x = 1; x <= MaxColumn; ++x)
        for (int y = 1; y <= MaxRow; ++y) {
            const TPixel c = OwnCentre({x, y});
            QCOMPARE(PixelToCell(c.X, c.Y), (TCmPos{x - 1, y - 1}));
            QCOMPARE(PixelToCell(c.X + 1, c.Y - 1), (TCmPos{x, y}));
        }
    // Corrupt positions saturate instead of overflowing.
    const int32_t huge = std::numeric_limits<int32_t>::max();
    QVERIFY(OwnCentre({huge, -huge}).X > 100000 && OwnCentre({huge, -huge}).Y > 100000);
    QVERIFY(OpponentCentre({-huge, huge}).X > 100000 && OpponentCentre({-huge, huge}).Y > 100000);
    QCOMPARE(HitTest(Uniform({huge, -huge}), 5, true, 100, 100), -1);
}

void TestPitchMap::pixelToCell() {
    // Pixel, cell, inside the grid; truncation toward zero.
    const int rows[][5] = {{3, 396, 0, 0, 1},     {25, 376, 0, 0, 1},   {26, 375, 1, 1, 1},
                           {37, 200, 1, 17, 1},   {318, 12, 26, 35, 1}, {328, 2, 26, 35, 1},
                           {329, 200, 27, 17, 0}, {2, 200, -1, 17, 0},  {100, 397, 7, -1, 0},
                           {100, 1, 7, 36, 0},    {-20, 200, -2, 17, 0}};
    for (const auto& [x, y, cx, cy, in] : rows) {
        QCOMPARE(PixelToCell(x, y), (TCmPos{cx, cy}));
        QCOMPARE(InGrid(PixelToCell(x, y)), bool(in));
    }
    QVERIFY(!InGrid(PixelToCell(std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void TestPitchMap::zoneAt() {
    // Columns of 110 from the left, rows of 100 up from 401; points outside
    // the picture (a captured mouse) choose the nearest zone.
    const int rows[][3] = {{0, 398, 0},    {109, 302, 0},  {110, 301, 5},  {219, 202, 5},
                           {220, 201, 10}, {330, 102, 10}, {330, 101, 11}, {50, 0, 3},
                           {50, 1, 3},     {330, 0, 11},   {-40, 500, 0},  {900, -300, 11}};
    for (const auto& [x, y, zone] : rows)
        QCOMPARE(ZoneAt(x, y), zone);
}

void TestPitchMap::hitTest() {
    // Players 2 and 4 share (5, 30) in zone 3 without the ball: the higher
    // one, drawn on top, is taken. The hit box is 21 x 21, strict.
    TCmTactic tactic = Uniform({20, 2});
    tactic.Players[2].WithoutBall[3] = tactic.Players[4].WithoutBall[3] = {5, 30};
    // A zone outside the twelve hits nobody, even with players at the ends of the grids.
    tactic.Players[4].WithBall[11] = tactic.Players[4].WithoutBall[0] = {5, 30};
    const TPixel p = TestPoint({5, 30});
    // Zone, with ball, offset from the test point, player hit.
    const int rows[][5] = {{3, 0, 0, 0, 4},    {3, 0, 10, -10, 4}, {3, 0, -10, 10, 4},
                           {3, 0, 11, 0, -1},  {3, 0, -11, 0, -1}, {3, 0, 0, 11, -1},
                           {3, 0, 0, -11, -1}, {3, 1, 0, 0, -1},   {4, 0, 0, 0, -1},
                           {12, 1, 0, 0, -1},  {-1, 0, 0, 0, -1}};
    for (const auto& [zone, withBall, dx, dy, player] : rows)
        QCOMPARE(HitTest(tactic, zone, withBall != 0, p.X + dx, p.Y + dy), player);
}

void TestPitchMap::dragStates() {
    TDragController drag;
    const TCmTactic tactic = Uniform({5, 30});
    const TPixel p = TestPoint({5, 30});
    // Another button starts nothing; the pointer hides once per drag; a right
    // press mid-drag only changes the zone; the preview follows the pointer.
    QVERIFY(!drag.Press(TMouseButton::Other, p.X, p.Y, tactic, 5, true).HidePointer);
    QVERIFY(!drag.Dragging() && !drag.Move(p.X, p.Y, true) && !drag.Release(p.X, p.Y).Ended);
    QVERIFY(drag.Press(TMouseButton::Left, p.X, p.Y, tactic, 5, true).HidePointer);
    QVERIFY(!drag.Press(TMouseButton::Left, p.X, p.Y, tactic, 5, true).HidePointer);
    const TPressResult right = drag.Press(TMouseButton::Right, 300, 50, tactic, 5, true);
    QVERIFY(right.Redraw && !right.HidePointer && drag.Dragging() && right.BallZone == 11);
    QCOMPARE(drag.Move(100, 100, true)->Centre, (TPixel{100, 100}));
    QVERIFY(!drag.Move(329, 200, true));
    QVERIFY(drag.Cancel() && !drag.Dragging() && !drag.Cancel());
    // Grabbed off its centre, the disc keeps that offset, and the drop is the
    // cell nearest to the disc: moved by one cell's pitch, one cell on.
    const TPixel next = TestPoint({6, 29});
    drag.Press(TMouseButton::Left, p.X - 6, p.Y + 5, tactic, 5, true);
    QCOMPARE(drag.Move(next.X - 6, next.Y + 5, true)->Centre, next);
    QCOMPARE(drag.Release(next.X - 6, next.Y + 5, 10).Drop, (TCmPos{6, 29}));
}

// Another width or format is copied row by row, converted, as far as both reach.
void TestPitchMap::copyPicture() {
    QImage source(5, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            source.setPixel(x, y, qRgb(x * 40, y * 60, 7));
    QImage target(3, 6, QImage::Format_RGB32);
    target.fill(Qt::white);
    CopyPicture(target, source);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(target.pixel(x, y), y < 4 ? source.pixel(x, y) : qRgb(255, 255, 255));
}

QTEST_APPLESS_MAIN(TestPitchMap)
#include "test_pitchmap.moc"
