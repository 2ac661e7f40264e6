// Loading and saving through the window: short names, the save question,
// the reserve copy, and what a failed load, copy or save must leave alone.
#include "FormHarness.h"
#include "ShortName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <functional>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace guitest;

namespace {

// Holds a file the way a second editor would while it loads or saves it.
class THeldFile {
public:
    explicit THeldFile(const QString& path) {
#ifndef _WIN32
        Fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (Fd >= 0 && ::flock(Fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(Fd);
            Fd = -1;
        }
#endif
    }
    ~THeldFile() {
#ifndef _WIN32
        if (Fd >= 0)
            ::close(Fd);
#endif
    }
    bool Held() const {
        return Fd >= 0;
    }

private:
    int Fd = -1;
};

struct TLoaded {
    TGameFolder Game;
    QString MainFile;
    QString SecondFile;
    std::unique_ptr<TMainForm> Form;
};

// A window with my442.tct loaded as the main tactic and 433.tct as the second.
std::unique_ptr<TLoaded> LoadBoth(TScriptedDialogs& dialogs) {
    auto loaded = std::make_unique<TLoaded>();
    loaded->MainFile = loaded->Game.WriteTactic("my442.tct", SampleTactic(1));
    loaded->SecondFile = loaded->Game.WriteTactic("433.tct", SampleTactic(2));
    loaded->Form = StartForm(dialogs, loaded->Game);
    Load(*loaded->Form, dialogs, 1, loaded->MainFile);
    Load(*loaded->Form, dialogs, 2, loaded->SecondFile);
    dialogs.clearLog();
    return loaded;
}

// An error as the window reports it: its own caption, the error icon, OK.
void ExpectError(const TScriptedDialogs::TShownMessage& shown, const QString& text) {
    QCOMPARE(shown.Caption, QStringLiteral("Pitchwright"));
    QCOMPARE(shown.Icon, QMessageBox::Critical);
    QCOMPARE(shown.Buttons, QMessageBox::Ok);
    QCOMPARE(shown.Text, text);
}

void ClickSave(TMainForm& form) {
    QTest::mouseClick(Find<QPushButton>(form, "BtnSave"), Qt::LeftButton);
}

// What a change between load and save leaves running until the save is
// over: another program's hold on the file.
using THolder = std::shared_ptr<THeldFile>;
using TChange = std::function<THolder(const TLoaded&)>;

// Changes one instruction through the grid, so that a save has something to write.
void Edit(TMainForm& form) {
    PickInGrid(form, 1, 4, QStringLiteral("Direct"));
    QCOMPARE(form.MainTactic().Players[3].Instr[1], std::string("Direct"));
}

} // namespace

class TestLoadSave : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs.clearLog(); }

    void shortNames();
    void saveAsksTheExactQuestion();
    void okMakesTheReserveCopyThenSaves();
    void cancelTouchesNothing();
    void secondTacticsFileIsNeverWritten();
    void reserveCopyIsMadeWhateverTheCheckBoxSays();
    void failedLoadIsReportedAndChangesNothing();
    void failedLoadOfTheFirstTacticLeavesTheStartedWindow();
    void failedReserveCopyStopsTheSave();
    void failedSaveLeavesTheTacticWhole_data();
    void failedSaveLeavesTheTacticWhole();
    void changesByAnotherProgramAreOverwrittenOnlyOnOk();
    void fullDiskKeepsTheTacticAndTheEarlierCopy();

private:
    TScriptedDialogs Dialogs;
};

