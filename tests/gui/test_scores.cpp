// Scores of one tactic and how the Compare page shows them.
#include "ComparePage.h"
#include "TacticScore.h"
#include "Tactics.h"

#include <QApplication>
#include <QProgressBar>
#include <QScreen>
#include <QtTest>

#include <limits>

using guitest::Uniform;
using pages::ScoreTactic;
using pages::TComparePage;
using pages::TTacticScore;

namespace {

int ScoreOf(const QProgressBar* bar) {
    return bar->property(TComparePage::ScoreProperty).toInt();
}

} // namespace

class TestScores : public QObject {
    Q_OBJECT
private slots:
    void uncountedPlayerZoneAndXChangeNothing();
    void oneCountedStepMovesOneScore();
    void extremesAndAverage();
    void outOfRangeCoordinates();
    void barsShowClampedScores();
    void barsFollowEverySmallChange_data();
    void barsFollowEverySmallChange();
};

void TestScores::uncountedPlayerZoneAndXChangeNothing() {
    TCmTactic tactic = Uniform({13, 18});
    const TTacticScore before = ScoreTactic(tactic);
    for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
        tactic.Players[0].WithBall[z] = {3, 35};
        tactic.Players[0].WithoutBall[z] = {3, 35};
    }
    for (TCmPlayer& player : tactic.Players) {
        player.WithBall[0] = {0, 0};
        player.WithoutBall[0] = {26, 35};
        for (int z = 1; z < TCmPlayer::ZoneCount; ++z) {
            player.WithBall[z].X = 26;
            player.WithoutBall[z].X = 0;
        }
    }
    QCOMPARE(ScoreTactic(tactic), before);
}

void TestScores::oneCountedStepMovesOneScore() {
    TCmTactic tactic = Uniform({10, 17});
    const TTacticScore base = ScoreTactic(tactic);
    // The first and last counted player and zone, and one in between.
    const int cells[][2] = {{1, 1}, {10, 11}, {5, 6}};
    for (const auto& cell : cells) {
        TCmTactic moved = tactic;
        moved.Players[cell[0]].WithBall[cell[1]].Y += 1;
        QCOMPARE(ScoreTactic(moved), (TTacticScore{base.Attack + 1, base.Defence}));
        moved = tactic;
        moved.Players[cell[0]].WithoutBall[cell[1]].Y += 1;
        QCOMPARE(ScoreTactic(moved), (TTacticScore{base.Attack, base.Defence - 1}));
    }
}

void TestScores::extremesAndAverage() {
    QCOMPARE(ScoreTactic(Uniform({0, 35})), (TTacticScore{3850, 0}));
    QCOMPARE(ScoreTactic(Uniform({26, 0})), (TTacticScore{0, 3850}));

    // Counted with-ball Y alternate 18 and 19: a mean of exactly 18.5.
    TCmTactic tactic = Uniform({13, 0});
    int n = 0;
    for (int i = 1; i < TCmTactic::PlayerCount; ++i)
        for (int z = 1; z <= 11; ++z)
            tactic.Players[i].WithBall[z].Y = 18 + (n++ % 2);
    QCOMPARE(ScoreTactic(tactic).Attack, 2035);
}

void TestScores::outOfRangeCoordinates() {
    // A byte read from a file may hold up to 255: defence goes negative.
    QCOMPARE(ScoreTactic(Uniform({0, 255})), (TTacticScore{110 * 255, 110 * (35 - 255)}));
    // Whatever lands in memory, the sums saturate instead of overflowing.
    const int32_t big = std::numeric_limits<int32_t>::max();
    const TTacticScore huge = ScoreTactic(Uniform({0, big}));
    QCOMPARE(huge.Attack, big);
    QCOMPARE(huge.Defence, std::numeric_limits<int32_t>::min());
    QCOMPARE(ScoreTactic(Uniform({0, -big})).Attack, std::numeric_limits<int32_t>::min());
}

void TestScores::barsShowClampedScores() {
    TComparePage page;
    // Start-up draws (and scores) before it sets the ranges, each maximum first.
    page.SetScores({0, 3850}, {2000, 2400});
    page.SetRanges();
    QCOMPARE(page.AttackMain()->value(), 1900);
    QCOMPARE(page.DefenceMain()->value(), 2500);
    QCOMPARE(page.AttackSecond()->value(), 2000);
    QCOMPARE(page.AttackSecond()->maximum(), 2250);
    QCOMPARE(page.DefenceSecond()->minimum(), 2200);

    page.SetScores({2035, 2300}, {3850, -24200});
    // 2035 fills 135 / 350 of its bar.
    const QProgressBar* a = page.AttackMain();
    QCOMPARE((a->value() - a->minimum()) * 350, 135 * (a->maximum() - a->minimum()));
    QCOMPARE(page.DefenceMain()->value(), 2300);
    // Out of range: full and empty, with the raw score kept.
    QCOMPARE(page.AttackSecond()->value(), 2250);
    QCOMPARE(ScoreOf(page.AttackSecond()), 3850);
    QCOMPARE(page.DefenceSecond()->value(), 2200);
    QCOMPARE(ScoreOf(page.DefenceSecond()), -24200);
}

void TestScores::barsFollowEverySmallChange_data() {
    QTest::addColumn<TTacticScore>("from");
    QTest::addColumn<TTacticScore>("to");
    QTest::newRow("attack up by 9") << TTacticScore{2020, 2300} << TTacticScore{2029, 2300};
    QTest::newRow("attack down by 1") << TTacticScore{2020, 2300} << TTacticScore{2019, 2300};
    QTest::newRow("defence down by 7") << TTacticScore{2020, 2300} << TTacticScore{2020, 2293};
    QTest::newRow("both up by 2") << TTacticScore{2100, 2400} << TTacticScore{2102, 2402};
}

void TestScores::barsFollowEverySmallChange() {
    QFETCH(TTacticScore, from);
    QFETCH(TTacticScore, to);
    // What a page shows on the screen, once drawn with `first` and then set to `then`.
    const auto onScreen = [](const TTacticScore& first, const TTacticScore& then) {
        TComparePage page;
        page.SetRanges();
        page.SetScores(first, first);
        page.show();
        QApplication::setActiveWindow(&page);
        if (!QTest::qWaitForWindowActive(&page))
            qWarning("the page is not active");
        page.repaint();
        page.SetScores(then, then);
        QTest::qWait(20);
        return page.screen()->grabWindow(page.winId()).toImage();
    };
    // A page that was drawn at `from` shows what a page drawn at `to` shows.
    QCOMPARE(onScreen(from, to), onScreen(to, to));
}

QTEST_MAIN(TestScores)
#include "test_scores.moc"
