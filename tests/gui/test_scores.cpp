// Scores of one tactic, as properties over random tactics, and the Compare
// page's bars.
#include "Tactics.h"
#include "pages/ComparePage.h"
#include "pages/TacticScore.h"

#include <QtTest>
#include <QtWidgets>

using namespace pages;

class TestScores : public QObject {
    Q_OBJECT
private slots:
    // Only the Y of players 2..11 in zones 1..11 count: one step of such a Y
    // moves one score by one, anything else moves none; the sums saturate.
    void scoresCountTheCountedCellsOnly() {
        QRandomGenerator random(7);
        for (int round = 0; round < 200; ++round) {
            TCmTactic tactic;
            for (TCmPlayer& player : tactic.Players)
                for (int z = 0; z < TCmPlayer::ZoneCount; ++z)
                    player.WithBall[z] = {random.bounded(27), random.bounded(36)},
                    player.WithoutBall[z] = {random.bounded(27), random.bounded(36)};
            const TTacticScore base = ScoreTactic(tactic);
            const int player = random.bounded(TCmTactic::PlayerCount);
            const int zone = random.bounded(TCmPlayer::ZoneCount);
            const int counted = player > 0 && zone > 0;
            const bool withBall = round % 2;
            TCmPos& pos = (withBall ? tactic.Players[player].WithBall
                                    : tactic.Players[player].WithoutBall)[zone];
            pos.X += 1;
            QCOMPARE(ScoreTactic(tactic), base);
            pos.Y += 1;
            QCOMPARE(ScoreTactic(tactic), (TTacticScore{base.Attack + counted * withBall,
                                                        base.Defence - counted * !withBall}));
        }
        QCOMPARE(ScoreTactic(guitest::Uniform({0, 35})), (TTacticScore{3850, 0}));
        QCOMPARE(ScoreTactic(guitest::Uniform({26, 0})), (TTacticScore{0, 3850}));
        const int32_t big = std::numeric_limits<int32_t>::max();
        QCOMPARE(ScoreTactic(guitest::Uniform({0, big})),
                 (TTacticScore{big, std::numeric_limits<int32_t>::min()}));
        QCOMPARE(ScoreTactic(guitest::Uniform({0, -big})).Attack,
                 std::numeric_limits<int32_t>::min());
    }

    // Bars: each clamped to its range, the raw score kept, repainted on every change.
    void barsShowClampedScores() {
        TComparePage page;
        page.SetScores({0, 3850}, {2000, 2400}); // the start-up scores before it sets the ranges
        page.SetRanges();
        const auto bars = [&] {
            QList<int> shown;
            for (const QProgressBar* bar :
                 {page.AttackMain(), page.AttackSecond(), page.DefenceMain(), page.DefenceSecond()})
                shown << bar->minimum() << bar->value() << bar->maximum()
                      << bar->property(TComparePage::ScoreProperty).toInt();
            return shown;
        };
        QCOMPARE(bars(), (QList<int>{1900, 1900, 2250, 0, 1900, 2000, 2250, 2000, 2200, 2500, 2500,
                                     3850, 2200, 2400, 2500, 2400}));
        page.SetScores({2035, 2300}, {3850, -24200});
        QCOMPARE(bars(), (QList<int>{1900, 2035, 2250, 2035, 1900, 2250, 2250, 3850, 2200, 2300,
                                     2500, 2300, 2200, 2200, 2500, -24200}));
    }

    // A bar drawn at one score and set to another shows what a bar drawn at that one shows.
    void barsRepaintOnEveryChange() {
        const auto onScreen = [](int first, int then) {
            TComparePage page;
            page.SetRanges();
            page.SetScores({first, first}, {first, first});
            page.show();
            QApplication::setActiveWindow(&page);
            if (!QTest::qWaitForWindowActive(&page))
                qWarning("the page is not active");
            page.repaint();
            page.SetScores({then, then}, {then, then});
            QTest::qWait(20);
            return page.screen()->grabWindow(page.winId()).toImage();
        };
        QCOMPARE(onScreen(2020, 2029), onScreen(2029, 2029));
        QCOMPARE(onScreen(2300, 2293), onScreen(2293, 2293));
    }
};

QTEST_MAIN(TestScores)
#include "test_scores.moc"
