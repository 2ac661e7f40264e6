// Pictures and sheets from the window: what each answer and failure leaves.
#include "FormHarness.h"
#include "tests/tactic/TestFiles.h"

#include <unistd.h>

using namespace guitest;
using B = QMessageBox;

class TestExport : public QObject, private TFormFixture {
    Q_OBJECT

    // Every entry of the folder, so that a temporary left behind shows too.
    static QMap<QString, QByteArray> Files(const QString& folder) {
        QMap<QString, QByteArray> files;
        for (const QString& name :
             QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            files[name] = ReadAll(folder + "/" + name);
        return files;
    }

private slots:
    // `target` is the name chosen in the dialog, `place` what its folder holds
    // or lacks; `written` the new file's first bytes (empty: none), `message`
    // what the failure's box says.
    void refusalsAndFailuresChangeNothingElse_data() {
        for (const char* column : {"button", "target", "place", "message"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("answer"); // to the question about an existing file
        QTest::addColumn<QByteArray>("written");
        const QByteArray png("\x89PNG\r\n\x1a\n"), pdf("%PDF-"), none;
        const auto row = [](const char* name, const char* button, const char* target,
                            const char* place, int answer, const QByteArray& written,
                            const char* message = "") {
            QTest::addRow("%s", name) << button << target << place << message << answer << written;
        };
        row("picture", "BtnPicture", "a.png", "", 0, png);
        row("sheet as PNG", "BtnSheet", "a.PNG", "", 0, png);
        row("sheet as PDF", "BtnSheet", "a.pdf", "", 0, pdf);
        row("existing, answered no", "BtnSheet", "a.pdf", "file", B::No, none);
        row("existing, answered yes", "BtnSheet", "a.pdf", "file", B::Yes, pdf);
        row("a folder's name", "BtnPicture", "a.png", "folder", 0, none,
            "That name is a folder's.");
        row("another extension", "BtnSheet", "a.jpg", "", 0, none, "must end in .png or .pdf");
        row("a folder not writable", "BtnPicture", "a.png", "read-only", 0, none,
            "The folder does not take new files");
        row("a full disk", "BtnSheet", "a.png", "full", 0, none,
            "The disk is full: no space left on device.");
    }
    void refusalsAndFailuresChangeNothingElse() {
        QFETCH(QString, button);
        QFETCH(QString, target);
        QFETCH(QString, place);
        QFETCH(QString, message);
        QFETCH(int, answer);
        QFETCH(QByteArray, written);
        pwtest::TSmallDisk disk(place == "full" ? "size=4k" : "size=64k");
        QTemporaryDir temporary;
        const bool onDisk = place == "full" || (place == "read-only" && ::geteuid() == 0);
        if (onDisk && !disk.Mounted)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        const QString folder =
            onDisk ? QString::fromStdString(pwtest::Utf8(disk.Dir.Path())) : temporary.path();
        const QString path = folder + "/" + target;
        for (const QString& name : {QStringLiteral("other.png"), place == "file" ? target : ""})
            if (QFile file(folder + "/" + name); !name.isEmpty() && file.open(QIODevice::WriteOnly))
                file.write("earlier");
        if (place == "folder")
            QDir(folder).mkpath(target + "/inside");
        if (place == "read-only")
            QVERIFY(onDisk ? disk.MakeReadOnly()
                           : QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        StartWindow();
        Load(*Form, Dialogs, 1, Game->WriteTactic("my442.tct", SampleTactic(1)));
        const QByteArray tactic = ReadAll(Form->MainTacticFile());
        auto files = Files(folder);
        Dialogs.clearLog();
        Dialogs.setNextFileName(path);
        if (answer != 0)
            Dialogs.setNextAnswer(static_cast<B::StandardButton>(answer));
        Click(Find<QAbstractButton>(*Form, button.toLatin1()));

        QCOMPARE(Dialogs.saveRequests().value(0).Folder, UserFolder() + "/MY442");
        QCOMPARE(Dialogs.messages().size(), int(answer != 0) + int(!message.isEmpty()));
        if (answer != 0)
            QCOMPARE(Dialogs.messages()[0].Text,
                     QDir::toNativeSeparators(path) + " already exists.\nReplace it?");
        if (!message.isEmpty())
            QVERIFY(Dialogs.messages().last().Text.contains(message));
        if (!written.isEmpty())
            files[target] = ReadAll(path);
        QVERIFY(files.value(target).startsWith(written));
        QCOMPARE(Files(folder), files); // no temporary, nothing else
        QCOMPARE(ReadAll(Form->MainTacticFile()), tactic);
        QVERIFY(!Form->Document().IsModified() &&
                const_cast<TTacticDocument&>(Form->Document()).History().count() == 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        StopWindow();
    }
};

QTEST_MAIN(TestExport)
#include "test_export.moc"
