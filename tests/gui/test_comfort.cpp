// Editing comfort through the window: undo and redo of drops and picks, the
// question before unsaved edits are lost, and tactics opened from outside
// (command line arguments and files dropped on the window).
#include "FormHarness.h"
#include "PitchMap.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

using namespace guitest;
using pitch::TPixel;

namespace {

// Everything an edit shows: the main tactic, the grid's texts, the picture and the bars.
struct TShown {
    TCmTactic Tactic;
    QStringList Grid;
    QImage Picture;
    int Attack = 0;
    int Defence = 0;
};

TShown Shown(const TMainForm& form) {
    TShown shown{form.MainTactic(), {}, form.Renderer().Picture().copy(), 0, 0};
    const auto* grid = Find<QTableWidget>(form, "PlayersGrid");
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            shown.Grid << grid->item(r, c)->text();
    shown.Attack = Find<QProgressBar>(form, "AttackMain")->value();
    shown.Defence = Find<QProgressBar>(form, "DefenceMain")->value();
    return shown;
}

void ExpectSame(const TShown& actual, const TShown& expected) {
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        QCOMPARE(actual.Tactic.Players[i].WithBall, expected.Tactic.Players[i].WithBall);
        QCOMPARE(actual.Tactic.Players[i].WithoutBall, expected.Tactic.Players[i].WithoutBall);
        QCOMPARE(actual.Tactic.Players[i].Instr, expected.Tactic.Players[i].Instr);
    }
    QCOMPARE(actual.Grid, expected.Grid);
    QCOMPARE(actual.Attack, expected.Attack);
    QCOMPARE(actual.Defence, expected.Defence);
    QVERIFY(actual.Picture == expected.Picture);
}

// A file dropped from the file manager at a point of the window.
void DropFile(TMainForm& form, const QString& path, QPoint at) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
}

} // namespace

class TestComfort : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { StopWindow(); }

    void undoAndRedoShowWhatTheEditShowed();
    void undoOfADropElsewhereKeepsTheView();
    void undoWaitsForTheDragAndTheEditingPages();
    void loadingAndSavingMarkTheHistory();
    void closingWithUnsavedEditsAsks_data();
    void closingWithUnsavedEditsAsks();
    void browseOverUnsavedEditsAsksFirst();
    void argumentsLoadAsTheLoadButtonsDo();
    void droppedFilesLoadByWhereTheyLand();

private:
    QWidget* Image() const { return Find(*Form, "Image"); }
    void DragPlayer(int player, TCmPos to);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(Form.get(), static_cast<Qt::Key>(key), modifiers);
    }
    QString File;
};

void TestComfort::init() {
    StartWindow();
    Form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form.get()));
    File = Game->WriteTactic("mine.tct", SampleTactic(3));
    Load(*Form, Dialogs, 1, File);
    ChoosePage(*Form, 0);
    Dialogs.clearLog();
}

void TestComfort::DragPlayer(int player, TCmPos to) {
    const TCmPlayer& p = Form->MainTactic().Players[player];
    const int zone = Form->BallZone();
    const TPixel from = pitch::TestPoint(p.WithBall[zone]);
    const TPixel centre = pitch::OwnCentre(to);
    // One pixel right of and above the centre lies in the cell itself.
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QTest::mouseMove(Image(), QPoint(centre.X + 1, centre.Y - 1));
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(centre.X + 1, centre.Y - 1));
    QCOMPARE(Form->MainTactic().Players[player].WithBall[zone], to);
}

void TestComfort::undoAndRedoShowWhatTheEditShowed() {
    const TShown loaded = Shown(*Form);
    const TCmPos target{13, 17};
    QVERIFY(Form->MainTactic().Players[10].WithBall[5] != target);
    DragPlayer(10, target);
    const TShown dropped = Shown(*Form);
    const QString other = Form->MainTactic().Players[2].Instr[1] == "Long" ? "Short" : "Long";
    PickInGrid(*Form, 1, 3, other);
    QCOMPARE(Form->MainTactic().Players[2].Instr[1], other.toStdString());
    const TShown picked = Shown(*Form);

    Key(Qt::Key_Z);
    ExpectSame(Shown(*Form), dropped);
    // The combo shows the cell's text again, as a new selection would.
    QCOMPARE(Find<QComboBox>(*Form, "ComboValue")->currentText(),
             QString::fromStdString(loaded.Tactic.Players[2].Instr[1]));
    Key(Qt::Key_Z);
    ExpectSame(Shown(*Form), loaded);
    QVERIFY(!Form->Document().IsModified());
    Key(Qt::Key_Y);
    ExpectSame(Shown(*Form), dropped);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    ExpectSame(Shown(*Form), picked);
    QVERIFY(Form->Document().IsModified());
    // Nothing left to redo.
    Key(Qt::Key_Y);
    ExpectSame(Shown(*Form), picked);
}

