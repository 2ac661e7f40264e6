// The main window as the user finds it at each stage, in both languages; the
// start-up as the registry shapes it; Qt's dialogs behind the dialog seam;
// the handler of escaping exceptions.
#include "FormHarness.h"
#include "editor/Application.h"

using namespace guitest;

namespace {

// Every control's class, name, place, state, pointer, font, hint and text,
// and the credits: what the user meets, one line each, with the temporary
// tactics folder named as such.
QString Controls(const TMainForm& form, const QString& tactics) {
    QStringList lines;
    for (const std::string& credit : form.Credits())
        lines << QString::fromStdString(credit);
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        QString line;
        QDebug(&line) << w->metaObject()->className() << w->objectName() << w->geometry()
                      << w->isVisibleTo(&form) << w->isHidden() << w->isEnabled()
                      << w->cursor().shape() << w->font().pointSize() << w->toolTip()
                      << w->property("tag") << w->property("text") << w->property("title")
                      << w->property("checked") << w->property("minimum") << w->property("maximum")
                      << w->property("value");
        if (const auto* tabs = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                QDebug(&line) << tabs->tabText(i) << tabs->isTabVisible(i) << tabs->currentIndex();
        if (const auto* grid = qobject_cast<const QTableWidget*>(w))
            for (int r = 0; r < grid->rowCount(); ++r)
                for (int c = -1; c < grid->columnCount(); ++c)
                    QDebug(&line)
                        << (c < 0 ? grid->verticalHeaderItem(r) : grid->item(r, c))->text();
        lines << line;
    }
    lines.sort();
    return lines.join('\n').replace(QDir::toNativeSeparators(tactics), "TACTICS");
}

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

class TestMainWindow : public QObject, private TFormFixture {
    Q_OBJECT
    TScriptedDialogs* AppDialogs = nullptr;

public:
    explicit TestMainWindow(TScriptedDialogs& dialogs)
        : AppDialogs(&dialogs) {}

private slots:
    void cleanup() { StopWindow(); }

