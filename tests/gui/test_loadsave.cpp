// Loading and saving through the window: what each answer to the save's
// questions writes, each bad file's message, and each failed save's message
// with the tactic's file and its earlier reserve copy as they were.
#include "FormHarness.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>

using namespace guitest;
using B = QMessageBox;

namespace {

// A hold on a file, as another editor takes it while it loads or saves.
std::shared_ptr<void> Hold(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        qFatal("cannot hold %s", qPrintable(path));
    return std::shared_ptr<void>(nullptr, [fd](void*) { ::close(fd); });
}

} // namespace

class TestLoadSave : public QObject, private TFormFixture {
    Q_OBJECT
    QString Main, Second, Reserve;
    void Edit() { PickInGrid(*Form, 1, 4, QStringLiteral("Direct")); }
    void Save() { QTest::mouseClick(Find<QPushButton>(*Form, "BtnSave"), Qt::LeftButton); }
    // The bytes a save of the window's tactic must leave: the codec's over `before`.
    QByteArray Saved(const QByteArray& before) {
        const QString path = Game->WriteBytes(QStringLiteral("expected"), before);
        TCmTactic(Form->MainTactic()).Save(QFile::encodeName(path).toStdString());
        return ReadAll(path);
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
        QTest::addColumn<bool>("reserveBox");
        QTest::addColumn<bool>("changedOnDisk");
        QTest::addColumn<QList<int>>("answers");
        QTest::addRow("ok") << true << false << QList<int>{B::Ok};
        QTest::addRow("cancel") << true << false << QList<int>{B::Cancel};
        QTest::addRow("box closed") << true << false << QList<int>{B::NoButton};
        QTest::addRow("reserve box off, copy made") << false << false << QList<int>{B::Ok};
        QTest::addRow("changed on disk, overwrite") << true << true << QList<int>{B::Ok, B::Ok};
        QTest::addRow("changed on disk, kept") << true << true << QList<int>{B::Ok, B::Cancel};
    }
    void answersDecideWhatIsWritten() {
        QFETCH(bool, reserveBox);
        QFETCH(bool, changedOnDisk);
        QFETCH(QList<int>, answers);
        const bool written = answers.last() == B::Ok;
        QByteArray onDisk = ReadAll(Main);
        if (changedOnDisk)
            onDisk[1400] = static_cast<char>(onDisk[1400] ^ 0x10);
        Game->WriteBytes("my442.tct", onDisk);
        const QByteArray second = ReadAll(Second);
        Edit();
        if (!reserveBox)
            Click(Find<QAbstractButton>(*Form, "ReserveCopy"));
        for (int answer : answers)
            Dialogs.setNextAnswer(static_cast<B::StandardButton>(answer));
        Save();
        QCOMPARE(Dialogs.messages().size(), answers.size());
        const auto& asked = Dialogs.messages().first();
        QCOMPARE(asked.Caption, QStringLiteral("Overwrite tactic?"));
        QCOMPARE(asked.Text, QStringLiteral("Overwrite tactic MY442?\n\r\n\r"
                                            "Previous tactic will save in file MY442.old"));
        QCOMPARE(asked.Icon, B::Question);
        QCOMPARE(asked.Buttons, B::Ok | B::Cancel);
        const auto& changed = Dialogs.messages().last();
        QCOMPARE(changed.Caption == "Tactic changed on disk", changedOnDisk);
        QCOMPARE(changed.Text.startsWith("Another program has changed tactic "), changedOnDisk);
        QCOMPARE(ReadAll(Main), written ? Saved(onDisk) : onDisk);
        QCOMPARE(ReadAll(Reserve), written ? onDisk : QByteArray());
        QCOMPARE(Form->Document().IsModified(), !written);
        QCOMPARE(ReadAll(Second), second);
        QVERIFY(!QFile::exists(Game->Tactics() + "/433.old"));
    }