void TestComfort::undoOfADropElsewhereKeepsTheView() {
    const TShown loaded = Shown(*Form);
    DragPlayer(4, {20, 30});
    // Another zone (right click) and phase are chosen; the undo does not bring zone 5 back.
    QTest::mouseClick(Image(), Qt::RightButton, {}, QPoint(20, 390));
    Find<QRadioButton>(*Form, "WithoutBall")->click();
    const QImage otherView = Form->Renderer().Picture().copy();
    Key(Qt::Key_Z);
    QCOMPARE(Form->BallZone(), 0);
    QVERIFY(Find<QRadioButton>(*Form, "WithoutBall")->isChecked());
    QCOMPARE(Form->MainTactic().Players[4].WithBall, loaded.Tactic.Players[4].WithBall);
    // The bars follow the tactic; the picture of zone 0 without the ball is redrawn as it was.
    QCOMPARE(Find<QProgressBar>(*Form, "AttackMain")->value(), loaded.Attack);
    QCOMPARE(Find<QProgressBar>(*Form, "DefenceMain")->value(), loaded.Defence);
    QVERIFY(Form->Renderer().Picture() == otherView);
}

void TestComfort::undoWaitsForTheDragAndTheEditingPages() {
    DragPlayer(0, {3, 3});
    const TCmTactic dropped = Form->MainTactic();
    // Mid-drag the keys do nothing; the drag goes on and lands.
    const TPixel from = pitch::TestPoint(dropped.Players[0].WithBall[5]);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    Key(Qt::Key_Z);
    QCOMPARE(Form->MainTactic().Players[0].WithBall, dropped.Players[0].WithBall);
    const TPixel to = pitch::OwnCentre({6, 6});
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(to.X + 1, to.Y - 1));
    QCOMPARE(Form->MainTactic().Players[0].WithBall[5], (TCmPos{6, 6}));
    // On the Options page nothing is edited, nor undone.
    ChoosePage(*Form, 3);
    Key(Qt::Key_Z);
    QCOMPARE(Form->MainTactic().Players[0].WithBall[5], (TCmPos{6, 6}));
    ChoosePage(*Form, 0);
    Key(Qt::Key_Z);
    QCOMPARE(Form->MainTactic().Players[0].WithBall[5], (TCmPos{3, 3}));
}

void TestComfort::loadingAndSavingMarkTheHistory() {
    DragPlayer(0, {3, 3});
    Dialogs.setNextAnswer(QMessageBox::Ok);
    QTest::mouseClick(Find<QPushButton>(*Form, "BtnSave"), Qt::LeftButton);
    QVERIFY(!Form->Document().IsModified());
    Key(Qt::Key_Z);
    QVERIFY(Form->Document().IsModified());
    Key(Qt::Key_Y);
    QVERIFY(!Form->Document().IsModified());
    // A new main tactic starts a new history: nothing to undo, nothing asked.
    const TCmTactic saved = Form->MainTactic();
    Load(*Form, Dialogs, 1, File);
    Key(Qt::Key_Z);
    QCOMPARE(Form->MainTactic().Players[0].WithBall, saved.Players[0].WithBall);
    QVERIFY(!Form->Document().IsModified());
    QCOMPARE(Dialogs.messages().size(), 1); // only the save's question
}

void TestComfort::closingWithUnsavedEditsAsks_data() {
    QTest::addColumn<int>("undos");
    QTest::addColumn<QList<int>>("answers"); // the close question's, then the save's
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    using B = QMessageBox;
    QTest::newRow("save") << 0 << QList<int>{B::Save, B::Ok} << true << true << true;
    QTest::newRow("save, then cancel its question")
        << 0 << QList<int>{B::Save, B::Cancel} << true << false << false;
    QTest::newRow("discard") << 0 << QList<int>{B::Discard} << true << true << false;
    QTest::newRow("cancel") << 0 << QList<int>{B::Cancel} << true << false << false;
    QTest::newRow("undone to the loaded state") << 1 << QList<int>{} << false << true << false;
}