void TestLoadSave::shortNames() {
    QCOMPARE(ShortName("/home/me/tactics/my442.tct", TPathStyle::Unix), QStringLiteral("MY442"));
    QCOMPARE(ShortName("C:\\CM0001\\tactics\\my442.tct", TPathStyle::Windows),
             QStringLiteral("MY442"));
    QCOMPARE(ShortName("C:/CM0001/tactics\\x/my442.tct", TPathStyle::Windows),
             QStringLiteral("MY442"));
    // Four characters after the separator leave nothing.
    QCOMPARE(ShortName("/tactics/a.tc", TPathStyle::Unix), QString());
    QCOMPARE(ShortName("/tactics/ab", TPathStyle::Unix), QString());
    // No separator: cut only at the end.
    QCOMPARE(ShortName("my442.tct", TPathStyle::Unix), QStringLiteral("MY442"));
    // A backslash is part of a Unix name.
    QCOMPARE(ShortName("/t/a\\b.tct", TPathStyle::Unix), QStringLiteral("A\\B"));
    QCOMPARE(ShortName("/t/a\\b.tct", TPathStyle::Windows), QStringLiteral("B"));
    // The last four characters go whatever they are; letters are upper-cased by locale.
    QCOMPARE(ShortName("/t/тактика.old", TPathStyle::Unix), QStringLiteral("ТАКТИКА"));
}

void TestLoadSave::saveAsksTheExactQuestion() {
    auto loaded = LoadBoth(Dialogs);
    Dialogs.setNextAnswer(QMessageBox::Cancel);
    ClickSave(*loaded->Form);
    QCOMPARE(Dialogs.messages().size(), 1);
    const auto& question = Dialogs.messages().first();
    QCOMPARE(question.Caption, QStringLiteral("Overwrite tactic?"));
    QCOMPARE(question.Text, QStringLiteral("Overwrite tactic MY442?\n\r\n\r"
                                           "Previous tactic will save in file MY442.old"));
    QCOMPARE(question.Icon, QMessageBox::Question);
    QCOMPARE(question.Buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

void TestLoadSave::okMakesTheReserveCopyThenSaves() {
    auto loaded = LoadBoth(Dialogs);
    const QString reserve = loaded->Game.Tactics() + "/MY442.old";
    loaded->Game.WriteBytes("MY442.old", "an older reserve copy");
    const QByteArray before = ReadAll(loaded->MainFile);
    Edit(*loaded->Form);

    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*loaded->Form);
    QCOMPARE(Dialogs.messages().size(), 1); // the question only
    QCOMPARE(ReadAll(reserve), before);
    const QByteArray after = ReadAll(loaded->MainFile);
    QCOMPARE(after.size(), before.size());
    QVERIFY(after != before);
    TCmTactic saved;
    QVERIFY(saved.Load(QFile::encodeName(loaded->MainFile).toStdString()));
    QCOMPARE(saved.Players[3].Instr[1], std::string("Direct"));
    // Saving again copies the file as it now is.
    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*loaded->Form);
    QCOMPARE(ReadAll(reserve), after);
}

void TestLoadSave::cancelTouchesNothing() {
    auto loaded = LoadBoth(Dialogs);
    loaded->Game.WriteBytes("MY442.old", "kept");
    const QByteArray before = ReadAll(loaded->MainFile);
    Edit(*loaded->Form);
    Dialogs.setNextAnswer(QMessageBox::Cancel);
    ClickSave(*loaded->Form);
    QCOMPARE(ReadAll(loaded->MainFile), before);
    QCOMPARE(ReadAll(loaded->Game.Tactics() + "/MY442.old"), QByteArray("kept"));
    // Closing the box is a cancel too.
    Dialogs.setNextAnswer(QMessageBox::NoButton);
    ClickSave(*loaded->Form);
    QCOMPARE(ReadAll(loaded->MainFile), before);
}

void TestLoadSave::secondTacticsFileIsNeverWritten() {
    auto loaded = LoadBoth(Dialogs);
    const QByteArray second = ReadAll(loaded->SecondFile);
    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*loaded->Form);
    QCOMPARE(ReadAll(loaded->SecondFile), second);
    QVERIFY(!QFile::exists(loaded->Game.Tactics() + "/433.old"));
    QVERIFY(QFile::exists(loaded->Game.Tactics() + "/MY442.old"));
}

