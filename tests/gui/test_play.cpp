// Play without a window: where the discs glide between two zones, the
// default route, and the clock's stepping, pausing and stopping.
#include "pitch/Playback.h"
#include "pitch/SceneLayout.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>

using namespace pitch;

namespace {

// Positions mostly on the grid, now and then a corrupt one off it.
TCmTactic RandomTactic(std::mt19937& random) {
    std::uniform_int_distribution<int> x(-4, MaxColumn + 4), y(-4, MaxRow + 4);
    TCmTactic tactic;
    for (TCmPlayer& player : tactic.Players)
        for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
            player.WithBall[z] = {x(random), y(random)};
            player.WithoutBall[z] = {x(random), y(random)};
        }
    return tactic;
}

// The same tactic with every position taken onto the grid.
TCmTactic OnGrid(TCmTactic tactic) {
    for (TCmPlayer& player : tactic.Players)
        for (auto* grid : {&player.WithBall, &player.WithoutBall})
            for (TCmPos& pos : *grid)
                pos = {std::clamp(pos.X, 0, MaxColumn), std::clamp(pos.Y, 0, MaxRow)};
    return tactic;
}

std::vector<TPixelF> Centres(const TScene& scene) {
    std::vector<TPixelF> centres;
    for (const TDiscPlace& disc : SceneDiscs(scene))
        centres.push_back(disc.Centre);
    return centres;
}

} // namespace

class TestPlay : public QObject {
    Q_OBJECT
private slots:
    void glide();
    void defaultRoute();
    void controls_data();
    void controls();
    void pauseBetweenZones();
};

// Over random tactics, zones and pages: a step starts and ends exactly on the
// still pictures of its zones, every frame stays on the grid's pixels and no
// disc turns back on the way.
void TestPlay::glide() {
    std::mt19937 random(22);
    std::uniform_int_distribution<int> zone(0, TCmPlayer::ZoneCount - 1);
    constexpr int frames = 30;
    for (int round = 0; round < 60; ++round) {
        const TCmTactic main = RandomTactic(random), second = RandomTactic(random);
        const TCmTactic mainOnGrid = OnGrid(main), secondOnGrid = OnGrid(second);
        const auto mode = round % 2 ? TSecondTactic::Opponent : TSecondTactic::Same;
        const int from = zone(random), to = zone(random);
        const bool withBall = round % 3 != 0;
        TScene still{&mainOnGrid, &secondOnGrid, from, withBall, mode};
        TScene play{&main, &second, from, withBall, mode};
        play.Step = TPlayStep{from, to, 0.0};
        const std::vector<TPixelF> start = Centres(still);
        QCOMPARE(Centres(play), start);
        play.Step->T = 1.0;
        still.BallZone = to;
        const std::vector<TPixelF> end = Centres(still);
        QCOMPARE(Centres(play), end);
        std::vector<TPixelF> last = start;
        for (int f = 1; f <= frames; ++f) {
            play.Step->T = Ease(double(f) / frames);
            const std::vector<TPixelF> now = Centres(play);
            for (std::size_t i = 0; i < now.size(); ++i) {
                // The grid's pixels: own orientation, the half turn, the second's offset.
                QVERIFY(now[i].X >= 13 && now[i].X <= 320 && now[i].Y >= 13 && now[i].Y <= 388);
                QVERIFY((now[i].X - last[i].X) * (end[i].X - start[i].X) >= 0);
                QVERIFY((now[i].Y - last[i].Y) * (end[i].Y - start[i].Y) >= 0);
                QVERIFY((now[i].X - last[i].X) * (end[i].X - now[i].X) >= 0);
                QVERIFY((now[i].Y - last[i].Y) * (end[i].Y - now[i].Y) >= 0);
            }
            last = now;
        }
    }
}

