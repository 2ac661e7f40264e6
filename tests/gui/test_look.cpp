// What the user sees beyond the window's own controls: the tab under the
// mouse marked, and Qt's dialogs behind the window's dialog seam.
#include "FormHarness.h"

#include <QtTest>
#include <QtWidgets>

using namespace guitest;

namespace {

// Runs `look` on the modal dialog once it shows, then closes it.
void WhenShown(const std::function<void(QDialog&)>& look) {
    QTimer::singleShot(10, [look] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return WhenShown(look);
        look(*dialog);
        dialog->reject();
    });
}

} // namespace

class TestLook : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    // Only the tab under the mouse changes, and it is plain again once the mouse has left.
    void tabUnderTheMouseIsMarked() {
        StartWindow();
        Load(*Form, Dialogs, 1, Game->WriteTactic("a.tct", SampleTactic(1)));
        QTabBar* tabs = Find<QTabWidget>(*Form, "PageControl")->tabBar();
        const QPoint away = tabs->mapTo(Form.get(), QPoint(0, 200));
        QTest::mouseMove(Form.get(), away);
        const QImage plain = tabs->grab().toImage();
        QTest::mouseMove(tabs, tabs->tabRect(0).center());
        QTRY_VERIFY(tabs->grab().toImage().copy(tabs->tabRect(0)) != plain.copy(tabs->tabRect(0)));
        QCOMPARE(tabs->grab().toImage().copy(tabs->tabRect(3)), plain.copy(tabs->tabRect(3)));
        QTest::mouseMove(Form.get(), away);
        QTRY_COMPARE(tabs->grab().toImage(), plain);
        StopWindow();
    }

    // Each line feed + carriage return pair is one break; a box without a
    // shown parent stands in the middle of the screen.
    void messageBoxShowsOneBreakPerPair() {
        QWidget window; // the main window while it starts: placed, not shown
        window.setGeometry(0, 0, 790, 482);
        QString shown;
        QPoint off;
        WhenShown([&](QDialog& box) {
            shown = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
            off = box.frameGeometry().center() - box.screen()->availableGeometry().center();
        });
        TQtDialogs().Message(
            &window, QMessageBox::Question, "Overwrite tactic?",
            "Overwrite tactic MY442?\n\r\n\rPrevious tactic will save in file MY442.old",
            QMessageBox::Ok);
        QCOMPARE(shown,
                 QStringLiteral(
                     "Overwrite tactic MY442?\n\nPrevious tactic will save in file MY442.old"));
        QVERIFY2(off.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1, %2").arg(off.x()).arg(off.y())));
    }

    // The open dialog starts in the folder asked for, or in the user's own when it is not there.
    void openDialogStartsInAnExistingFolder() {
        QTemporaryDir tactics;
        for (const QString& folder :
             {tactics.path(), QStringLiteral("CM 00-01 not found/tactics")}) {
            QString startedIn;
            WhenShown([&](QDialog& dialog) {
                startedIn = static_cast<QFileDialog&>(dialog).directory().absolutePath();
            });
            QCOMPARE(
                TQtDialogs().OpenFileName(nullptr, folder, "CM 00/01 tactics files (*.tct)", "tct"),
                std::nullopt);
            QCOMPARE(startedIn,
                     QDir(QDir(folder).exists() ? folder : QDir::homePath()).absolutePath());
        }
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
