// Editing comfort: undo and redo of drops and picks, the question before
// unsaved edits are lost, and tactics opened from outside (the command line
// and files dropped on the window).
#include "Application.h"
#include "CommandLine.h"
#include "FormHarness.h"
#include "PitchMap.h"

#include <QtTest>
#include <QtWidgets>

using namespace guitest;
using B = QMessageBox;

class TestComfort : public QObject, private TFormFixture {
    Q_OBJECT
    QString File;
    QWidget* Image() const { return Find(*Form, "Image"); }
    int Steps() const { return const_cast<TTacticDocument&>(Form->Document()).History().count(); }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(Form.get(), static_cast<Qt::Key>(key), mods);
    }
    // Drags a player of zone 5 with the ball to a cell, pressing `midway` on the way.
    void Drag(int player, TCmPos to, int midway = 0) {
        const pitch::TPixel from = pitch::TestPoint(Form->MainTactic().Players[player].WithBall[5]);
        const pitch::TPixel centre = pitch::OwnCentre(to);
        const QPoint at(centre.X + 1, centre.Y - 1); // in the cell, by its centre
        QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
        QTest::mouseMove(Image(), at);
        if (midway)
            Key(midway);
        QTest::mouseRelease(Image(), Qt::LeftButton, {}, at);
    }
    // Everything an edit shows: the tactic, the grid, the bars and the picture.
    QStringList Shown() const {
        QStringList shown{Encoded(Form->MainTactic()).toHex()};
        for (const auto* item :
             Find<QTableWidget>(*Form, "PlayersGrid")->findItems("", Qt::MatchContains))
            shown << item->text();
        for (const char* bar : {"AttackMain", "DefenceMain"})
            shown << QString::number(Find<QProgressBar>(*Form, bar)->value());
        const QImage& picture = Form->Renderer().Picture();
        return shown << QString::number(qHashBits(picture.constBits(), picture.sizeInBytes()));
    }
    // A file dropped from the file manager at a point of the window; whether it was taken.
    bool Drop(const QString& path, QPoint at) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &enter);
        return enter.isAccepted() && QApplication::sendEvent(Form.get(), &drop);
    }

