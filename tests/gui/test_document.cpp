// The editing state without a window: which signal each step sends when it
// is done, undone and redone, what is no step, what a load does to the
// history, and the saved state around a save that is declined or made.
#include "FormHarness.h"
#include "TacticDocument.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace guitest;

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { Document.reset(); }

    void eachStepSendsItsOwnSignal_data();
    void eachStepSendsItsOwnSignal();
    void storingWhatIsThereIsNoStep();
    void aLoadStartsANewHistoryAFailedOneChangesNothing();
    void saveMarksTheSavedStepUnlessDeclined();

private:
    TGameFolder Game;
    QString File;
    std::unique_ptr<TTacticDocument> Document;
};

void TestDocument::init() {
    File = Game.WriteTactic("doc.tct", SampleTactic(7));
    Document = std::make_unique<TTacticDocument>();
    QCOMPARE(Document->LoadMain(File).Error, TCmError::None);
}

void TestDocument::eachStepSendsItsOwnSignal_data() {
    QTest::addColumn<bool>("drop");
    QTest::newRow("drop") << true;
    QTest::newRow("pick") << false;
}

void TestDocument::eachStepSendsItsOwnSignal() {
    QFETCH(bool, drop);
    const TCmTactic before = Document->Main();
    QSignalSpy positions(Document.get(), &TTacticDocument::positionsChanged);
    QSignalSpy instructions(Document.get(), &TTacticDocument::instructionsChanged);
    const TCmPos cell{before.Players[3].WithoutBall[9].X == 1 ? 2 : 1, 0};
    QVERIFY(
        drop ? Document->MovePlayer(3, 9, false, cell)
             : Document->SetInstruction(3, 9, before.Players[3].Instr[9] == "Yes" ? "No" : "Yes"));
    QSignalSpy& sent = drop ? positions : instructions;
    QSignalSpy& silent = drop ? instructions : positions;
    const TCmTactic after = Document->Main();
    QVERIFY(Document->IsModified());

    Document->History().undo();
    QCOMPARE(Document->Main().Players[3].WithoutBall, before.Players[3].WithoutBall);
    QCOMPARE(Document->Main().Players[3].Instr, before.Players[3].Instr);
    QVERIFY(!Document->IsModified());
    Document->History().redo();
    QCOMPARE(Document->Main().Players[3].WithoutBall, after.Players[3].WithoutBall);
    QCOMPARE(Document->Main().Players[3].Instr, after.Players[3].Instr);
    // Do, undo, redo: one signal each, of the step's own kind.
    QCOMPARE(sent.count(), 3);
    QCOMPARE(silent.count(), 0);
}

void TestDocument::storingWhatIsThereIsNoStep() {
    const TCmPlayer& player = Document->Main().Players[0];
    QVERIFY(!Document->MovePlayer(0, 5, true, player.WithBall[5]));
    QVERIFY(!Document->SetInstruction(0, 1, player.Instr[1]));
    // Out of range: refused, nothing written.
    QVERIFY(!Document->MovePlayer(11, 5, true, {1, 1}));
    QVERIFY(!Document->MovePlayer(0, 12, true, {1, 1}));
    QVERIFY(!Document->SetInstruction(0, TCmPlayer::InstrCount, "Yes"));
    QCOMPARE(Document->History().count(), 0);
    QVERIFY(!Document->IsModified());
}

void TestDocument::aLoadStartsANewHistoryAFailedOneChangesNothing() {
    QVERIFY(Document->MovePlayer(0, 5, true, {26, 35}));
    const TCmTactic edited = Document->Main();
    const QString missing = QDir(Game.Tactics()).filePath("missing.tct");
    QVERIFY(Document->LoadMain(missing).Error != TCmError::None);
    QCOMPARE(Document->MainFileName(), File);
    QCOMPARE(Document->Main().Players[0].WithBall, edited.Players[0].WithBall);
    QCOMPARE(Document->History().count(), 1);
    QVERIFY(Document->LoadSecond(missing).Error != TCmError::None);
    QVERIFY(!Document->SecondLoaded());

    QCOMPARE(Document->LoadMain(File).Error, TCmError::None);
    QCOMPARE(Document->History().count(), 0);
    QVERIFY(!Document->IsModified());
}

void TestDocument::saveMarksTheSavedStepUnlessDeclined() {
    QVERIFY(Document->MovePlayer(0, 5, true, {26, 35}));
    // Another program writes the file: the save asks, and a no writes nothing.
    QByteArray changed = ReadAll(File);
    changed[400] = static_cast<char>(changed[400] ^ 0x01);
    Game.WriteBytes("doc.tct", changed);
    int asked = 0;
    QCOMPARE(Document->Save([&] { return ++asked, false; }),
             TTacticDocument::TSaveOutcome::Declined);
    QCOMPARE(asked, 1);
    QCOMPARE(ReadAll(File), changed);
    QVERIFY(!QFile::exists(Document->ReservePath()));
    QVERIFY(Document->IsModified());

    QCOMPARE(Document->Save([] { return true; }), TTacticDocument::TSaveOutcome::Saved);
    QCOMPARE(ReadAll(Document->ReservePath()), changed);
    QCOMPARE(QFileInfo(Document->ReservePath()).fileName(), QStringLiteral("DOC.old"));
    QVERIFY(!Document->IsModified());
    Document->History().undo();
    QVERIFY(Document->IsModified());
}

QTEST_MAIN(TestDocument)
#include "test_document.moc"
