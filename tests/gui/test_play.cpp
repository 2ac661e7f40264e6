// Play without a window: the glide between two zones, the route, the clock.
#include "pitch/Playback.h"
#include "pitch/SceneLayout.h"

#include <QSignalSpy>
#include <QTest>

#include <random>
#include <set>

using namespace pitch;
using Zones = QList<int>;

static std::vector<TPixelF> Centres(const TScene& scene) {
    std::vector<TPixelF> centres;
    for (const TDiscPlace& disc : SceneDiscs(scene))
        centres.push_back(disc.Centre);
    return centres;
}

class TestPlay : public QObject {
    Q_OBJECT
private slots:
    void glide();
    void defaultRoute();
    void controls_data();
    void controls();
};

// Random tactics (a few positions off the grid), zones and pages: a step starts
// and ends exactly on the still pictures (of the tactics taken onto the grid),
// each frame between the last and the end: no disc leaves, turns or overshoots.
void TestPlay::glide() {
    // Eased in and out alike: as slow leaving a zone as arriving at the next.
    for (double t : {0.1, 0.25, 0.5})
        QCOMPARE(Ease(t) + Ease(1 - t), 1.0);
    std::mt19937 random(22);
    std::uniform_int_distribution<int> x(-4, MaxColumn + 4), y(-4, MaxRow + 4), zone(0, 11);
    for (int round = 0; round < 60; ++round) {
        TCmTactic t[4]; // main, second, and the two taken onto the grid
        for (int k = 0; k < 4; ++k) {
            t[k] = k < 2 ? TCmTactic() : t[k - 2];
            for (TCmPlayer& player : t[k].Players)
                for (auto* grid : {&player.WithBall, &player.WithoutBall})
                    for (TCmPos& p : *grid)
                        p = k < 2
                                ? TCmPos{x(random), y(random)}
                                : TCmPos{std::clamp(p.X, 0, MaxColumn), std::clamp(p.Y, 0, MaxRow)};
        }
        const auto mode = round % 2 ? TSecondTactic::Opponent : TSecondTactic::Same;
        const int from = zone(random), to = zone(random);
        TScene still{&t[2], &t[3], from, round % 3 != 0, mode};
        TScene play{&t[0], &t[1], from, still.WithBall, mode};
        play.Step = TPlayStep{from, to, 0.0};
        std::vector<TPixelF> last = Centres(still);
        QCOMPARE(Centres(play), last);
        still.BallZone = to;
        const std::vector<TPixelF> end = Centres(still);
        for (int f = 1; f <= 30; ++f) {
            play.Step->T = Ease(f / 30.0);
            const std::vector<TPixelF> now = Centres(play);
            for (std::size_t i = 0; i < now.size(); ++i) {
                QVERIFY((now[i].X - last[i].X) * (end[i].X - now[i].X) >= 0);
                QVERIFY((now[i].Y - last[i].Y) * (end[i].Y - now[i].Y) >= 0);
            }
            last = now;
        }
        QCOMPARE(last, end);
    }
}

void TestPlay::defaultRoute() {
    const std::vector<int>& route = DefaultRoute();
    QCOMPARE(std::multiset<int>(route.begin(), route.end()),
             (std::multiset<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

// Calls at slow speed: pN plays from zone N, pause, + and - step, stop, rA,B,..
// sets the route, glide waits till the ball is between zones; then it stands.
void TestPlay::controls_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("state");
    QTest::addColumn<Zones>("stops");
    QTest::addRow("plays from a zone") << "p9" << 9 << "playing" << Zones{};
    QTest::addRow("paused, play resumes there") << "p9 pause p3" << 9 << "playing" << Zones{};
    QTest::addRow("bad zones go, off route: first") << "r6,12,2 p5" << 6 << "playing" << Zones{};
    QTest::addRow("steps back around the route") << "p0 - -" << 11 << "paused" << Zones{};
    QTest::addRow("no zones: the default, a step") << "r-1 +" << 4 << "paused" << Zones{};
    QTest::addRow("between zones, back") << "p5 glide pause -" << 5 << "paused" << Zones{};
    QTest::addRow("between zones, on") << "p5 glide +" << 1 << "paused" << Zones{};
    QTest::addRow("stop names the zone, starts over") << "p9 + stop" << 0 << "off" << Zones{5};
    QTest::addRow("stop with no play says nothing") << "stop pause" << 0 << "off" << Zones{};
    QTest::addRow("a new route ends play") << "p9 r3,7" << 3 << "off" << Zones{9};
}

void TestPlay::controls() {
    QFETCH(QString, script);
    QFETCH(int, at);
    TPlayback playback;
    playback.SetSpeed(TPlaySpeed::Slow);
    Zones stops;
    connect(&playback, &TPlayback::stopped, [&](int zone) { stops << zone; });
    for (const QString& call : script.split(' ')) {
        if (call == "pause" || call == "stop")
            call == "pause" ? playback.Pause() : playback.Stop();
        else if (call == "+" || call == "-")
            playback.Step(call == "+" ? 1 : -1);
        else if (call == "glide")
            QTRY_VERIFY(playback.Current().From != playback.Current().To);
        else if (call.startsWith('p'))
            playback.Play(call.mid(1).toInt());
        else {
            std::vector<int> route;
            for (const QString& z : call.mid(1).split(','))
                route.push_back(z.toInt());
            playback.SetRoute(route);
        }
    }
    QCOMPARE(playback.Current(), (TPlayStep{at, at, 0.0}));
    QTEST(QString(playback.Playing() ? "playing" : playback.Active() ? "paused" : "off"), "state");
    QTEST(stops, "stops");
    // Frames come only while playing: the timer runs exactly then.
    QCOMPARE(playback.findChild<QTimer*>("PlayTimer")->isActive(), playback.Playing());
}

QTEST_GUILESS_MAIN(TestPlay)
#include "test_play.moc"
