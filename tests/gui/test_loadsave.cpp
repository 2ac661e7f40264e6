// Saving and loading through the window: what each answer to the save's
// questions writes, and each bad file's message, with the window, the
// tactic's file and its earlier reserve copy as they were.
#include "FormHarness.h"
#include "editor/FileErrors.h"

#include <sys/file.h>
#include <sys/stat.h>

using namespace guitest;
using B = QMessageBox;

class TestLoadSave : public QObject, private TFormFixture {
    Q_OBJECT
    QString Main, Second, Reserve;
    // An edit, then a save with the questions answered.
    void Save(const QList<int>& answers) {
        PickInGrid(*Form, 1, 4, QStringLiteral("Direct"));
        for (int answer : answers)
            Dialogs.setNextAnswer(static_cast<B::StandardButton>(answer));
        QTest::mouseClick(Find<QPushButton>(*Form, "BtnSave"), Qt::LeftButton);
    }

private slots:
    void init() {
        StartWindow();
        Main = Game->WriteTactic("my442.tct", SampleTactic(1));
        Second = Game->WriteTactic("433.tct", SampleTactic(2));
        Load(*Form, Dialogs, 1, Main);
        Load(*Form, Dialogs, 2, Second);
        Reserve = Game->Tactics() + "/MY442.old";
        Dialogs.clearLog();
    }
    void cleanup() { StopWindow(); }

    void answersDecideWhatIsWritten_data() {
        QTest::addColumn<bool>("changedOnDisk");
        QTest::addColumn<QList<int>>("answers");
        QTest::addRow("ok") << false << QList<int>{B::Ok};
        QTest::addRow("ok, reserve box off: copied all the same") << false << QList<int>{B::Ok};
        QTest::addRow("cancel") << false << QList<int>{B::Cancel};
        QTest::addRow("box closed") << false << QList<int>{B::NoButton};
        QTest::addRow("changed on disk, overwrite") << true << QList<int>{B::Ok, B::Ok};
        QTest::addRow("changed on disk, kept") << true << QList<int>{B::Ok, B::Cancel};
    }
    void answersDecideWhatIsWritten() {
        QFETCH(bool, changedOnDisk);
        QFETCH(QList<int>, answers);
        const bool written = answers.last() == B::Ok;
        QByteArray onDisk = ReadAll(Main), second = ReadAll(Second);
        onDisk[1400] = static_cast<char>(onDisk[1400] ^ (changedOnDisk ? 0x10 : 0));
        Game->WriteBytes("my442.tct", onDisk);
        if (QString(QTest::currentDataTag()).contains("box off"))
            Click(Find<QAbstractButton>(*Form, "ReserveCopy"));
        Save(answers);
        QCOMPARE(Dialogs.messages().size(), answers.size());
        QCOMPARE(Dialogs.messages()[0].Text, "Overwrite tactic MY442?\n\r\n\rPrevious tactic will "
                                             "save in file MY442.old");
        QCOMPARE(Dialogs.messages().last().Caption == "Tactic changed on disk", changedOnDisk);
        // What a save writes: the codec's bytes over the file as it was.
        const QString expected = Game->WriteBytes("expected", onDisk);
        TCmTactic(Form->MainTactic()).Save(QFile::encodeName(expected).toStdString());
        QCOMPARE(ReadAll(Main), written ? ReadAll(expected) : onDisk);
        QCOMPARE(ReadAll(Reserve), written ? onDisk : QByteArray());
        QCOMPARE(Form->Document().IsModified(), !written);
        QCOMPARE(ReadAll(Second), second);
        QVERIFY(!QFile::exists(Game->Tactics() + "/433.old"));
    }

