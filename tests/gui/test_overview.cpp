// The zones overview: its pictures against the goldens in tests/data/overview,
// and its window driven with real mouse events.
#include "FormHarness.h"
#include "editor/ZonesWindow.h"
#include "pitch/Fonts.h"
#include "pitch/Overview.h"
#include "pitch/Playback.h"
#include "tactic/Cm_codes.h"

using namespace guitest;
using namespace pitch;

namespace {

void CompareGolden(const QImage& image, const QString& name) {
    guitest::CompareGolden(image, QStringLiteral(PW_OVERVIEW_GOLDEN_DIR), name);
}

} // namespace

class TestOverview : public QObject, private TFormFixture {
    Q_OBJECT
    TZonesWindow* Zones() const { return Form->ZonesWindow(); }
    void OpenZones() {
        Load(*Form, Dialogs, 1, Game->WriteTactic("main.tct", SampleTactic(1)));
        Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", SampleTactic(4)));
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
        QTest::keyClick(Form.get(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(Zones() && Zones()->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(Zones()));
    }
    void ClickZone(int zone) {
        TOverviewView* view = Zones()->View();
        QTest::mouseClick(view, Qt::LeftButton, {},
                          TOverviewLayout(view->size()).PitchRect(zone).center());
    }

private slots:
    void init() { StartWindow(); }
    void cleanup() { StopWindow(); }
    void pictures_data();
    void pictures();
    void clicks_data();
    void clicks();
    void stops_data();
    void stops();
};

void TestOverview::pictures_data() {
    QTest::addColumn<bool>("withBall");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<std::vector<int>>("route");
    const auto hidden = int(TSecondTactic::Hidden);
    const auto same = int(TSecondTactic::Same);
    const auto opponent = int(TSecondTactic::Opponent);
    const QSize small(390, 600);
    QTest::newRow("with-ball") << true << hidden << small << std::vector<int>{};
    QTest::newRow("without-ball") << false << hidden << small << std::vector<int>{};
    QTest::newRow("compare") << true << same << small << std::vector<int>{};
    QTest::newRow("anti-without-ball") << false << opponent << small << std::vector<int>{};
    // Large enough for the numbers; a route through one zone twice.
    QTest::newRow("anti-numbers-route")
        << true << opponent << QSize(840, 1150) << std::vector<int>{1, 5, 6, 5, 10};
}

void TestOverview::pictures() {
    QFETCH(bool, withBall);
    QFETCH(int, mode);
    QFETCH(QSize, size);
    QFETCH(std::vector<int>, route);
    pitch::InstallFontFallbacks();
    const TCmTactic main = SampleTactic(1);
    const TCmTactic second = SampleTactic(4);
    TScene scene;
    scene.Main = &main;
    scene.Second = &second;
    scene.WithBall = withBall;
    scene.SecondMode = TSecondTactic(mode);
    scene.BallZone = 6;
    TOverview overview(WindowFontFace());
    const QImage& picture = overview.Draw(scene, route, size, 1.0);
    QCOMPARE(picture.size(), size);
    CompareGolden(picture, QTest::currentDataTag());
    // At twice the pixels the same layout, each small pitch twice as fine.
    const QImage sharp = overview.Draw(scene, route, size, 2.0);
    QCOMPARE(sharp.size(), size * 2);
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
}

void TestOverview::clicks_data() {
    QTest::addColumn<bool>("routeOn");
    QTest::addColumn<std::vector<int>>("clicked");
    QTest::addColumn<int>("zone");
    QTest::addColumn<std::vector<int>>("route");
    QTest::newRow("choose zone 0") << false << std::vector<int>{0} << 0 << std::vector<int>{};
    QTest::newRow("choose 11 then 3")
        << false << std::vector<int>{11, 3} << 3 << std::vector<int>{};
    QTest::newRow("route") << true << std::vector<int>{1, 9, 9} << 5 << std::vector<int>{1, 9, 9};
}

void TestOverview::clicks() {
    QFETCH(bool, routeOn);
    QFETCH(std::vector<int>, clicked);
    QFETCH(int, zone);
    QFETCH(std::vector<int>, route);
    OpenZones();
    if (QTest::currentTestFailed())
        return;
    if (routeOn)
        Find<QToolButton>(*Zones(), "BtnRoute")->click();
    for (int z : clicked)
        ClickZone(z);
    QCOMPARE(Form->BallZone(), zone);
    QCOMPARE(Zones()->Route(), route);
    // The big pitch and the overview show the zone chosen.
    QCOMPARE(Form->Renderer().Picture().pixel(ZoneFrame(zone).Left, ZoneFrame(zone).Top),
             qRgb(255, 255, 0));
    const QRect chosen = TOverviewLayout(Zones()->View()->size()).PitchRect(zone);
    QCOMPARE(Zones()->View()->Picture().pixel(chosen.topLeft() - QPoint(2, 2)), qRgb(255, 255, 0));
    TOverviewView* view = Zones()->View();
    QVERIFY(view->HintAt(chosen.center()).startsWith(QStringLiteral("Ball zone %1").arg(zone + 1)));
    // Discs too small for their numbers name their player in the hint.
    QVERIFY(!TOverview::NumbersShown(view->size()));
    const TPixel centre = OwnCentre(Form->MainTactic().Players[10].WithBall[zone]);
    const QPointF disc = TOverviewLayout(view->size()).Map(zone, QPointF(centre.X, centre.Y));
    QVERIFY(view->HintAt(disc.toPoint()).endsWith(QStringLiteral("\nPlayer 11")));
    // Ctrl+G closes it again.
    QTest::keyClick(Form.get(), Qt::Key_G, Qt::ControlModifier);
    QVERIFY(!Zones()->isVisible());
}

void TestOverview::stops_data() {
    QTest::addColumn<QString>("action");
    for (const char* action : {"edit", "drag", "undo", "load"})
        QTest::newRow(action) << QString::fromLatin1(action);
}

// Play runs without a trace in the document, and whatever changes what it
// shows ends it, the big pitch left on the zone the ball was in.
void TestOverview::stops() {
    QFETCH(QString, action);
    OpenZones();
    if (QTest::currentTestFailed())
        return;
    auto& history = const_cast<TTacticDocument&>(Form->Document()).History();
    // Player 1's third instruction, to another of its values.
    const auto values = cm_codes::PlayerInstrValues(3);
    const std::string_view value = values[(3 + 1 + 1) % values.size()];
    const QString other = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    if (action == "undo")
        const_cast<TTacticDocument&>(Form->Document()).MovePlayer(0, 5, true, {1, 1});
    const int steps = history.count();
    const bool modified = Form->Document().IsModified();
    const QByteArray file = ReadAll(Form->MainTacticFile());

    QSignalSpy stopped(&Form->Playback(), &TPlayback::stopped);
    QTest::keyClick(Zones()->View(), Qt::Key_Space);
    QVERIFY(Form->Playback().Playing());
    QTest::qWait(300);
    QVERIFY(Form->Playback().Playing());
    QCOMPARE(history.count(), steps);
    QCOMPARE(Form->Document().IsModified(), modified);
    QCOMPARE(ReadAll(Form->MainTacticFile()), file);

    QWidget* image = Find(*Form, "Image");
    if (action == "edit") {
        PickInGrid(*Form, 3, 1, other);
    } else if (action == "drag") {
        const TCmPos pos =
            Form->MainTactic().Players[0].WithBall[StepZone(Form->Playback().Current())];
        const TPixel from = TestPoint(pos);
        QTest::mousePress(image, Qt::LeftButton, {}, QPoint(from.X, from.Y));
        QVERIFY(!Form->Playback().Active());
        QTest::mouseMove(image, QPoint(from.X + 30, from.Y));
        QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(from.X + 30, from.Y));
    } else if (action == "undo") {
        // Back in the main window from the overview's.
        QApplication::setActiveWindow(Form.get());
        QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    } else {
        Load(*Form, Dialogs, 2, Game->WriteTactic("other.tct", SampleTactic(7)));
    }
    QVERIFY(!Form->Playback().Active());
    QCOMPARE(stopped.size(), 1);
    // An undo shows the zone of its step; everything else stays where the ball was.
    if (action != "undo")
        QCOMPARE(Form->BallZone(), stopped[0][0].toInt());
}

QTEST_MAIN(TestOverview)
#include "test_overview.moc"
