// The maps between grid positions and pixels of the pitch view, and the
// ball zones: the values the drawing, the hit test and the drop rely on.
#include "PitchMap.h"

#include <QTest>

using namespace pitch;

class TestPitchMap : public QObject {
    Q_OBJECT
private slots:
    void ownOrientation();
    void opponentOrientation();
    void testPointIsOnePixelAboveTheCentre();
    void pixelToCellBoundaries();
    void everyCellCentreMapsBack();
    void zonesAndTheirFrames();
    void corruptPositionsDoNotOverflow();
};

void TestPitchMap::ownOrientation() {
    const int xs[][2] = {{0, 13}, {1, 25}, {13, 165}, {26, 317}};
    for (const auto& [column, x] : xs)
        QCOMPARE(OwnCentre({column, 0}).X, x);
    const int ys[][2] = {{0, 386}, {17, 205}, {18, 194}, {35, 13}};
    for (const auto& [row, y] : ys)
        QCOMPARE(OwnCentre({0, row}).Y, y);
    QCOMPARE(OwnCentre({0, 0}), (TPixel{13, 386}));
    QCOMPARE(OwnCentre({26, 35}), (TPixel{317, 13}));
}

void TestPitchMap::opponentOrientation() {
    // The picture turned by half a turn.
    QCOMPARE(OpponentCentre({0, 0}), (TPixel{318, 13}));
    QCOMPARE(OpponentCentre({26, 35}), (TPixel{14, 386}));
    QCOMPARE(OpponentCentre({13, 18}), (TPixel{166, 205}));
}

void TestPitchMap::testPointIsOnePixelAboveTheCentre() {
    for (int x : {0, 7, 26})
        for (int y : {0, 1, 17, 18, 35}) {
            const TPixel centre = OwnCentre({x, y});
            QCOMPARE(TestPoint({x, y}), (TPixel{centre.X, centre.Y - 1}));
        }
}

void TestPitchMap::pixelToCellBoundaries() {
    // Columns: 3..25 give 0, 26..37 give 1, 318..328 give 26; beyond, outside the grid.
    const int columns[][2] = {{3, 0},    {25, 0},   {26, 1},   {37, 1}, {38, 2},
                              {318, 26}, {328, 26}, {329, 27}, {2, -1}};
    for (const auto& [x, column] : columns)
        QCOMPARE(PixelToCell(x, 200).X, column);
    // Truncation toward zero: a little left of column 0's centre is still column 0.
    QCOMPARE(PixelToCell(3, 200).X, 0);
    QCOMPARE(PixelToCell(-20, 200).X, -2);
    const int rows[][2] = {{396, 0}, {376, 0}, {375, 1}, {12, 35}, {2, 35}, {397, -1}, {1, 36}};
    for (const auto& [y, row] : rows)
        QCOMPARE(PixelToCell(100, y).Y, row);
    QVERIFY(InGrid(PixelToCell(25, 396)));
    QVERIFY(!InGrid(PixelToCell(329, 200)));
    QVERIFY(!InGrid(PixelToCell(2, 200)));
    QVERIFY(!InGrid(PixelToCell(100, 397)));
    QVERIFY(!InGrid(PixelToCell(100, 1)));
}

void TestPitchMap::everyCellCentreMapsBack() {
    // Dropped on its drawn centre a player lands one cell left and below,
    // the rounding the format always had; a pixel right of and above it, it stays.
    for (int x = 1; x <= MaxColumn; ++x)
        for (int y = 1; y <= MaxRow; ++y) {
            const TPixel c = OwnCentre({x, y});
            QCOMPARE(PixelToCell(c.X, c.Y), (TCmPos{x - 1, y - 1}));
            QCOMPARE(PixelToCell(c.X + 1, c.Y - 1), (TCmPos{x, y}));
        }
}

void TestPitchMap::zonesAndTheirFrames() {
    // Columns of 110 from the left, rows of 100 from the bottom (401).
    QCOMPARE(ZoneAt(0, 398), 0);
    QCOMPARE(ZoneAt(109, 302), 0);
    QCOMPARE(ZoneAt(110, 301), 5);
    QCOMPARE(ZoneAt(219, 202), 5);
    QCOMPARE(ZoneAt(220, 201), 10);
    QCOMPARE(ZoneAt(330, 102), 10);
    QCOMPARE(ZoneAt(330, 101), 11);
    // The top two rows and the last column still choose a zone of row 3 and column 2.
    QCOMPARE(ZoneAt(50, 0), 3);
    QCOMPARE(ZoneAt(50, 1), 3);
    QCOMPARE(ZoneAt(330, 0), 11);
    // Outside the picture (the mouse is captured during a drag): the nearest zone.
    QCOMPARE(ZoneAt(-40, 500), 0);
    QCOMPARE(ZoneAt(900, -300), 11);

    const TZoneFrame five = ZoneFrame(5);
    QCOMPARE((QList<int>{five.Left, five.Top, five.Right, five.Bottom}),
             (QList<int>{113, 203, 217, 297}));
    const TZoneFrame zero = ZoneFrame(0);
    QCOMPARE((QList<int>{zero.Left, zero.Top, zero.Right, zero.Bottom}),
             (QList<int>{3, 303, 107, 397}));
    const TZoneFrame eleven = ZoneFrame(11);
    QCOMPARE((QList<int>{eleven.Left, eleven.Top, eleven.Right, eleven.Bottom}),
             (QList<int>{223, 3, 327, 97}));
    for (int z = 0; z < 12; ++z)
        QCOMPARE(OppositeZone(OppositeZone(z)), z);
    QCOMPARE(OppositeZone(0), 11);
}

void TestPitchMap::corruptPositionsDoNotOverflow() {
    const int32_t huge = std::numeric_limits<int32_t>::max();
    const TPixel far = OwnCentre({huge, -huge});
    QVERIFY(far.X > 100000);
    QVERIFY(far.Y > 100000);
    const TPixel other = OpponentCentre({-huge, huge});
    QVERIFY(other.X > 100000);
    QVERIFY(other.Y > 100000);
    QVERIFY(!InGrid(PixelToCell(std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

QTEST_APPLESS_MAIN(TestPitchMap)
#include "test_pitchmap.moc"
