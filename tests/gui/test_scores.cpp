// Scores of one tactic and how the Compare page shows them.
#include "ComparePage.h"
#include "TacticScore.h"
#include "Tactics.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
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
    void pageLayout();
    void barsShowClampedScores();
    void rangesKeepTheShownScore();
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

void TestScores::pageLayout() {
    TComparePage page;
    struct TExpected {
        const char* Name;
        int Left, Top;
        const char* Text;
        int PointSize; // 0: the page's own
    };
    const TExpected labels[] = {
        {"AttackLab", 216, 8, "Attacking potential", 0},
        {"T1Att", 2, 32, "Main Tactic", 0},
        {"T2Att", 2, 56, "Second tactic", 0},
        {"PoorA", 88, 80, "VeryPoor", 8},
        {"NormalA", 256, 80, "Normal", 8},
        {"SuperA", 408, 80, "Superb", 8},
        {"DefenceLab", 216, 120, "Defence potential", 0},
        {"T1Def", 2, 144, "Main Tactic", 0},
        {"T2Def", 2, 168, "Second tactic", 0},
        {"PoorD", 88, 192, "VeryPoor", 8},
        {"NormalD", 256, 192, "Normal", 8},
        {"SuperD", 404, 192, "Superb", 8},
    };
    for (const TExpected& e : labels) {
        auto* label = page.findChild<QLabel*>(e.Name);
        QVERIFY2(label, e.Name);
        QCOMPARE(label->pos(), QPoint(e.Left, e.Top));
        QCOMPARE(label->text(), QString::fromLatin1(e.Text));
        QCOMPARE(label->font().pointSize(), e.PointSize ? e.PointSize : page.font().pointSize());
    }
    QVERIFY(page.findChild<QLabel*>("NormalA")->alignment() & Qt::AlignHCenter);
    QVERIFY(!(page.findChild<QLabel*>("T1Att")->alignment() & Qt::AlignHCenter));

    const QProgressBar* bars[] = {page.AttackMain(), page.AttackSecond(), page.DefenceMain(),
                                  page.DefenceSecond()};
    const char* names[] = {"AttackMain", "AttackSecond", "DefenceMain", "DefenceSecond"};
    const int tops[] = {32, 56, 144, 168};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(page.findChild<QProgressBar*>(names[i]), bars[i]);
        QCOMPARE(bars[i]->geometry(), QRect(104, tops[i], 337, 16));
        QVERIFY(!bars[i]->isTextVisible());
    }
}

void TestScores::barsShowClampedScores() {
    TComparePage page;
    page.SetRanges();
    QCOMPARE(page.AttackMain()->minimum(), 1900);
    QCOMPARE(page.AttackSecond()->maximum(), 2250);
    QCOMPARE(page.DefenceMain()->minimum(), 2200);
    QCOMPARE(page.DefenceSecond()->maximum(), 2500);

    page.SetScores({2035, 2300}, {3850, -24200});
    QCOMPARE(page.AttackMain()->value(), 2035);
    const QProgressBar* a = page.AttackMain();
    QCOMPARE((a->value() - a->minimum()) * 350, 135 * (a->maximum() - a->minimum()));
    QCOMPARE(page.DefenceMain()->value(), 2300);
    // Out of range: full and empty, with the raw score kept.
    QCOMPARE(page.AttackSecond()->value(), 2250);
    QCOMPARE(ScoreOf(page.AttackSecond()), 3850);
    QCOMPARE(page.DefenceSecond()->value(), 2200);
    QCOMPARE(ScoreOf(page.DefenceSecond()), -24200);

    // Whatever the scores, the labels stay as they are.
    QCOMPARE(page.findChild<QLabel*>("NormalD")->text(), QStringLiteral("Normal"));
}

void TestScores::rangesKeepTheShownScore() {
    // Start-up draws (and scores) before it sets the ranges.
    TComparePage page;
    page.SetScores({0, 3850}, {2000, 2400});
    page.SetRanges();
    QCOMPARE(page.AttackMain()->value(), 1900);
    QCOMPARE(page.DefenceMain()->value(), 2500);
    QCOMPARE(page.AttackSecond()->value(), 2000);
    QCOMPARE(page.DefenceSecond()->value(), 2400);
}

QTEST_MAIN(TestScores)
#include "test_scores.moc"