void TestLoadSave::reserveCopyIsMadeWhateverTheCheckBoxSays() {
    auto loaded = LoadBoth(Dialogs);
    const QByteArray before = ReadAll(loaded->MainFile);
    Click(Find<QAbstractButton>(*loaded->Form, "ReserveCopy"));
    QVERIFY(!Find<QAbstractButton>(*loaded->Form, "ReserveCopy")->isChecked());
    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*loaded->Form);
    QCOMPARE(ReadAll(loaded->Game.Tactics() + "/MY442.old"), before);
}

void TestLoadSave::failedLoadIsReportedAndChangesNothing() {
    auto loaded = LoadBoth(Dialogs);
    TMainForm& form = *loaded->Form;
    const TCmTactic mainBefore = form.MainTactic();
    const auto* grid = Find<QTableWidget>(form, "PlayersGrid");
    const QString cell = grid->item(2, 0)->text();
    const QString shortFile = loaded->Game.WriteBytes("short.tct", QByteArray(1460, 'x'));

    Load(form, Dialogs, 1, shortFile);
    QCOMPARE(Dialogs.messages().size(), 1);
    ExpectError(Dialogs.messages().first(), "Could not load tactic " +
                                                QDir::toNativeSeparators(shortFile) +
                                                "\nThe file is too short to be a tactic file.");
    QCOMPARE(form.MainTactic().Players[0].Instr, mainBefore.Players[0].Instr);
    QCOMPARE(form.MainTactic().Players[10].WithoutBall, mainBefore.Players[10].WithoutBall);
    QCOMPARE(form.MainTactic().TeamInstr, mainBefore.TeamInstr);
    QCOMPARE(Find<QLabel>(form, "LabelTN1")->text(), QStringLiteral("MY442"));
    QCOMPARE(form.MainTacticFile(), loaded->MainFile);
    QCOMPARE(grid->item(2, 0)->text(), cell);

    // A missing file, a folder, a file held by another program: each says why.
    Dialogs.clearLog();
    Load(form, Dialogs, 2, loaded->Game.Tactics() + "/missing.tct");
    QVERIFY(Dialogs.messages().first().Text.endsWith(
        "\nThe file cannot be opened: no such file or directory."));
    QCOMPARE(Find<QLabel>(form, "LabelTN2")->text(), QStringLiteral("433"));
    Dialogs.clearLog();
    Load(form, Dialogs, 1, loaded->Game.Tactics());
    QVERIFY(Dialogs.messages().first().Text.endsWith(
        "It is not a regular file but a folder, a device or a pipe."));
#ifndef _WIN32
    const THeldFile held(loaded->SecondFile);
    QVERIFY(held.Held());
    Dialogs.clearLog();
    Load(form, Dialogs, 1, loaded->SecondFile);
    QVERIFY(Dialogs.messages().first().Text.contains("held by another program"));
    QCOMPARE(form.MainTacticFile(), loaded->MainFile);
#endif
}

void TestLoadSave::failedLoadOfTheFirstTacticLeavesTheStartedWindow() {
    TGameFolder game;
    const QString shortFile = game.WriteBytes("short.tct", QByteArray(100, 'x'));
    auto form = StartForm(Dialogs, game);
    Load(*form, Dialogs, 1, shortFile);
    QCOMPARE(Dialogs.messages().size(), 1);
    // Nothing was enabled or shown: a save cannot write over the chosen file.
    QVERIFY(!Find(*form, "ImagePanel")->isVisible());
    QVERIFY(!Find(*form, "BtnSave")->isEnabled());
    QVERIFY(!Find(*form, "Browse2")->isEnabled());
    const auto* pages = Find<QTabWidget>(*form, "PageControl");
    QVERIFY(!pages->isTabVisible(0));
    QCOMPARE(Find<QLabel>(*form, "LabelTN1")->text(), QStringLiteral("Not load"));
    QVERIFY(form->MainTacticFile().isEmpty());
    QCOMPARE(ReadAll(shortFile), QByteArray(100, 'x'));
}