void TestPlay::defaultRoute() {
    std::vector<int> zones = DefaultRoute();
    for (std::size_t i = 1; i < zones.size(); ++i) {
        const int a = zones[i - 1], b = zones[i];
        QVERIFY2(std::abs(a / 4 - b / 4) <= 1 && std::abs(a % 4 - b % 4) <= 1, "zones that border");
    }
    std::sort(zones.begin(), zones.end());
    std::vector<int> all(TCmPlayer::ZoneCount);
    std::iota(all.begin(), all.end(), 0);
    QCOMPARE(zones, all);
}

// A script of calls: pN plays from zone N, "pause", "+" and "-" step, "stop",
// "r..." sets the route (zones after the r, comma-separated).
void TestPlay::controls_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("at");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("stops");
    QTest::addRow("plays from a zone") << "p9" << 9 << true << true << "";
    QTest::addRow("a zone off the route: its start") << "r2,6 p5" << 2 << true << true << "";
    QTest::addRow("pause keeps the place") << "p9 pause" << 9 << false << true << "";
    QTest::addRow("paused, play resumes there") << "p9 pause p3" << 9 << true << true << "";
    QTest::addRow("steps back around the route") << "p0 - -" << 11 << false << true << "";
    QTest::addRow("steps on around the route") << "p11 + + +" << 4 << false << true << "";
    QTest::addRow("a step with no play: from the start") << "+" << 4 << false << true << "";
    QTest::addRow("stop names the zone, starts over") << "p9 + stop" << 0 << false << false << "5";
    QTest::addRow("stop with no play says nothing") << "stop pause" << 0 << false << false << "";
    QTest::addRow("a new route ends play") << "p9 r3,7" << 3 << false << false << "9";
    QTest::addRow("bad zones dropped") << "r-1,12,6 p6 +" << 6 << false << true << "";
    QTest::addRow("no zones: the default route") << "r-1 +" << 4 << false << true << "";
}

void TestPlay::controls() {
    QFETCH(QString, script);
    QFETCH(int, at);
    TPlayback playback;
    QSignalSpy stopped(&playback, &TPlayback::stopped);
    QStringList stops;
    connect(&playback, &TPlayback::stopped, [&](int zone) { stops << QString::number(zone); });
    for (const QString& call : script.split(' ')) {
        if (call == "pause")
            playback.Pause();
        else if (call == "stop")
            playback.Stop();
        else if (call == "+" || call == "-")
            playback.Step(call == "+" ? 1 : -1);
        else if (call.startsWith('p'))
            playback.Play(call.mid(1).toInt());
        else {
            std::vector<int> route;
            for (const QString& z : call.mid(1).split(',', Qt::SkipEmptyParts))
                route.push_back(z.toInt());
            playback.SetRoute(route);
        }
    }
    // Whatever else happens, the ball stands at a zone (nothing waited for time to pass).
    QCOMPARE(playback.Current(), (TPlayStep{at, at, 0.0}));
    QTEST(playback.Playing(), "playing");
    QTEST(playback.Active(), "active");
    QTEST(stops.join(','), "stops");
    // The timer runs exactly while playing.
    QCOMPARE(playback.findChild<QTimer*>("PlayTimer")->isActive(), playback.Playing());
}

// Paused while gliding, the steps go to the zone behind and the one ahead,
// and no frame comes while paused.
void TestPlay::pauseBetweenZones() {
    TPlayback playback;
    playback.SetSpeed(TPlaySpeed::Slow);
    QSignalSpy frames(&playback, &TPlayback::frame);
    playback.Play(5);
    QTRY_VERIFY(playback.Current().From != playback.Current().To);
    playback.Pause();
    const TPlayStep between = playback.Current();
    QCOMPARE(between.From, 5);
    const qsizetype shown = frames.size();
    QTest::qWait(100);
    QCOMPARE(frames.size(), shown);
    playback.Step(-1);
    QCOMPARE(playback.Current(), (TPlayStep{5, 5, 0.0}));
    playback.Step(1);
    QCOMPARE(playback.Current(), (TPlayStep{1, 1, 0.0}));
    QCOMPARE(frames.size(), shown + 2);
}

QTEST_GUILESS_MAIN(TestPlay)
#include "test_play.moc"