    // The whole window after the row's steps, done in turn: the hashes of its
    // controls and of its picture. A failure prints the controls' lines and
    // the new hashes, which replace these when the change is meant.
    void stages_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("hashes");
        QTest::addRow("started") << 0 << "70d20900ece9f56c 32bca7d9bc380471";
        QTest::addRow("main tactic loaded, its name cut short")
            << 1 << "b03f6c1a7e3bcb94 5f4a1864bf9c9e87";
        QTest::addRow("second loaded, General page, cell picked")
            << 2 << "c0fa152535d55f34 033492fc7bf29121";
        QTest::addRow("Russian, Compare page") << 3 << "1c551c2ea74c2fda ba9cbe206581c45c";
        QTest::addRow("Anti page, hints and \"No\" off, the mouse on a tab")
            << 4 << "f466581a7aa1c572 a7f49e2e64b6aa18";
        QTest::addRow("English again, Options page, \"Team\" hidden")
            << 5 << "fb4fcdc36ff71a9b 310c48b2ed2ab257";
    }
    void stages() {
        QFETCH(int, steps);
        QFETCH(QString, hashes);
        StartWindow();
        Click(Find<QAbstractButton>(*Form, "HideLogo")); // credits held still
        const QString name = "4-4-2 DIAMOND WITH WING BACKS";
        const auto language = [&](const char* button) {
            QTest::mouseClick(Find<QPushButton>(*Form, button), Qt::LeftButton);
        };
        const std::function<void()> step[] = {
            [&] {
                Load(*Form, Dialogs, 1,
                     Game->WriteTactic(name.toLower() + ".tct", SampleTactic(1)));
            },
            [&] {
                Load(*Form, Dialogs, 2, Game->WriteTactic("433.tct", SampleTactic(2)));
                ChoosePage(*Form, TPage::General);
                PickInGrid(*Form, 3, 5);
            },
            [&] { language("BtnRussian"), ChoosePage(*Form, TPage::Compare); },
            [&] {
                ChoosePage(*Form, TPage::Anti);
                for (const char* box : {"CheckHints", "HideNo"})
                    Find<QAbstractButton>(*Form, box)->click();
            },
            [&] {
                language("BtnEnglish"), ChoosePage(*Form, TPage::Options);
                for (const char* box : {"HideNo", "HideTeam"}) // cells blank "Team" only
                    Find<QAbstractButton>(*Form, box)->click();
            }};
        for (int i = 0; i < steps; ++i)
            step[i]();
        // No text smaller than the smallest readable size, in either language.
        for (const QWidget* w : Form->findChildren<QWidget*>())
            QVERIFY2(QFontInfo(w->font()).pixelSize() >= 10, qPrintable(w->objectName()));
        QTabBar* tabs = Find<QTabWidget>(*Form, "PageControl")->tabBar();
        QTest::mouseMove(tabs, steps == 4 ? tabs->tabRect(0).center() : QPoint(400, 400));
        QVERIFY(Dialogs.messages().isEmpty());
        const QString controls = Controls(*Form, Game->Tactics());
        const QImage shot = Form->grab().toImage();
        const auto hash = [](const QByteArray& bytes) {
            return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16);
        };
        const QString actual =
            hash(controls.toUtf8()) + " " +
            hash(QByteArray::fromRawData(reinterpret_cast<const char*>(shot.constBits()),
                                         shot.sizeInBytes()));
        if (actual.left(16) != hashes.left(16))
            qWarning().noquote() << controls;
        // The picture it got, beside the build, to be looked at.
        if (actual != hashes)
            shot.save(QStringLiteral("stage-%1.png").arg(steps));
        QCOMPARE(actual, hashes);
        // A name shows its whole path in its hint.
        QHelpEvent hint(QEvent::ToolTip, QPoint(1, 1),
                        Find(*Form, "LabelTN1")->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(Find(*Form, "LabelTN1"), &hint);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : "",
                 steps && steps < 4
                     ? QDir::toNativeSeparators(Game->Tactics() + "/" + name.toLower() + ".tct")
                     : "");
        QToolTip::hideText();
        // Centred with its frame, as a window manager shows it.
        const QPoint off =
            Form->frameGeometry().center() - Form->screen()->availableGeometry().center();
        QVERIFY(Form->frameGeometry() != Form->geometry() && qAbs(off.x()) <= 1 &&
                qAbs(off.y()) <= 1);
    }

    // A hidden page is never shown, by any key or wheel: the tabs' arrows,
    // the wheel over them, and Ctrl+Tab and Ctrl+Shift+Tab from the grid
    // cycle the visible pages only.
    void hiddenPagesStayHidden_data() {
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("input");
        for (bool loaded : {false, true})
            for (int input = 0; input < 4; ++input)
                QTest::addRow("%s, %s", loaded ? "main loaded" : "start",
                              std::array{"wheel", "arrows", "Ctrl+Tab", "Ctrl+Shift+Tab"}[input])
                    << loaded << input;
    }
    void hiddenPagesStayHidden() {
        QFETCH(bool, loaded);
        QFETCH(int, input);
        StartWindow();
        if (loaded)
            Load(*Form, Dialogs, 1, Game->WriteTactic("442.tct", SampleTactic(1)));
        auto* pages = Find<QTabWidget>(*Form, "PageControl");
        QWidget* grid = Find(*Form, "PlayersGrid");
        QSet<int> seen;
        for (int i = 0; i < 6; ++i) {
            const bool back = i % 3 == 2;
            if (input == 0) {
                const QPointF at = pages->tabBar()->rect().center();
                QWheelEvent wheel(at, pages->tabBar()->mapToGlobal(at), {}, {0, back ? 120 : -120},
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(pages->tabBar(), &wheel);
            } else if (input == 1) {
                QTest::keyClick(pages->tabBar(), back ? Qt::Key_Left : Qt::Key_Right);
            } else {
                QWidget* from = grid->isVisible() ? grid : pages->tabBar();
                QTest::keyClick(from, Qt::Key_Tab,
                                input == 2 ? Qt::ControlModifier
                                           : Qt::ControlModifier | Qt::ShiftModifier);
            }
            QVERIFY(pages->isTabVisible(pages->currentIndex()));
            seen.insert(pages->currentIndex());
        }
        if (input >= 2) // a full cycle
            QCOMPARE(seen.size(), loaded ? 2 : 1);
    }

    // Without the game the window asks whether to go on; a Location of
    // another type than text ends the start-up.
    void startUpFollowsTheRegistry() {
        TGameFolder game;
        game.WriteBytes("../../../system.reg", "WINE REGISTRY Version 2\n");
        AppDialogs->clearLog();
        AppDialogs->setNextAnswer(QMessageBox::No);
        QVERIFY(!StartForm(*AppDialogs, game)); // the program ends with -1
        AppDialogs->setNextAnswer(QMessageBox::Yes);
        Form = StartForm(*AppDialogs, game);
        QCOMPARE(AppDialogs->messages().size(), 2);
        QCOMPARE(AppDialogs->messages()[1].Text,
                 "CM 00-01 not found in registry!\n\rIgnore this message & continue?");
        Load(*Form, *AppDialogs, 1, "");
        QCOMPARE(AppDialogs->openRequests().last().Folder, "CM 00-01 not found/tactics");
        game.WriteBytes("../../../system.reg",
                        "WINE REGISTRY Version 2\n\n[Software\\\\Sports Interactive "
                        "Ltd\\\\Championship Manager 00-01] 1\n\"Location\"=dword:00000007\n");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, StartForm(*AppDialogs, game));
    }

    // Qt's dialogs: a message box shows each line feed + carriage return pair
    // as one break and stands, without a shown parent, in the middle of the
    // screen; the open dialog starts in the user's own folder when the one
    // asked for is not there.
    void qtDialogsAsTheUserMeetsThem() {
        QWidget window; // the main window while it starts: placed, not shown
        window.setGeometry(0, 0, 790, 482);
        QStringList seen;
        const auto look = [&](QDialog& box) {
            if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                seen << label->text();
            const QPoint off =
                box.frameGeometry().center() - box.screen()->availableGeometry().center();
            if (auto* files = qobject_cast<QFileDialog*>(&box))
                seen << files->directory().absolutePath();
            else
                seen << QString::number(off.manhattanLength() <= 4);
        };
        WhenShown(look);
        TQtDialogs().Message(&window, QMessageBox::Question, "", "A\n\r\n\rB\n\rC",
                             QMessageBox::Ok);
        QTemporaryDir tactics;
        for (const QString& folder :
             {tactics.path(), QStringLiteral("CM 00-01 not found/tactics")}) {
            WhenShown(look);
            QCOMPARE(TQtDialogs().OpenFileName(nullptr, folder, "(*.tct)", "tct"), std::nullopt);
        }
        QCOMPARE(seen, (QStringList{"A\n\nB\nC", "1", QDir(tactics.path()).absolutePath(),
                                    QDir::homePath()}));
    }

    void escapingExceptionIsShownAndTheProgramGoesOn() {
        struct TThrower : QObject {
            bool event(QEvent*) override { throw std::runtime_error("handler failed"); }
        } thrower;
        QEvent event(QEvent::User);
        AppDialogs->clearLog();
        QVERIFY(!QApplication::sendEvent(&thrower, &event));
        QCOMPARE(AppDialogs->messages().size(), 1);
        QCOMPARE(AppDialogs->messages()[0].Caption + ": " + AppDialogs->messages()[0].Text,
                 "Pitchwright: handler failed");
    }
};

int main(int argc, char** argv) {
    TScriptedDialogs dialogs;
    TApplication app(argc, argv, dialogs);
    TestMainWindow test(dialogs);
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