void TestLoadSave::failedReserveCopyStopsTheSave() {
    auto loaded = LoadBoth(Dialogs);
    const QByteArray before = ReadAll(loaded->MainFile);
    // A folder where the reserve copy would go cannot be replaced by it.
    QVERIFY(QDir(loaded->Game.Tactics()).mkdir("MY442.old"));
    Edit(*loaded->Form);
    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*loaded->Form);
    QCOMPARE(Dialogs.messages().size(), 2);
    ExpectError(Dialogs.messages().last(),
                "Could not make the reserve copy " +
                    QDir::toNativeSeparators(loaded->Game.Tactics() + "/MY442.old") +
                    "\nThe copy could not be written: is a directory.\nThe tactic was not saved; "
                    "its file and any earlier reserve copy are as they were.");
    QCOMPARE(ReadAll(loaded->MainFile), before);
    QCOMPARE(QDir(loaded->Game.Tactics()).entryList(QDir::Files),
             (QStringList{"433.tct", "my442.tct"}));
}

// Each way a tactic's file can change between its load and its save: the
// save says why it did not write, and the tactic survives whole (in its file,
// or in the reserve copy when the file itself was damaged).
void TestLoadSave::failedSaveLeavesTheTacticWhole_data() {
    QTest::addColumn<TChange>("change");
    QTest::addColumn<QString>("reason");
    QTest::addRow("deleted") << TChange([](const TLoaded& l) {
        QFile::remove(l.MainFile);
        return THolder();
    }) << "The file cannot be opened: no such file or directory.";
    QTest::addRow("truncated") << TChange([](const TLoaded& l) {
        QFile::resize(l.MainFile, 1000);
        return THolder();
    }) << "The file is too short to be a tactic file.";
    QTest::addRow("grown") << TChange([](const TLoaded& l) {
        QFile::resize(l.MainFile, 1700);
        return THolder();
    }) << "Its size changed since it was loaded";
    QTest::addRow("a folder now") << TChange([](const TLoaded& l) {
        QFile::remove(l.MainFile);
        QDir().mkdir(l.MainFile);
        return THolder();
    }) << "It is not a regular file";
#ifndef _WIN32
    QTest::addRow("held by another program")
        << TChange([](const TLoaded& l) { return std::make_shared<THeldFile>(l.MainFile); })
        << "The file is held by another program.";
    QTest::addRow("a FIFO now") << TChange([](const TLoaded& l) {
        QFile::remove(l.MainFile);
        ::mkfifo(QFile::encodeName(l.MainFile).constData(), 0600);
        return THolder();
    }) << "It is not a regular file";
    QTest::addRow("a link to another tactic") << TChange([](const TLoaded& l) {
        QFile::remove(l.MainFile);
        QFile::link(l.SecondFile, l.MainFile);
        return THolder();
    }) << "The name now leads to another file than the one that was loaded.";
#endif
}

void TestLoadSave::failedSaveLeavesTheTacticWhole() {
    QFETCH(TChange, change);
    QFETCH(QString, reason);
    auto loaded = LoadBoth(Dialogs);
    const QString reserve = loaded->Game.Tactics() + "/MY442.old";
    loaded->Game.WriteBytes("MY442.old", "an earlier reserve copy");
    const QByteArray original = ReadAll(loaded->MainFile);
    const QByteArray second = ReadAll(loaded->SecondFile);
    Edit(*loaded->Form);
    const THolder holder = change(*loaded);

    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*loaded->Form);
    QCOMPARE(Dialogs.messages().size(), 2);
    const QString text = Dialogs.messages().last().Text;
    QVERIFY2(text.startsWith("Could not save tactic " + QDir::toNativeSeparators(loaded->MainFile) +
                             "\n" + reason),
             qPrintable(text));
    QVERIFY(text.endsWith("\nNothing was written."));
    QCOMPARE(ReadAll(reserve), QByteArray("an earlier reserve copy"));
    QCOMPARE(ReadAll(loaded->SecondFile), second);
    if (QFileInfo(loaded->MainFile).isFile() && !QFileInfo(loaded->MainFile).isSymLink())
        QVERIFY(ReadAll(loaded->MainFile).startsWith(original.left(1000)));
}