    // Each change of the files after the load, by the row's name: the reason
    // a new load of the file gives, if it fails, then the save's.
    void badFileIsRefusedWithItsReason_data() {
        QTest::addColumn<QString>("loadReason");
        QTest::addColumn<QString>("saveReason");
        const QString missing = "The file cannot be opened: no such file or directory.",
                      tooShort = "The file is too short to be a tactic file.",
                      notAFile = "It is not a regular file but a folder, a device or a pipe.",
                      held = "The file is held by another program.";
        QTest::addRow("deleted") << missing << missing;
        QTest::addRow("truncated") << tooShort << tooShort;
        QTest::addRow("grown") << ""
                               << "Its size changed since it was loaded, so it no longer "
                                  "holds the tactic that was loaded.";
        QTest::addRow("a folder") << notAFile << notAFile;
        QTest::addRow("a FIFO") << notAFile << notAFile;
        QTest::addRow("held") << held << held;
        QTest::addRow("a link to the second") << ""
                                              << "The name now leads to another file than "
                                                 "the one that was loaded.";
        QTest::addRow("a folder as the copy") << ""
                                              << "The copy could not be written: is a "
                                                 "directory.";
    }
    void badFileIsRefusedWithItsReason() {
        QFETCH(QString, loadReason);
        QFETCH(QString, saveReason);
        const QString change = QTest::currentDataTag();
        const bool copy = change.endsWith("copy");
        if (!copy)
            Game->WriteBytes("MY442.old", "an earlier reserve copy");
        const QByteArray before = ReadAll(Main), second = ReadAll(Second);
        const QByteArray shown = Encoded(Form->MainTactic());
        QFile::resize(Main, change == "grown" ? 1700 : change == "truncated" ? 1000 : 1600);
        if ((change.startsWith("a ") && !copy) || change == "deleted")
            QFile::remove(Main);
        const int fd =
            change == "held" ? ::open(QFile::encodeName(Main).constData(), O_RDONLY) : -1;
        if (change == "held" && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
            QFAIL("cannot hold the file");
        if (change == "a folder" || copy)
            QDir().mkdir(copy ? Reserve : Main);
        if (change == "a FIFO")
            ::mkfifo(QFile::encodeName(Main).constData(), 0600);
        if (change.contains("link"))
            QFile::link(Second, Main);
        if (!loadReason.isEmpty()) {
            Load(*Form, Dialogs, 1, Main);
            QCOMPARE(Dialogs.messages().size(), 1);
            QCOMPARE(Dialogs.messages()[0].Icon, B::Critical);
            QCOMPARE(Dialogs.messages()[0].Text,
                     "Could not load tactic " + Main + "\n" + loadReason);
            QCOMPARE(Encoded(Form->MainTactic()), shown);
            QCOMPARE(Find<QLabel>(*Form, "LabelTN1")->text(), "my442");
            Dialogs.clearLog();
        }
        Save({B::Ok});
        QCOMPARE(Dialogs.messages().size(), 2);
        QCOMPARE(Dialogs.messages()[1].Text,
                 copy ? "Could not make the reserve copy " + Reserve + "\n" + saveReason +
                            "\nThe tactic was not saved; its file and any earlier reserve "
                            "copy are as they were."
                      : "Could not save tactic " + Main + "\n" + saveReason +
                            "\nNothing was written.");
        QCOMPARE(ReadAll(Reserve), copy ? QByteArray() : QByteArray("an earlier reserve copy"));
        QCOMPARE(ReadAll(Second), second);
        if (change == "held" || copy)
            QCOMPARE(ReadAll(Main), before);
        ::close(fd);
    }

    // The failures no file in a test folder gives: what the user is told
    // happened to the tactic and its reserve copy.
    void failuresAfterTheCopySayWhereTheTacticIs_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("system");
        QTest::addColumn<QString>("text");
        const QString reserve = "\nThe file may be %1; the reserve copy /t/A.old holds the "
                                "previous tactic.";
        QTest::addRow("write") << int(TCmError::WriteFailed) << EIO
                               << "Could not save tactic /t/a.tct\nThe file could not be written: "
                                  "input/output error." +
                                      reserve.arg("damaged");
        QTest::addRow("flush") << int(TCmError::FlushFailed) << ENOSPC
                               << "The tactic was written to /t/a.tct, but the disk did not "
                                  "confirm it\nThe flush failed: no space left on device." +
                                      reserve.arg("incomplete");
        QTest::addRow("copy is the tactic")
            << int(TCmError::ReserveIsTactic) << 0
            << "Could not make the reserve copy /t/A.old\nThat name is the tactic file "
               "itself.\nThe tactic was not saved.";
        QTest::addRow("read") << int(TCmError::ReadFailed) << 0
                              << "Could not save tactic /t/a.tct\nThe file could not be "
                                 "read.\nNothing was written.";
    }
    void failuresAfterTheCopySayWhereTheTacticIs() {
        QFETCH(int, error);
        QFETCH(int, system);
        QFETCH(QString, text);
        QCOMPARE(SaveFailureText("/t/a.tct", "/t/A.old", {TCmError(error), system}), text);
    }

    // A file refused at the first load leaves the window as it started, with
    // no save over the chosen file.
    void refusedFirstLoadLeavesNoMainTactic() {
        StartWindow();
        const QString path = Game->WriteBytes("short.tct", QByteArray(1460, 'x'));
        Load(*Form, Dialogs, 1, path);
        QCOMPARE(Dialogs.messages().size(), 1);
        QCOMPARE(Form->MainTacticFile(), QString());
        QCOMPARE(Find<QLabel>(*Form, "LabelTN1")->text(), "Not load");
        QVERIFY(!Find(*Form, "BtnSave")->isEnabled());
        QCOMPARE(ReadAll(path), QByteArray(1460, 'x'));
    }
};

QTEST_MAIN(TestLoadSave)
#include "test_loadsave.moc"
