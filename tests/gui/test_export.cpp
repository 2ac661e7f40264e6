// Pictures and sheets written from the window: what each answer and each
// failure leaves in the target's folder, with the tactic untouched.
#include "FormHarness.h"
#include "tests/tactic/TestFiles.h"

#include <unistd.h>

using namespace guitest;
using B = QMessageBox;

class TestExport : public QObject, private TFormFixture {
    Q_OBJECT

    // Every file under the folder, so that a temporary left behind shows too.
    static QMap<QString, QByteArray> Files(const QString& folder) {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files[QDir(folder).relativeFilePath(path)] = ReadAll(path);
        }
        return files;
    }

private slots:
    void init() {
        StartWindow();
        Load(*Form, Dialogs, 1, Game->WriteTactic("my442.tct", SampleTactic(1)));
        Dialogs.clearLog();
    }
    void cleanup() { StopWindow(); }

    // `target` is the name chosen in the dialog; `place` prepares its folder.
    void refusalsAndFailuresChangeNothingElse_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("answer");         // to the question about an existing file
        QTest::addColumn<QByteArray>("written"); // the new file's first bytes; empty: none
        QTest::addColumn<QString>("message");    // what the failure's box says
        const QByteArray png("\x89PNG\r\n\x1a\n"), pdf("%PDF-");
        QTest::addRow("picture") << "BtnPicture"
                                 << "a.png"
                                 << "" << 0 << png << "";
        QTest::addRow("sheet as PNG") << "BtnSheet"
                                      << "a.PNG"
                                      << "" << 0 << png << "";
        QTest::addRow("sheet as PDF") << "BtnSheet"
                                      << "a.pdf"
                                      << "" << 0 << pdf << "";
        QTest::addRow("existing, answered no") << "BtnSheet"
                                               << "a.pdf"
                                               << "file" << int(B::No) << QByteArray() << "";
        QTest::addRow("existing, answered yes") << "BtnSheet"
                                                << "a.pdf"
                                                << "file" << int(B::Yes) << pdf << "";
        QTest::addRow("a folder's name")
            << "BtnPicture"
            << "a.png"
            << "folder" << 0 << QByteArray() << "That name is a folder's.";
        QTest::addRow("another extension") << "BtnSheet"
                                           << "a.jpg"
                                           << "" << 0 << QByteArray() << "must end in .png or .pdf";
        QTest::addRow("a folder not writable")
            << "BtnPicture"
            << "a.png"
            << "read-only" << 0 << QByteArray() << "The folder does not take new files";
        QTest::addRow("a full disk")
            << "BtnSheet"
            << "a.png"
            << "full" << 0 << QByteArray() << "The disk is full: no space left on device.";
    }
    void refusalsAndFailuresChangeNothingElse() {
        QFETCH(QString, button);
        QFETCH(QString, target);
        QFETCH(QString, place);
        QFETCH(int, answer);
        QFETCH(QByteArray, written);
        QFETCH(QString, message);
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
        const QByteArray tactic = ReadAll(Form->MainTacticFile());
        auto files = Files(folder);

        Dialogs.setNextFileName(path);
        if (answer != 0)
            Dialogs.setNextAnswer(static_cast<B::StandardButton>(answer));
        Click(Find<QAbstractButton>(*Form, button.toLatin1()));

        QCOMPARE(Dialogs.saveRequests().size(), 1);
        QCOMPARE(Dialogs.saveRequests()[0].StartPath, UserFolder() + "/MY442");
        QCOMPARE(Dialogs.messages().size(), int(answer != 0) + int(!message.isEmpty()));
        if (answer != 0)
            QCOMPARE(Dialogs.messages()[0].Text,
                     QDir::toNativeSeparators(path) + " already exists.\nReplace it?");
        if (!message.isEmpty())
            QVERIFY2(Dialogs.messages().last().Text.contains(message),
                     qPrintable(Dialogs.messages().last().Text));
        if (!written.isEmpty())
            files[target] = ReadAll(path);
        QVERIFY(files.value(target).startsWith(written));
        QCOMPARE(Files(folder), files); // no temporary, nothing else
        QCOMPARE(ReadAll(Form->MainTacticFile()), tactic);
        QVERIFY(!Form->Document().IsModified() &&
                const_cast<TTacticDocument&>(Form->Document()).History().count() == 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_MAIN(TestExport)
#include "test_export.moc"