void TestLoadSave::changesByAnotherProgramAreOverwrittenOnlyOnOk() {
    auto loaded = LoadBoth(Dialogs);
    Edit(*loaded->Form);
    QByteArray theirs = ReadAll(loaded->MainFile);
    theirs[1400] = static_cast<char>(theirs[1400] ^ 0x10);
    loaded->Game.WriteBytes("my442.tct", theirs);

    Dialogs.setNextAnswer(QMessageBox::Ok);
    Dialogs.setNextAnswer(QMessageBox::Cancel);
    ClickSave(*loaded->Form);
    QCOMPARE(Dialogs.messages().size(), 2);
    const auto& question = Dialogs.messages().last();
    QCOMPARE(question.Caption, QStringLiteral("Tactic changed on disk"));
    QCOMPARE(question.Icon, QMessageBox::Warning);
    QVERIFY(question.Text.startsWith("Another program has changed tactic "));
    QCOMPARE(ReadAll(loaded->MainFile), theirs);
    QVERIFY(!QFile::exists(loaded->Game.Tactics() + "/MY442.old"));

    Dialogs.clearLog();
    Dialogs.setNextAnswer(QMessageBox::Ok);
    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*loaded->Form);
    QCOMPARE(Dialogs.messages().size(), 2);
    QCOMPARE(ReadAll(loaded->Game.Tactics() + "/MY442.old"), theirs);
    TCmTactic saved;
    QVERIFY(saved.Load(QFile::encodeName(loaded->MainFile).toStdString()));
    QCOMPARE(saved.Players[3].Instr[1], std::string("Direct"));
}

void TestLoadSave::fullDiskKeepsTheTacticAndTheEarlierCopy() {
#ifdef _WIN32
    QSKIP("a small disk is mounted with the Linux mount call");
#else
    TGameFolder game;
    const QByteArray folder = QFile::encodeName(game.Tactics());
    if (::mount("pw-test", folder.constData(), "tmpfs", 0, "size=12k") != 0)
        QSKIP("cannot mount a small tmpfs here (needs root): full disk not tested");
    const auto unmount = qScopeGuard([&] { ::umount2(folder.constData(), MNT_DETACH); });
    const QString file = game.WriteTactic("my442.tct", SampleTactic(1));
    game.WriteBytes("MY442.old", "an earlier reserve copy");
    game.WriteBytes("filler", QByteArray(4096, 'f')); // the last free page
    const QByteArray original = ReadAll(file);
    auto form = StartForm(Dialogs, game);
    Load(*form, Dialogs, 1, file);
    Edit(*form);
    Dialogs.clearLog();
    Dialogs.setNextAnswer(QMessageBox::Ok);
    ClickSave(*form);
    QCOMPARE(Dialogs.messages().size(), 2);
    ExpectError(Dialogs.messages().last(),
                "Could not make the reserve copy " +
                    QDir::toNativeSeparators(game.Tactics() + "/MY442.old") +
                    "\nThe copy could not be written: no space left on device.\nThe tactic was "
                    "not saved; its file and any earlier reserve copy are as they were.");
    QCOMPARE(ReadAll(file), original);
    QCOMPARE(ReadAll(game.Tactics() + "/MY442.old"), QByteArray("an earlier reserve copy"));
#endif
}

QTEST_MAIN(TestLoadSave)
#include "test_loadsave.moc"
