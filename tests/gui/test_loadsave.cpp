// Saving and loading through the window: what each answer to the save's
// questions writes, every failure's message, and a refused file with the
// window, the tactic's file and its earlier reserve copy as they were.
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

    // The earlier reserve copy is the file as it was with one byte changed:
    // inside the editor's region it is this tactic's, outside it another's.
    void answersDecideWhatIsWritten_data() {
        QTest::addColumn<bool>("changedOnDisk");
        QTest::addColumn<int>("reserveByte");
        QTest::addColumn<QList<int>>("answers");
        QTest::addRow("ok") << false << -1 << QList<int>{B::Ok};
        QTest::addRow("ok, reserve box off: copied all the same")
            << false << -1 << QList<int>{B::Ok};
        QTest::addRow("cancel") << false << -1 << QList<int>{B::Cancel};
        QTest::addRow("box closed") << false << -1 << QList<int>{B::NoButton};
        QTest::addRow("changed on disk, overwrite") << true << -1 << QList<int>{B::Ok, B::Ok};
        QTest::addRow("changed on disk, kept") << true << -1 << QList<int>{B::Ok, B::Cancel};
        QTest::addRow("its own reserve copy, replaced") << false << 1400 << QList<int>{B::Ok};
        QTest::addRow("another's reserve copy, replaced")
            << false << 100 << QList<int>{B::Ok, B::Ok};
        QTest::addRow("another's reserve copy, kept")
            << false << 100 << QList<int>{B::Ok, B::Cancel};
    }
    void answersDecideWhatIsWritten() {
        QFETCH(bool, changedOnDisk);
        QFETCH(int, reserveByte);
        QFETCH(QList<int>, answers);
        const bool written = answers.last() == B::Ok;
        QByteArray onDisk = ReadAll(Main), second = ReadAll(Second), earlier;
        onDisk[1400] = static_cast<char>(onDisk[1400] ^ (changedOnDisk ? 0x10 : 0));
        Game->WriteBytes("my442.tct", onDisk);
        if (reserveByte >= 0) {
            earlier = onDisk;
            earlier[reserveByte] = static_cast<char>(earlier[reserveByte] ^ 0x10);
            Game->WriteBytes("MY442.old", earlier);
        }
        if (QString(QTest::currentDataTag()).contains("box off"))
            Click(Find<QAbstractButton>(*Form, "ReserveCopy"));
        Save(answers);
        QCOMPARE(Dialogs.messages().size(), answers.size());
        QCOMPARE(Dialogs.messages()[0].Text, "Overwrite tactic MY442?\n\r\n\rPrevious tactic will "
                                             "save in file MY442.old");
        QCOMPARE(Dialogs.messages().last().Caption == "Tactic changed on disk", changedOnDisk);
        QCOMPARE(Dialogs.messages().last().Caption == "Reserve copy of another tactic",
                 reserveByte == 100);
        // What a save writes: the codec's bytes over the file as it was.
        const QString expected = Game->WriteBytes("expected", onDisk);
        TCmTactic(Form->MainTactic()).Save(QFile::encodeName(expected).toStdString());
        QCOMPARE(ReadAll(Main), written ? ReadAll(expected) : onDisk);
        QCOMPARE(ReadAll(Reserve), written ? onDisk : earlier);
        QCOMPARE(Form->Document().IsModified(), !written);
        QCOMPARE(ReadAll(Second), second);
        QVERIFY(!QFile::exists(Game->Tactics() + "/433.old"));
    }

    // Every failure's message: what failed, why, and what became of the
    // tactic and its reserve copy. A reason alone is a load's and a save's.
    void failureTexts_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("system");
        QTest::addColumn<bool>("rolledBack");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, TCmError error, int system, const QString& text,
                            bool rolledBack = false) {
            QTest::addRow("%s", name) << int(error) << system << rolledBack << text;
        };
        using E = TCmError;
        row("cannot open", E::CannotOpen, ENOENT,
            "The file cannot be opened: no such file or directory.");
        row("locked", E::Locked, 0, "The file is held by another program.");
        row("not a file", E::NotAFile, 0,
            "It is not a regular file but a folder, a device or a pipe.");
        row("too short", E::TooShort, 0, "The file is too short to be a tactic file.");
        row("read", E::ReadFailed, EIO, "The file could not be read: input/output error.");
        row("resized", E::Resized, 0,
            "Its size changed since it was loaded, so it no longer holds the tactic that was "
            "loaded.");
        row("replaced", E::Replaced, 0,
            "The name now leads to another file than the one that was loaded.");
        row("moved", E::Moved, 0,
            "The file was renamed, replaced or deleted while the save waited, so the name no "
            "longer leads to the tactic that was loaded.");
        row("changed after a failure", E::ChangedAfterFailure, 0,
            "Another program changed the file after a save into it failed; the reserve copy "
            "from before that save is kept, and neither is overwritten.");
        row("copy", E::ReserveFailed, EISDIR,
            "Could not make the reserve copy /t/A.old\nThe copy could not be written: is a "
            "directory.\nThe tactic was not saved; its file and any earlier reserve copy are "
            "as they were.");
        row("copy is the tactic", E::ReserveIsTactic, 0,
            "Could not make the reserve copy /t/A.old\nThat name is the tactic file "
            "itself.\nThe tactic was not saved.");
        row("copy's name", E::ReserveUnconfirmed, EIO,
            "Could not make the reserve copy /t/A.old\nThe copy was written, but the disk did "
            "not confirm its name: input/output error.\nThe tactic was not saved; its file is as "
            "it was, and the reserve copy was replaced by a copy of it.");
        const QString back = "\nThe tactic was not saved; the file was put back as it was, and "
                             "the reserve copy /t/A.old holds the same tactic.";
        row("write, undone", E::WriteFailed, EIO,
            "Could not save tactic /t/a.tct\nThe file could not be written: input/output "
            "error." +
                back,
            true);
        row("flush, undone", E::FlushFailed, ENOSPC,
            "Could not save tactic /t/a.tct\nThe disk did not confirm the write: no space left "
            "on device." +
                back,
            true);
        row("write, not undone", E::WriteFailed, EFBIG,
            "Could not save tactic /t/a.tct\nThe file could not be written: file too "
            "large.\nPutting the file back failed too, so it may be damaged: restore it from "
            "the reserve copy /t/A.old, which holds the previous tactic.");
    }
    void failureTexts() {
        QFETCH(int, error);
        QFETCH(int, system);
        QFETCH(bool, rolledBack);
        QFETCH(QString, text);
        const TCmFailure failure{TCmError(error), system, rolledBack};
        if (!text.contains('\n')) {
            QCOMPARE(LoadFailureText("/t/a.tct", failure),
                     "Could not load tactic /t/a.tct\n" + text);
            text = "Could not save tactic /t/a.tct\n" + text + "\nNothing was written.";
        }
        QCOMPARE(SaveFailureText("/t/a.tct", "/t/A.old", failure), text);
    }

    // Through the window: a held file's load and save are refused with their
    // reasons, the window, the files and the edits as they were.
    void heldFileIsRefused() {
        Game->WriteBytes("MY442.old", "an earlier reserve copy");
        const QByteArray before = ReadAll(Main);
        const int fd = ::open(QFile::encodeName(Main).constData(), O_RDONLY);
        QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
        Load(*Form, Dialogs, 1, Main);
        Save({B::Ok});
        ::close(fd);
        QCOMPARE(Dialogs.messages().size(), 3);
        QCOMPARE(Dialogs.messages()[0].Text, LoadFailureText(Main, {TCmError::Locked}));
        QCOMPARE(Dialogs.messages()[2].Icon, B::Critical);
        QCOMPARE(Dialogs.messages()[2].Text, SaveFailureText(Main, Reserve, {TCmError::Locked}));
        QCOMPARE(ReadAll(Main), before);
        QCOMPARE(ReadAll(Reserve), "an earlier reserve copy");
        QVERIFY(Form->Document().IsModified());
    }
};

QTEST_MAIN(TestLoadSave)
#include "test_loadsave.moc"
