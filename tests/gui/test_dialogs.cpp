// Qt's own dialogs behind the window's dialog seam, as a user meets them:
// message texts, where a box stands, where the open dialog starts.
#include "Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `look` on the modal dialog once it shows, then closes it.
void WhenShown(const std::function<void(QDialog&)>& look) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, look] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        look(*dialog);
        dialog->reject();
    });
    timer->start();
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void messageBoxShowsOneBreakPerPairInTheMiddle_data();
    void messageBoxShowsOneBreakPerPairInTheMiddle();
    void openDialogStartsInAnExistingFolder_data();
    void openDialogStartsInAnExistingFolder();
};

void TestDialogs::messageBoxShowsOneBreakPerPairInTheMiddle_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("game not found")
        << QStringLiteral("CM 00-01 not found in registry!\n\rIgnore this message & continue?")
        << QStringList{"CM 00-01 not found in registry!", "Ignore this message & continue?"};
    QTest::newRow("save question")
        << QStringLiteral(
               "Overwrite tactic MY442?\n\r\n\rPrevious tactic will save in file MY442.old")
        << QStringList{"Overwrite tactic MY442?", "",
                       "Previous tactic will save in file MY442.old"};
}

void TestDialogs::messageBoxShowsOneBreakPerPairInTheMiddle() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    // The main window while it starts: built, placed at the top left, not yet shown.
    QWidget window;
    window.setGeometry(0, 0, 790, 482);
    int shownHeight = 0;
    int expectedHeight = 0;
    QPoint offCentre;
    WhenShown([&](QDialog& box) {
        const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        // The label is as high as one with the lines joined by single breaks.
        QLabel expected;
        expected.setFont(label->font());
        expected.setWordWrap(label->wordWrap());
        expected.setTextFormat(label->textFormat());
        expected.setText(lines.join(QLatin1Char('\n')));
        shownHeight = label->heightForWidth(label->width());
        expectedHeight = expected.heightForWidth(label->width());
        offCentre = box.frameGeometry().center() - box.screen()->availableGeometry().center();
    });
    TQtDialogs dialogs;
    dialogs.Message(&window, QMessageBox::Warning, QStringLiteral("Warning!"), text,
                    QMessageBox::Yes | QMessageBox::No);
    QVERIFY(expectedHeight > 0);
    QCOMPARE(shownHeight, expectedHeight);
    QVERIFY2(
        offCentre.manhattanLength() <= 4,
        qPrintable(QStringLiteral("%1, %2 off the centre").arg(offCentre.x()).arg(offCentre.y())));
}

void TestDialogs::openDialogStartsInAnExistingFolder_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("the game's tactics folder") << true;
    QTest::newRow("no game: a folder that is not there") << false;
}

void TestDialogs::openDialogStartsInAnExistingFolder() {
    QFETCH(bool, exists);
    QTemporaryDir tactics;
    const QString folder = exists ? tactics.path() : QStringLiteral("CM 00-01 not found/tactics");
    QString startedIn;
    QString typedName = QStringLiteral("(none)");
    WhenShown([&](QDialog& shown) {
        auto& dialog = static_cast<QFileDialog&>(shown);
        startedIn = dialog.directory().absolutePath();
        if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            typedName = name->text();
    });
    TQtDialogs dialogs;
    QCOMPARE(dialogs.OpenFileName(nullptr, folder, QStringLiteral("CM 00/01 tactics files (*.tct)"),
                                  QStringLiteral("tct")),
             std::nullopt);
    QCOMPARE(startedIn, exists ? QDir(tactics.path()).absolutePath() : QDir::homePath());
    QCOMPARE(typedName, QString());
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
