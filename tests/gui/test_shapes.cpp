// Shapes: counterparts on the demo tactics, properties over random tactics, the keys.
#include "FormHarness.h"
#include "document/Shapes.h"
#include "editor/ZonesWindow.h"
#include "pitch/Overview.h"

using namespace shapes;

namespace {

const QString Demo = QStringLiteral(PW_SOURCE_DIR "/examples/demo-prefix/drive_c/CM0001/tactics/");

// Random places, some off the pitch; near mirror images paired in the middle zones.
TPositions RandomPositions(QRandomGenerator& random, bool offPitch) {
    TPositions p;
    for (auto& player : p)
        for (auto& phase : player)
            for (TCmPos& pos : phase)
                pos = {random.bounded(offPitch ? 40 : 27), random.bounded(offPitch ? 40 : 36)};
    for (size_t k = 0; k < 40; ++k) { // players 2..11 in pairs, four zones, two phases
        const TCmPos a = p[1 + k % 5 * 2][k / 20][4 + k / 5 % 4];
        p[2 + k % 5 * 2][k / 20][4 + k / 5 % 4] = {
            std::clamp(26 - a.X + random.bounded(-1, 2), 0, 26),
            std::clamp(a.Y + random.bounded(-1, 2), 0, 35)};
    }
    return p;
}

} // namespace

class TestShapes : public QObject, private guitest::TFormFixture {
    Q_OBJECT
private slots:
    void counterparts_data() {
        QTest::addColumn<QString>("tactic");
        QTest::addColumn<int>("off"); // cells player 6 stands off his place in the middle zone
        QTest::addColumn<QString>("pairs");
        QTest::newRow("442") << "442" << 0 << "2 ↔ 5, 3 ↔ 4, 6 ↔ 9, 7 ↔ 8, 10 ↔ 11; alone: 1";
        QTest::newRow("433") << "433" << 0 << "2 ↔ 5, 3 ↔ 4, 6 ↔ 8, 9 ↔ 11; alone: 1, 7, 10";
        QTest::newRow("532") << "532" << 0 << "2 ↔ 6, 3 ↔ 5, 7 ↔ 9, 10 ↔ 11; alone: 1, 4, 8";
        QTest::newRow("within a cell")
            << "442" << 1 << "2 ↔ 5, 3 ↔ 4, 6 ↔ 9, 7 ↔ 8, 10 ↔ 11; alone: 1";
        QTest::newRow("two cells off")
            << "442" << 2 << "2 ↔ 5, 3 ↔ 4, 7 ↔ 8, 10 ↔ 11; alone: 1, 6, 9";
    }
    // The keeper always alone; the demo tactics, symmetric, mirror onto themselves.
    void counterparts() {
        QFETCH(QString, tactic);
        QFETCH(int, off);
        QFETCH(QString, pairs);
        TTacticDocument doc({}, {});
        QCOMPARE(doc.LoadMain(Demo + tactic + ".tct").Error, TCmError::None);
        TTacticDocument::TPositions positions = doc.Positions();
        positions[5][1][5].X += off;
        QCOMPARE(PairsText(Counterparts(positions, 1, false), "alone"), pairs);
        QVERIFY(off != 0 || Apply(TCommand::MirrorAll, positions, 0, true) == positions);
    }

    // Each command's undo gives the region back; it writes only places on the pitch;
    // twice mirrored is the tactic again wherever the mirror finds the same pairs.
    void properties() {
        TTacticDocument doc({}, {});
        QRandomGenerator random(23);
        for (int round = 0; round < 600; ++round) {
            doc.SetPositions(RandomPositions(random, round % 2 == 0), "random");
            const QByteArray before = guitest::Encoded(doc.Main());
            const TPositions old = doc.Positions();
            const TPositions made = Apply(TCommand(round % CommandCount), old, random.bounded(12),
                                          random.bounded(2) == 1, random.bounded(12));
            const int steps = doc.History().count();
            QCOMPARE(doc.SetPositions(made, "command"), made != old);
            for (size_t i = 0; i < made.size() * 24; ++i) {
                const TCmPos pos = made[i / 24][i / 12 % 2][i % 12];
                QVERIFY(pos == old[i / 24][i / 12 % 2][i % 12] ||
                        (pos.X >= 0 && pos.X <= 26 && pos.Y >= 0 && pos.Y <= 35));
            }
            doc.History().setIndex(steps);
            QCOMPARE(guitest::Encoded(doc.Main()), before);
            const TPositions once = Apply(TCommand::MirrorAll, old, 0, true);
            bool samePairs = round % 2 == 1;
            for (int row = 0; row < 8; ++row)
                samePairs = samePairs && Counterparts(once, row % 4, row < 4) ==
                                             Counterparts(old, row % 4, row < 4);
            QVERIFY(!samePairs || Apply(TCommand::MirrorAll, once, 0, true) == old);
        }
    }

    // Mirrors ask first, listing pairs; a copy waits for a click, which Escape ends.
    void keys_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("answer"); // or the overview's zone clicked, -1 Escape
        QTest::newRow("whole yes")
            << "Ctrl+Shift+M" << int(TCommand::MirrorAll) << int(QMessageBox::Yes);
        QTest::newRow("whole no") << "Ctrl+Shift+M" << -1 << int(QMessageBox::No);
        QTest::newRow("flank") << "Ctrl+M" << int(TCommand::MirrorFlank) << int(QMessageBox::Yes);
        QTest::newRow("row") << "Ctrl+Shift+R" << int(TCommand::ToRow) << 0;
        QTest::newRow("column") << "Ctrl+Shift+L" << int(TCommand::ToColumn) << 0;
        QTest::newRow("phase") << "Ctrl+Shift+H" << int(TCommand::ToPhase) << 0;
        QTest::newRow("zone 3") << "Ctrl+Shift+C" << int(TCommand::ToZone) << 2;
        QTest::newRow("escape") << "Ctrl+Shift+C" << -1 << -1;
    }
    void keys() {
        QFETCH(QString, key);
        QFETCH(int, command);
        QFETCH(int, answer);
        StartWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
        guitest::Load(*Form, Dialogs, 1, Game->WriteTactic("t.tct", guitest::SampleTactic(3)));
        const TPositions old = Form->Document().Positions();
        Dialogs.clearLog();
        const bool mirror = key.contains('M');
        if (mirror)
            Dialogs.setNextAnswer(QMessageBox::StandardButton(answer));
        QTest::keySequence(Form.get(), QKeySequence(key));
        if (TZonesWindow* zones = Form->ZonesWindow()) {
            if (answer < 0)
                QTest::keyClick(zones->View(), Qt::Key_Escape);
            QTest::mouseClick(zones->View(), Qt::LeftButton, {},
                              pitch::TOverviewLayout(zones->View()->size()).PitchRect(2).center());
        }
        QCOMPARE(Dialogs.messages().size(), qsizetype(mirror));
        QVERIFY(!mirror || Dialogs.messages()[0].Text.contains("themselves: 1"));
        const TPositions want = command < 0 ? old : Apply(TCommand(command), old, 5, true, answer);
        QVERIFY(Form->Document().Positions() == want);
        QCOMPARE(const_cast<TTacticDocument&>(Form->Document()).History().count(), command >= 0);
        StopWindow();
    }
};

QTEST_MAIN(TestShapes)
#include "test_shapes.moc"