private slots:
    void init() {
        StartWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
        File = Game->WriteTactic("mine.tct", SampleTactic(3));
        Load(*Form, Dialogs, 1, File);
        ChoosePage(*Form, 0);
        Dialogs.clearLog();
    }
    void cleanup() { StopWindow(); }

    void undoAndRedoShowWhatTheEditShowed() {
        const QStringList loaded = Shown();
        const std::string text = Form->MainTactic().Players[2].Instr[1];
        Drag(10, {13, 17});
        const QStringList dropped = Shown();
        PickInGrid(*Form, 1, 3, text == "Long" ? "Short" : "Long");
        const QStringList picked = Shown();
        QVERIFY(loaded != dropped && dropped != picked);
        Key(Qt::Key_Z);
        QCOMPARE(Shown(), dropped);
        QCOMPARE(Find<QComboBox>(*Form, "ComboValue")->currentText().toStdString(), text);
        Key(Qt::Key_Z);
        QCOMPARE(Shown(), loaded);
        QVERIFY(!Form->Document().IsModified());
        Key(Qt::Key_Y);
        QCOMPARE(Shown(), dropped);
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        Key(Qt::Key_Y); // nothing left to redo
        QCOMPARE(Shown(), picked);
        PickInGrid(*Form, 1, 3, Find<QComboBox>(*Form, "ComboValue")->currentText());
        QCOMPARE(Steps(), 2); // picking what a cell shows is no step
        // What is saved is what is shown; an undo after it is unsaved again.
        Dialogs.setNextAnswer(B::Ok);
        QTest::mouseClick(Find<QPushButton>(*Form, "BtnSave"), Qt::LeftButton);
        TCmTactic saved;
        QVERIFY(saved.Load(QFile::encodeName(File).toStdString()));
        QCOMPARE(Encoded(saved), Encoded(Form->MainTactic()));
        QVERIFY(!Form->Document().IsModified());
        Key(Qt::Key_Z);
        QVERIFY(Form->Document().IsModified());
        Dialogs.setNextAnswer(B::Discard);
        Load(*Form, Dialogs, 1, File);
        QCOMPARE(Steps(), 0); // a new main tactic, a new history
    }

    // An undo leaves the zone and phase shown; it waits for a drag to end,
    // and for a page that edits.
    void undoKeepsTheViewAndWaitsItsTurn() {
        Drag(0, {3, 3});
        Drag(0, {6, 6}, Qt::Key_Z);
        ChoosePage(*Form, 3);
        Key(Qt::Key_Z);
        QCOMPARE(Form->MainTactic().Players[0].WithBall[5], (TCmPos{6, 6}));
        ChoosePage(*Form, 0);
        Key(Qt::Key_Z);
        QCOMPARE(Form->MainTactic().Players[0].WithBall[5], (TCmPos{3, 3}));
        const QStringList before = Shown();
        Drag(4, {20, 30});
        QTest::mouseClick(Image(), Qt::RightButton, {}, QPoint(20, 390)); // zone 0
        Find<QRadioButton>(*Form, "WithoutBall")->click();
        const QImage view = Form->Renderer().Picture().copy();
        Key(Qt::Key_Z);
        QVERIFY(Form->BallZone() == 0 && Find<QRadioButton>(*Form, "WithoutBall")->isChecked());
        QCOMPARE(Shown().mid(0, before.size() - 1), before.mid(0, before.size() - 1));
        QCOMPARE(Form->Renderer().Picture(), view);
    }

    // Unsaved edits (or none, once undone), then a close, a Browse1 or a
    // drop of a main tactic: the question, each answer, what is then loaded or saved.
    void unsavedEditsAsk_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QList<int>>("answers"); // the question's, then the save's
        QTest::addColumn<bool>("goesOn");
        for (const char* way : {"close", "browse", "drop"}) {
            QTest::addRow("%s: save", way) << way << QList<int>{B::Save, B::Ok} << true;
            QTest::addRow("%s: save cancelled", way)
                << way << QList<int>{B::Save, B::Cancel} << false;
            QTest::addRow("%s: discard", way) << way << QList<int>{B::Discard} << true;
            QTest::addRow("%s: cancel", way) << way << QList<int>{B::Cancel} << false;
            QTest::addRow("%s: undone, not asked", way) << way << QList<int>{} << true;
        }
    }
    void unsavedEditsAsk() {
        QFETCH(QString, way);
        QFETCH(QList<int>, answers);
        QFETCH(bool, goesOn);
        const QByteArray original = ReadAll(File);
        const QString other = Game->WriteTactic("other.tct", SampleTactic(4));
        Drag(7, {25, 34});
        const QByteArray edited = Encoded(Form->MainTactic());
        if (answers.isEmpty())
            Key(Qt::Key_Z);
        for (int answer : answers)
            Dialogs.setNextAnswer(static_cast<B::StandardButton>(answer));
        if (way == "browse" && goesOn)
            Dialogs.setNextFileName(other);
        if (way == "close")
            QCOMPARE(Form->close(), goesOn);
        else if (way == "browse")
            QTest::mouseClick(Find<QPushButton>(*Form, "Browse1"), Qt::LeftButton);
        else
            QVERIFY(Drop(other, Image()->mapTo(Form.get(), QPoint(100, 100))));
        QCOMPARE(Dialogs.messages().size(), answers.size());
        if (!answers.isEmpty())
            QCOMPARE(Dialogs.messages()[0].Text, QStringLiteral("Save changes to MINE?"));
        const bool saved = answers.value(1) == B::Ok;
        QCOMPARE(ReadAll(File) != original, saved);
        QCOMPARE(QFile::exists(Game->Tactics() + "/MINE.old"), saved);
        QCOMPARE(Dialogs.openRequests().size(), int(way == "browse" && goesOn));
        if (way != "close")
            QCOMPARE(Form->MainTacticFile(), goesOn ? other : File);
        if (!goesOn)
            QCOMPARE(Encoded(Form->MainTactic()), edited);
    }

    // Files dropped on the right half of the load panel, or named on the
    // command line, load as the two buttons do; only tactic files are taken.
    void filesFromOutsideLoadAsTheButtonsDo() {
        const QString second = Game->WriteTactic("second.tct", SampleTactic(5));
        const QWidget* panel = Find(*Form, "LoadPanel");
        QVERIFY(Drop(second, panel->mapTo(Form.get(), QPoint(panel->width() * 3 / 4, 10))));
        QCOMPARE(Find<QLabel>(*Form, "LabelTN2")->text(), QStringLiteral("SECOND"));
        QCOMPARE(Form->MainTacticFile(), File);
        QVERIFY(!Drop(Game->WriteBytes("notes.txt", "x"), QPoint(10, 10)));
        StartWindow(); // no second tactic without a main one
        Form->OpenArguments({Game->Tactics() + "/missing.tct", Game->WriteTactic("2.tct", {})});
        QCOMPARE(Dialogs.messages().size(), 1);
        QVERIFY(!Form->Document().SecondLoaded() && !Form->Document().MainLoaded());
        Form->OpenArguments({Game->WriteTactic("1.tct", {}), Game->Tactics() + "/2.tct"});
        QVERIFY(Form->Document().SecondLoaded() && Form->Document().MainLoaded());
        QCOMPARE(Find<QTabWidget>(*Form, "PageControl")->currentIndex(), 3);
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        const QString dir = QDir::currentPath() + "/";
        QTest::addRow("none") << QStringList{} << 0 << "files:\n";
        QTest::addRow("main") << QStringList{"a.tct"} << 0 << "files:" + dir + "a.tct\n";
        QTest::addRow("both") << QStringList{"a.tct", "/t/b.tct"} << 0
                              << "files:" + dir + "a.tct|/t/b.tct\n";
        QTest::addRow("three") << QStringList{"a", "b", "c"} << 1
                               << "pitchwright: at most two tactic files, the main tactic and the "
                                  "second; see --help\n";
        QTest::addRow("--version")
            << QStringList{"--version"} << 0 << "Pitchwright " PW_TEST_VERSION "\n";
        QTest::addRow("--help") << QStringList{"--help"} << 0 << "[options] [FILE [SECOND]]\n";
        QTest::addRow("unknown option")
            << QStringList{"--bogus"} << 1 << "Unknown option 'bogus'.\n";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QProcess program;
        program.start(QCoreApplication::applicationFilePath(), QStringList{"--parse"} + arguments);
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitCode(), status);
        const QString said =
            status ? program.readAllStandardError() : program.readAllStandardOutput();
        QVERIFY2(said.contains(output), qPrintable(said));
    }
};

int main(int argc, char** argv) {
    // Started with --parse, the suite parses the rest as the editor's command line.
    if (argc > 1 && qstrcmp(argv[1], "--parse") == 0) {
        argv[1] = argv[0];
        --argc;
        TScriptedDialogs dialogs;
        TApplication app(argc, argv + 1, dialogs);
        std::printf("files:%s\n", qPrintable(ParseCommandLine(app).join('|')));
        return 0;
    }
    QApplication app(argc, argv);
    TestComfort test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_comfort.moc"