void TestComfort::closingWithUnsavedEditsAsks() {
    QFETCH(int, undos);
    QFETCH(QList<int>, answers);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    const QByteArray original = ReadAll(File);
    DragPlayer(7, {25, 34});
    for (int i = 0; i < undos; ++i)
        Key(Qt::Key_Z);
    for (int answer : answers)
        Dialogs.setNextAnswer(static_cast<QMessageBox::StandardButton>(answer));

    QCOMPARE(Form->close(), closed);
    QCOMPARE(Form->isVisible(), !closed);
    QCOMPARE(Dialogs.messages().isEmpty(), !asked);
    if (asked) {
        const TScriptedDialogs::TShownMessage& question = Dialogs.messages().first();
        QCOMPARE(question.Caption, QStringLiteral("Pitchwright"));
        QCOMPARE(question.Text, QStringLiteral("Save changes to MINE?"));
        QCOMPARE(question.Buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    }
    QCOMPARE(ReadAll(File) != original, saved);
    QCOMPARE(QFile::exists(QFileInfo(File).dir().filePath("MINE.old")), saved);
    // Kept open, the edit is still there to be saved or undone.
    if (!closed)
        QCOMPARE(Form->MainTactic().Players[7].WithBall[5], (TCmPos{25, 34}));
}

void TestComfort::browseOverUnsavedEditsAsksFirst() {
    const QString other = Game->WriteTactic("other.tct", SampleTactic(4));
    DragPlayer(1, {9, 9});
    // Cancel: no open dialog, and everything stays.
    Dialogs.setNextAnswer(QMessageBox::Cancel);
    QTest::mouseClick(Find<QPushButton>(*Form, "Browse1"), Qt::LeftButton);
    QVERIFY(Dialogs.openRequests().isEmpty());
    QCOMPARE(Form->MainTacticFile(), File);
    QCOMPARE(Form->MainTactic().Players[1].WithBall[5], (TCmPos{9, 9}));
    // The second tactic loads over nothing of the main one: no question.
    Load(*Form, Dialogs, 2, other);
    QCOMPARE(Dialogs.messages().size(), 1);
    // Discard: the dialog opens and the other tactic replaces the edits.
    Dialogs.setNextAnswer(QMessageBox::Discard);
    Load(*Form, Dialogs, 1, other);
    QCOMPARE(Dialogs.messages().size(), 2);
    QCOMPARE(Form->MainTacticFile(), other);
    QCOMPARE(Form->MainTactic().Players[1].WithBall, SampleTactic(4).Players[1].WithBall);
}

void TestComfort::argumentsLoadAsTheLoadButtonsDo() {
    StartWindow();
    const QString second = Game->WriteTactic("second.tct", SampleTactic(5));
    const QString missing = QDir(Game->Tactics()).filePath("missing.tct");
    // A missing main tactic: the load button's report, the window as it started,
    // and no second tactic without a main one.
    Form->OpenArguments({missing, second});
    QCOMPARE(Dialogs.messages().size(), 1);
    QCOMPARE(Dialogs.messages()[0].Icon, QMessageBox::Critical);
    QVERIFY(Dialogs.messages()[0].Text.startsWith(
        QStringLiteral("Could not load tactic %1\n").arg(QDir::toNativeSeparators(missing))));
    QCOMPARE(Find<QLabel>(*Form, "LabelTN1")->text(), QStringLiteral("Not load"));
    QCOMPARE(Find<QLabel>(*Form, "LabelTN2")->text(), QStringLiteral("Not load"));
    QVERIFY(!Find<QPushButton>(*Form, "BtnSave")->isEnabled());
    QVERIFY(!Form->Document().SecondLoaded());

    const QString main = Game->WriteTactic("main.tct", SampleTactic(6));
    Form->OpenArguments({main, second});
    QCOMPARE(Dialogs.messages().size(), 1);
    QCOMPARE(Form->MainTacticFile(), main);
    QCOMPARE(Find<QLabel>(*Form, "LabelTN1")->text(), QStringLiteral("MAIN"));
    QCOMPARE(Find<QLabel>(*Form, "LabelTN2")->text(), QStringLiteral("SECOND"));
    const auto* pages = Find<QTabWidget>(*Form, "PageControl");
    for (int page = 0; page < 4; ++page)
        QVERIFY(pages->isTabVisible(page));
    // The loads do not change the page shown, as with the buttons.
    QCOMPARE(pages->currentIndex(), 3);
}

void TestComfort::droppedFilesLoadByWhereTheyLand() {
    const QString second = Game->WriteTactic("second.tct", SampleTactic(5));
    const QString main = Game->WriteTactic("main.tct", SampleTactic(6));
    const QWidget* panel = Find(*Form, "LoadPanel");
    const QPoint secondHalf = panel->mapTo(Form.get(), QPoint(panel->width() * 3 / 4, 10));
    DropFile(*Form, second, secondHalf);
    QCOMPARE(Find<QLabel>(*Form, "LabelTN2")->text(), QStringLiteral("SECOND"));
    QCOMPARE(Form->MainTacticFile(), File);
    // Anywhere else: the main tactic, after the question about the edits.
    DragPlayer(1, {9, 9});
    Dialogs.setNextAnswer(QMessageBox::Cancel);
    DropFile(*Form, main, Image()->mapTo(Form.get(), QPoint(100, 100)));
    QCOMPARE(Form->MainTacticFile(), File);
    Dialogs.setNextAnswer(QMessageBox::Discard);
    DropFile(*Form, main, Image()->mapTo(Form.get(), QPoint(100, 100)));
    QCOMPARE(Form->MainTacticFile(), main);
    QCOMPARE(Dialogs.messages().size(), 2);
    // Only a tactic file is taken.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(Game->WriteBytes("notes.txt", "x"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form.get(), &enter);
    QVERIFY(!enter.isAccepted());
}

QTEST_MAIN(TestComfort)
#include "test_comfort.moc"