    // Each bad file: its reason, and the window as it was (for "first", as it started).
    void failedLoadChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        const QString shortFile = "The file is too short to be a tactic file.";
        QTest::addRow("too short") << "short.tct" << shortFile;
        QTest::addRow("too short, first") << "short.tct" << shortFile;
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
        const TCmTactic before = Form->MainTactic();
        Load(*Form, Dialogs, 1, path);
        QCOMPARE(Dialogs.messages().size(), 1);
        const auto& shown = Dialogs.messages().first();
        QCOMPARE(shown.Caption, QStringLiteral("Pitchwright"));
        QCOMPARE(shown.Icon, B::Critical);
        QCOMPARE(shown.Buttons, B::Ok);
        QCOMPARE(shown.Text,
                 "Could not load tactic " + QDir::toNativeSeparators(path) + "\n" + reason);
        QCOMPARE(Form->MainTacticFile(), first ? QString() : Main);
        QCOMPARE(Find<QLabel>(*Form, "LabelTN1")->text(), first ? "Not load" : "MY442");
        QCOMPARE(Find(*Form, "BtnSave")->isEnabled(), !first);
        QCOMPARE(Find(*Form, "ImagePanel")->isVisible(), !first);
        QCOMPARE(Encoded(Form->MainTactic()), Encoded(before));
        QCOMPARE(ReadAll(Game->Tactics() + "/short.tct"), QByteArray(1460, 'x'));
    }

    // Each change of the files between load and save (the row's name): the
    // save's message, and nothing written.
    void failedSaveKeepsTheTacticWhole_data() {
        QTest::addColumn<QString>("reason");
        QTest::addRow("deleted") << "The file cannot be opened: no such file or directory.";
        QTest::addRow("truncated") << "The file is too short to be a tactic file.";
        QTest::addRow("grown") << "Its size changed since it was loaded, so it no longer holds the "
                                  "tactic that was loaded.";
        QTest::addRow("a folder") << "It is not a regular file but a folder, a device or a pipe.";
        QTest::addRow("a FIFO") << "It is not a regular file but a folder, a device or a pipe.";
        QTest::addRow("held") << "The file is held by another program.";
        QTest::addRow("a link")
            << "The name now leads to another file than the one that was loaded.";
        QTest::addRow("a folder as the copy") << "The copy could not be written: is a directory.";
    }
    void failedSaveKeepsTheTacticWhole() {
        QFETCH(QString, reason);
        const QString change = QTest::currentDataTag();
        Game->WriteBytes("MY442.old", "an earlier reserve copy");
        const QByteArray before = ReadAll(Main);
        const QByteArray second = ReadAll(Second);
        const QByteArray file = QFile::encodeName(Main);
        std::shared_ptr<void> held;
        if (change != "truncated" && change != "grown" && change != "held" &&
            change != "a folder as the copy")
            QFile::remove(Main);
        if (change == "truncated" || change == "grown")
            QFile::resize(Main, change == "grown" ? 1700 : 1000);
        else if (change == "a folder")
            QDir().mkdir(Main);
        else if (change == "a FIFO")
            ::mkfifo(file.constData(), 0600);
        else if (change == "held")
            held = Hold(Main);
        else if (change == "a link")
            QFile::link(Second, Main);
        else if (change == "a folder as the copy")
            QFile::remove(Reserve), QDir().mkdir(Reserve);
        Edit();
        Dialogs.setNextAnswer(B::Ok);
        Save();
        QCOMPARE(Dialogs.messages().size(), 2);
        QCOMPARE(Dialogs.messages().last().Icon, B::Critical);
        const QString copy = "Could not make the reserve copy %1\n%2\nThe tactic was not saved; "
                             "its file and any earlier reserve copy are as they were.";
        const QString save = "Could not save tactic %1\n%2\nNothing was written.";
        QCOMPARE(Dialogs.messages().last().Text,
                 change.endsWith("copy") ? copy.arg(QDir::toNativeSeparators(Reserve), reason)
                                         : save.arg(QDir::toNativeSeparators(Main), reason));
        if (!change.endsWith("copy"))
            QCOMPARE(ReadAll(Reserve), QByteArray("an earlier reserve copy"));
        QCOMPARE(ReadAll(Second), second);
        if (change == "held" || change.endsWith("copy"))
            QCOMPARE(ReadAll(Main), before);
        QVERIFY(Form->Document().IsModified());
    }

    void fullDiskKeepsTheTacticAndTheEarlierCopy() {
        TGameFolder game;
        const QByteArray folder = QFile::encodeName(game.Tactics());
        if (::mount("pw-test", folder.constData(), "tmpfs", 0, "size=12k") != 0)
            QSKIP("cannot mount a small tmpfs here (needs root): full disk not tested");
        const auto unmount = qScopeGuard([&] { ::umount2(folder.constData(), MNT_DETACH); });
        const QString file = game.WriteTactic("my442.tct", SampleTactic(1));
        game.WriteBytes("MY442.old", "an earlier reserve copy");
        game.WriteBytes("filler", QByteArray(4096, 'f')); // the last free page
        const QByteArray before = ReadAll(file);
        Form = StartForm(Dialogs, game);
        Load(*Form, Dialogs, 1, file);
        PickInGrid(*Form, 1, 4, QStringLiteral("Direct"));
        Dialogs.setNextAnswer(B::Ok);
        Save();
        QVERIFY(Dialogs.messages().last().Text.contains(": no space left on device.\n"));
        QCOMPARE(ReadAll(file), before);
        QCOMPARE(ReadAll(game.Tactics() + "/MY442.old"), QByteArray("an earlier reserve copy"));
        Form.reset();
    }
};

QTEST_MAIN(TestLoadSave)
#include "test_loadsave.moc"
