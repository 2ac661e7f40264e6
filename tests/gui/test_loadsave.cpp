// Saving and loading through the window: what each answer to the save's
// questions writes, each bad file's message, and each failed save's message
// with the tactic's file and its earlier reserve copy as they were.
#include "FormHarness.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/file.h>
#include <sys/stat.h>

using namespace guitest;
using B = QMessageBox;

// A hold on a file, as another editor takes it while it loads or saves.
static std::shared_ptr<void> Hold(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        qFatal("cannot hold %s", qPrintable(path));
    return std::shared_ptr<void>(nullptr, [fd](void*) { ::close(fd); });
}

class TestLoadSave : public QObject, private TFormFixture {
    Q_OBJECT
    QString Main, Second, Reserve;
    // An edit, then a save with the questions answered: the last message.
    QString Save(const QList<int>& answers) {
        PickInGrid(*Form, 1, 4, QStringLiteral("Direct"));
        for (int answer : answers)
            Dialogs.setNextAnswer(static_cast<B::StandardButton>(answer));
        QTest::mouseClick(Find<QPushButton>(*Form, "BtnSave"), Qt::LeftButton);
        return Dialogs.messages().last().Text;
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

    // Each bad file: its reason, and the window as it was ("first": as it started).
    void failedLoadChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        const QString tooShort = "The file is too short to be a tactic file.";
        QTest::addRow("too short") << "short.tct" << tooShort;
        QTest::addRow("too short, first") << "short.tct" << tooShort;
        QTest::addRow("missing") << "none.tct"
                                 << "The file cannot be opened: no such file or directory.";
        QTest::addRow("a folder") << "."
                                  << "It is not a regular file but a folder, a device or a pipe.";
        QTest::addRow("held") << "433.tct"
                              << "The file is held by another program.";
    }
    void failedLoadChangesNothing() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const bool first = QString(QTest::currentDataTag()).endsWith("first");
        if (first)
            StartWindow();
        const QString path = QDir::cleanPath(Game->Tactics() + "/" + name);
        Game->WriteBytes("short.tct", QByteArray(1460, 'x'));
        const auto held = Hold(Game->WriteTactic("433.tct", SampleTactic(2)));
        const QByteArray before = Encoded(Form->MainTactic());
        Load(*Form, Dialogs, 1, path);
        QCOMPARE(Dialogs.messages().size(), 1);
        QCOMPARE(Dialogs.messages()[0].Icon, B::Critical);
        QCOMPARE(Dialogs.messages()[0].Text, "Could not load tactic " + path + "\n" + reason);
        QCOMPARE(Form->MainTacticFile(), first ? QString() : Main);
        QCOMPARE(Find<QLabel>(*Form, "LabelTN1")->text(), first ? "Not load" : "MY442");
        QCOMPARE(Find(*Form, "BtnSave")->isEnabled(), !first); // no save over the chosen file
        QCOMPARE(Encoded(Form->MainTactic()), before);
        QCOMPARE(ReadAll(Game->Tactics() + "/short.tct"), QByteArray(1460, 'x'));
    }

    // Each change of the files between load and save, by the row's name.
    void failedSaveWritesNothing_data() {
        QTest::addColumn<QString>("reason");
        const QString notAFile = "It is not a regular file but a folder, a device or a pipe.";
        QTest::addRow("deleted") << "The file cannot be opened: no such file or directory.";
        QTest::addRow("truncated") << "The file is too short to be a tactic file.";
        QTest::addRow("grown") << "Its size changed since it was loaded, so it no longer holds the "
                                  "tactic that was loaded.";
        QTest::addRow("a folder") << notAFile;
        QTest::addRow("a FIFO") << notAFile;
        QTest::addRow("held") << "The file is held by another program.";
        QTest::addRow("a link to the second") << "The name now leads to another file than the one "
                                                 "that was loaded.";
        QTest::addRow("a folder as the copy") << "The copy could not be written: is a directory.";
    }
    void failedSaveWritesNothing() {
        QFETCH(QString, reason);
        const QString change = QTest::currentDataTag();
        const bool copy = change.endsWith("copy");
        if (!copy)
            Game->WriteBytes("MY442.old", "an earlier reserve copy");
        const QByteArray before = ReadAll(Main), second = ReadAll(Second);
        QFile::resize(Main, change == "grown" ? 1700 : change == "truncated" ? 1000 : 1600);
        if (change.startsWith("a ") && !copy)
            QFile::remove(Main);
        if (change == "deleted")
            QFile::remove(Main);
        const auto held = change == "held" ? Hold(Main) : nullptr;
        if (change == "a folder" || copy)
            QDir().mkdir(copy ? Reserve : Main);
        if (change == "a FIFO")
            ::mkfifo(QFile::encodeName(Main).constData(), 0600);
        if (change.contains("link"))
            QFile::link(Second, Main);
        const QString said = Save({B::Ok});
        QCOMPARE(Dialogs.messages().size(), 2);
        QCOMPARE(said,
                 copy ? "Could not make the reserve copy " + Reserve + "\n" + reason +
                            "\nThe tactic was not saved; its file and any earlier reserve "
                            "copy are as they were."
                      : "Could not save tactic " + Main + "\n" + reason + "\nNothing was written.");
        QCOMPARE(ReadAll(Reserve), copy ? QByteArray() : QByteArray("an earlier reserve copy"));
        QCOMPARE(ReadAll(Second), second);
        if (change == "held" || copy)
            QCOMPARE(ReadAll(Main), before);
    }
};

QTEST_MAIN(TestLoadSave)
#include "test_loadsave.moc"
