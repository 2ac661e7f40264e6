// Copied and mirrored shapes: counterparts on the demo tactics, and
// properties of every command over random tactics.
#include "document/Shapes.h"
#include "pitch/PitchMap.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

using shapes::TPositions;

namespace {

const QString Demo = QStringLiteral(PW_SOURCE_DIR "/examples/demo-prefix/drive_c/CM0001/tactics/");

TCmRegion Region(const TCmTactic& tactic) {
    TCmTactic copy = tactic;
    TCmRegion region{};
    copy.Encode(region);
    return region;
}

// Random places, a few off the pitch (as a file may hold); each middle zone
// gets pairs of near mirror images, so that counterparts are found.
TPositions RandomPositions(QRandomGenerator& random, bool offPitch) {
    const int high = offPitch ? 40 : 0;
    TPositions p;
    for (auto& player : p)
        for (auto& phase : player)
            for (TCmPos& pos : phase)
                pos = {random.bounded(std::max(high, pitch::MaxColumn + 1)),
                       random.bounded(std::max(high, pitch::MaxRow + 1))};
    for (int phase = 0; phase < 2; ++phase)
        for (int zone = pitch::ZoneRows; zone < 2 * pitch::ZoneRows; ++zone)
            for (int a = 1; a + 1 < TCmTactic::PlayerCount; a += 2) {
                const TCmPos& pa = p[size_t(a)][size_t(phase)][size_t(zone)];
                p[size_t(a + 1)][size_t(phase)][size_t(zone)] = {
                    std::clamp(pitch::MaxColumn - pa.X + random.bounded(-1, 2), 0,
                               pitch::MaxColumn),
                    std::clamp(pa.Y + random.bounded(-1, 2), 0, pitch::MaxRow)};
            }
    return p;
}

} // namespace

class TestShapes : public QObject {
    Q_OBJECT
private slots:
    void counterparts_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pairs");
        QTest::newRow("4-4-2") << "442.tct"
                               << "2 ↔ 5, 3 ↔ 4, 6 ↔ 9, 7 ↔ 8, 10 ↔ 11";
        QTest::newRow("4-3-3") << "433.tct"
                               << "2 ↔ 5, 3 ↔ 4, 6 ↔ 8, 9 ↔ 11; alone: 1, 7, 10";
        QTest::newRow("5-3-2") << "532.tct"
                               << "2 ↔ 6, 3 ↔ 5, 7 ↔ 9, 10 ↔ 11; alone: 1, 4, 8";
    }
    // The same pairs in every row and both phases; the keeper always alone.
    void counterparts() {
        QFETCH(QString, file);
        QFETCH(QString, pairs);
        TTacticDocument doc({}, {});
        QCOMPARE(doc.LoadMain(Demo + file).Error, TCmError::None);
        const QString expected = pairs.contains(u';') ? pairs : pairs + "; alone: 1";
        for (bool withBall : {true, false})
            for (int row = 0; row < pitch::ZoneRows; ++row)
                QCOMPARE(shapes::PairsText(shapes::Counterparts(doc.Positions(), row, withBall),
                                           QStringLiteral("alone")),
                         expected);
    }

    // Every command is one step whose undo gives the region back byte for
    // byte, and writes only places on the pitch.
    void undoAndBounds() {
        TTacticDocument doc({}, {});
        QCOMPARE(doc.LoadMain(Demo + "442.tct").Error, TCmError::None);
        QRandomGenerator random(23);
        const std::function<TPositions(const TPositions&, int, bool, int)> commands[] = {
            shapes::CopyToZone,
            [](const TPositions& p, int z, bool b, int) { return shapes::CopyToRow(p, z, b); },
            [](const TPositions& p, int z, bool b, int) { return shapes::CopyToColumn(p, z, b); },
            [](const TPositions& p, int z, bool b, int) {
                return shapes::CopyToOtherPhase(p, z, b);
            },
            [](const TPositions& p, int z, bool b, int) {
                return shapes::MirrorToOtherFlank(p, z, b);
            },
            [](const TPositions& p, int, bool, int) { return shapes::MirrorWholeTactic(p); }};
        for (int round = 0; round < 300; ++round) {
            doc.SetPositions(RandomPositions(random, true), QStringLiteral("random"));
            const TCmRegion before = Region(doc.Main());
            const TPositions old = doc.Positions();
            const TPositions made = commands[round % 6](old, random.bounded(12),
                                                        random.bounded(2) == 1, random.bounded(12));
            const int steps = doc.History().count();
            if (!doc.SetPositions(made, QStringLiteral("command")))
                continue;
            QCOMPARE(doc.History().count(), steps + 1);
            for (size_t i = 0; i < made.size(); ++i)
                for (size_t phase = 0; phase < 2; ++phase)
                    for (size_t zone = 0; zone < made[i][phase].size(); ++zone) {
                        const TCmPos pos = made[i][phase][zone];
                        QVERIFY(pos == old[i][phase][zone] ||
                                (pos.X >= 0 && pos.X <= pitch::MaxColumn && pos.Y >= 0 &&
                                 pos.Y <= pitch::MaxRow));
                    }
            doc.History().undo();
            QVERIFY(Region(doc.Main()) == before);
        }
    }

    // Twice mirrored is the tactic again wherever the mirror finds the same
    // pairs as the original has.
    void mirrorTwice() {
        QRandomGenerator random(7);
        int checked = 0;
        for (int round = 0; round < 500; ++round) {
            const TPositions p = RandomPositions(random, false);
            const TPositions once = shapes::MirrorWholeTactic(p);
            bool same = true;
            for (bool withBall : {true, false})
                for (int row = 0; row < pitch::ZoneRows; ++row)
                    same = same && shapes::Counterparts(once, row, withBall) ==
                                       shapes::Counterparts(p, row, withBall);
            if (!same)
                continue;
            ++checked;
            QVERIFY(shapes::MirrorWholeTactic(once) == p);
        }
        QVERIFY(checked > 250);
    }
};

QTEST_GUILESS_MAIN(TestShapes)
#include "test_shapes.moc"
