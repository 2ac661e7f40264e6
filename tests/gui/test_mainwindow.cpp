// The main window: start-up with and without the game, the controls as the
// user finds them, the stages a load moves the window through, hints, and
// the application's handler of escaping exceptions.
#include "Application.h"
#include "FormHarness.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <stdexcept>

using namespace guitest;

namespace {

TScriptedDialogs* AppDialogs = nullptr;

QStringList VisibleTabs(const TMainForm& form) {
    const auto* pages = Find<QTabWidget>(form, "PageControl");
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i))
            tabs << pages->tabText(i);
    return tabs;
}

QString CurrentTab(const TMainForm& form) {
    const auto* pages = Find<QTabWidget>(form, "PageControl");
    return pages->tabText(pages->currentIndex());
}

// The folder the open dialog is asked to start in (the dialog is cancelled).
QString OpenDialogFolder(TMainForm& form) {
    AppDialogs->setNextFileNameCancel();
    QTest::mouseClick(Find<QPushButton>(form, "Browse1"), Qt::LeftButton);
    return QDir::fromNativeSeparators(AppDialogs->openRequests().last().Folder);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The hint that shows when the mouse rests on the widget, empty for none.
QString HintShown(QWidget* widget) {
    // A hint fades out: wait until the last one has gone.
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
        qWarning("a hint stays");
    QHelpEvent event(QEvent::ToolTip, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// An object whose every event throws, as a faulty handler would.
class TThrower : public QObject {
public:
    bool event(QEvent*) override { throw std::runtime_error("handler failed"); }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { AppDialogs->clearLog(); }

    void startsOnTheOptionsPageWithEverythingAsDesigned();
    void controlsHaveTheirPlacesTextsHintsAndTags();
    void labelsShowTheirWholeText_data();
    void labelsShowTheirWholeText();
    void missingGameAsksWhetherToGoOn();
    void registryValuesShapeTheStart();
    void loadsMoveTheWindowThroughItsStages();
    void hintsFollowTheirSwitch();
    void closingWritesNothingAndAsksNothing();
    void escapingExceptionIsShownAndTheProgramGoesOn();
};

void TestMainWindow::startsOnTheOptionsPageWithEverythingAsDesigned() {
    TGameFolder game;
    auto form = StartForm(*AppDialogs, game);
    QVERIFY(form);
    QVERIFY(AppDialogs->messages().isEmpty());
    QCOMPARE(form->windowTitle(), QStringLiteral("Pitchwright v1.1"));
    QCOMPARE(form->size(), QSize(790, 482));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    const QRect screen = form->screen()->availableGeometry();
    // Centred with its frame, as a window manager shows it.
    QVERIFY(form->frameGeometry() != form->geometry());
    QVERIFY(qAbs(form->frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(form->frameGeometry().center().y() - screen.center().y()) <= 1);

    QCOMPARE(VisibleTabs(*form), QStringList{"Options"});
    QCOMPARE(CurrentTab(*form), QStringLiteral("Options"));
    QVERIFY(!Find(*form, "ImagePanel")->isVisible());
    QCOMPARE(Find(*form, "PageControl")->width(), 790);
    QVERIFY(Find(*form, "Browse1")->isEnabled());
    QVERIFY(!Find(*form, "Browse2")->isEnabled());
    QVERIFY(!Find(*form, "BtnSave")->isEnabled());
    QVERIFY(Find<QCheckBox>(*form, "CheckHints")->isChecked());
    QVERIFY(Find<QCheckBox>(*form, "ReserveCopy")->isChecked());
    for (const char* name : {"SmoothMove", "ClearBack", "HideLogo", "HideNo", "HideTeam"})
        QVERIFY2(!Find<QCheckBox>(*form, name)->isChecked(), name);
    QCOMPARE(Find<TRadioGroup>(*form, "CheckMainColor")->ItemIndex(), 0);
    QCOMPARE(Find<TRadioGroup>(*form, "CheckSecondColor")->ItemIndex(), 0);
    QVERIFY(Find<QRadioButton>(*form, "WithBall")->isChecked());
    QCOMPARE(form->BallZone(), 5);
    QVERIFY(!Find(*form, "ComboValue")->isVisibleTo(form.get()));
    QCOMPARE(Find<QProgressBar>(*form, "DefenceSecond")->maximum(), 2500);
    // The credits run from the start, unseen until the pitch shows.
    QVERIFY(Find<QTimer>(*form, "Timer")->isActive());
    QCOMPARE(Find<QTimer>(*form, "Timer")->interval(), 50);
}

void TestMainWindow::controlsHaveTheirPlacesTextsHintsAndTags() {
    TGameFolder game;
    auto form = StartForm(*AppDialogs, game);
    // A spot check of the layout, one or two controls of each part of the window.
    struct TControl {
        const char* Name;
        QRect Place; // an empty size: a label, which sizes itself
        const char* Text;
        const char* Hint;
    };
    const TControl controls[] = {
        {"LabelTN1", {136, 6, 0, 0}, "Not load", ""},
        {"Browse2", {652, 4, 21, 21}, "..", "This is load button"},
        {"BtnSave", {278, 4, 21, 21}, "", "This is save button!"},
        {"ReserveCopy", {5, 48, 150, 17}, "Reserve copy", "Save pevious tactic in *.old"},
        {"BtnEnglish", {32, 200, 97, 25}, "English", ""},
        {"ClearBack",
         {16, 200, 161, 17},
         "Text without background",
         "Drag players and see difference..."},
        {"CheckSecondColor", {152, 32, 121, 113}, "", ""},
        {"WithoutBall", {192, 17, 89, 17}, "Without Ball", ""},
        {"Image", {1, 49, 331, 399}, "", "Drag & drop..."},
        {"BtnOffSide", {56, 120, 233, 41}, "Make \"real\" offside trap", ""},
        {"Warning", {78, 272, 0, 0}, "These features are tested!", ""},
        {"LabelTi7", {272, 88, 0, 0}, "Men Behind Ball", ""},
        {"HideNo", {9, 161, 137, 10}, "Hide \"No\"", ""},
        {"ComboValue", {280, 154, 145, 25}, "", "Select new value for selected item"},
        {"PlayersGrid", {2, 184, 445, 225}, "", ""},
    };
    for (const TControl& c : controls) {
        QWidget* widget = Find(*form, c.Name);
        QVERIFY2(widget, c.Name);
        if (c.Place.isEmpty())
            QCOMPARE(widget->pos(), c.Place.topLeft());
        else
            QCOMPARE(widget->geometry(), c.Place);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        QCOMPARE(text, QString::fromUtf8(c.Text));
        QCOMPARE(widget->toolTip(), QString::fromUtf8(c.Hint));
    }
    QCOMPARE(Find(*form, "LoadPanel")->geometry(), QRect(0, 449, 790, 33));
    QCOMPARE(Find(*form, "ImageOptions")->geometry(),
             QRect(160, 0, 289, Find(*form, "TabOptions")->height()));
    QCOMPARE(Find<TRadioGroup>(*form, "CheckSecondColor")->ItemText(2),
             QStringLiteral("Internazionale"));

    // Tags tell the shared handlers which control was clicked.
    for (auto [name, tag] :
         {std::pair{"Browse1", 1}, std::pair{"Browse2", 2}, std::pair{"CheckMainColor", 1},
          std::pair{"CheckSecondColor", 2}, std::pair{"BtnRussian", 1}, std::pair{"BtnEnglish", 2}})
        QCOMPARE(Find(*form, name)->property("tag").toInt(), tag);
    // The Anti page's buttons never do anything.
    QVERIFY(!Find(*form, "BtnMarking")->isEnabled());
    QVERIFY(!Find(*form, "BtnOffSide")->isEnabled());
    QCOMPARE(Find<QLabel>(*form, "Warning")->palette().color(QPalette::WindowText),
             QColor(Qt::red));

    for (const char* name :
         {"HideTeam", "ComboValue", "BtnMarking", "CheckHints", "HideLogo", "WithBall", "BtnSave"})
        QVERIFY2(Find(*form, name)->cursor().shape() == Qt::PointingHandCursor, name);
    QCOMPARE(Find<QTabWidget>(*form, "PageControl")->tabBar()->cursor().shape(),
             Qt::PointingHandCursor);
    QCOMPARE(Find(*form, "LabelTT")->cursor().shape(), Qt::ArrowCursor);
    // The colour lists show the normal pointer, on their items too.
    for (const char* name : {"CheckMainColor", "CheckSecondColor"})
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Find<TRadioGroup>(*form, name)->Item(i)->cursor().shape(), Qt::ArrowCursor);
    // The picture ignores the mouse on the Options page: no pointer there.
    QCOMPARE(Find(*form, "Image")->cursor().shape(), Qt::BlankCursor);

    QCOMPARE(form->font().pointSize(), 9);
    QVERIFY(form->font().families().contains(QStringLiteral("Comic Sans MS")));
    QCOMPARE(Find<QTabWidget>(*form, "PageControl")->tabBar()->font().pointSize(), 12);
    QCOMPARE(Find(*form, "PoorA")->font().pointSize(), 8);
}

void TestMainWindow::labelsShowTheirWholeText_data() {
    QTest::addColumn<QFont>("defaultFont");
    QTest::newRow("this platform's") << QApplication::font();
    // Narrower and smaller than the window's, as Windows' default font is.
    QFont narrow(QStringLiteral("Liberation Sans Narrow"));
    narrow.setPointSize(6);
    QTest::newRow("narrow") << narrow;
}

void TestMainWindow::labelsShowTheirWholeText() {
    QFETCH(QFont, defaultFont);
    const QFont before = QApplication::font();
    QApplication::setFont(defaultFont);
    TGameFolder game;
    auto form = StartForm(*AppDialogs, game);
    QApplication::setFont(before);
    Load(*form, *AppDialogs, 1, game.WriteTactic("a.tct", SampleTactic(0)));
    Load(*form, *AppDialogs, 2, game.WriteTactic("b.tct", SampleTactic(1)));
    for (const char* language : {"BtnRussian", "BtnEnglish"}) {
        QTest::mouseClick(Find<QPushButton>(*form, language), Qt::LeftButton);
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            const QSize needed = label->sizeHint();
            QVERIFY2(label->width() >= needed.width() && label->height() >= needed.height(),
                     qPrintable(QStringLiteral("%1 (%2): %3 x %4 for %5 x %6")
                                    .arg(label->objectName(), label->text())
                                    .arg(label->width())
                                    .arg(label->height())
                                    .arg(needed.width())
                                    .arg(needed.height())));
        }
    }
}

void TestMainWindow::missingGameAsksWhetherToGoOn() {
    TGameFolder noGame(false);
    AppDialogs->setNextAnswer(QMessageBox::No);
    QVERIFY(!StartForm(*AppDialogs, noGame)); // the program ends with -1
    QCOMPARE(AppDialogs->messages().size(), 1);
    const auto& warning = AppDialogs->messages().first();
    QCOMPARE(warning.Caption, QStringLiteral("Warning!"));
    QCOMPARE(warning.Text,
             QStringLiteral("CM 00-01 not found in registry!\n\rIgnore this message & continue?"));
    QCOMPARE(warning.Icon, QMessageBox::Warning);
    QCOMPARE(warning.Buttons, QMessageBox::Yes | QMessageBox::No);

    AppDialogs->setNextAnswer(QMessageBox::Yes);
    auto form = StartForm(*AppDialogs, noGame);
    QVERIFY(form);
    QCOMPARE(VisibleTabs(*form), QStringList{"Options"});
    QCOMPARE(form->GameInfo().Version, std::string("CM 00-01 not found"));
    // The dialog is asked for a folder that does not exist, and opens in its own default place.
    QCOMPARE(OpenDialogFolder(*form), QStringLiteral("CM 00-01 not found/tactics"));
}

void TestMainWindow::registryValuesShapeTheStart() {
    TGameFolder game;
    const QByteArray key = "WINE REGISTRY Version 2\n\n"
                           "[Software\\\\Sports Interactive Ltd\\\\Championship Manager 00-01] 1\n";
    // No "Location": no warning, and the tactics folder is the bare subfolder.
    WriteFile(game.Prefix() + "/system.reg", key + "\"Version\"=\"1.0\"\n");
    auto form = StartForm(*AppDialogs, game);
    QVERIFY(form && AppDialogs->messages().isEmpty());
    QCOMPARE(OpenDialogFolder(*form), QStringLiteral("/tactics"));
    form.reset();

    // "Location" of another type than text ends the start-up with its error.
    WriteFile(game.Prefix() + "/system.reg", key + "\"Location\"=dword:00000007\n");
    try {
        StartForm(*AppDialogs, game);
        QFAIL("the start-up went on");
    } catch (const std::runtime_error& error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("Invalid data type for 'Location'"));
    }
    QVERIFY(AppDialogs->messages().isEmpty());
}

void TestMainWindow::loadsMoveTheWindowThroughItsStages() {
    TGameFolder game;
    const QString mainFile = game.WriteTactic("my442.tct", SampleTactic(1));
    const QString secondFile = game.WriteTactic("433.tct", SampleTactic(2));
    auto form = StartForm(*AppDialogs, game);

    // A cancelled dialog changes nothing.
    AppDialogs->setNextFileNameCancel();
    QTest::mouseClick(Find<QPushButton>(*form, "Browse1"), Qt::LeftButton);
    QCOMPARE(VisibleTabs(*form), QStringList{"Options"});
    QVERIFY(!Find(*form, "ImagePanel")->isVisible());
    QVERIFY(!Find(*form, "BtnSave")->isEnabled());
    QVERIFY(form->TacticFilePath().isEmpty());

    Load(*form, *AppDialogs, 1, mainFile);
    QCOMPARE(AppDialogs->openRequests().first().Folder, game.Tactics());
    QCOMPARE(AppDialogs->openRequests().first().Filter,
             QStringLiteral("CM 00/01 tactics files (*.tct)"));
    QCOMPARE(AppDialogs->openRequests().first().DefaultSuffix, QStringLiteral("tct"));
    // The page in front stays in front: the pitch shows beside the Options page.
    QCOMPARE(VisibleTabs(*form), (QStringList{"General", "Options"}));
    QCOMPARE(CurrentTab(*form), QStringLiteral("Options"));
    QVERIFY(Find(*form, "ImagePanel")->isVisible());
    QVERIFY(Find(*form, "ModePanel")->isVisible());
    QCOMPARE(Find(*form, "PageControl")->width(), 457);
    QVERIFY(Find(*form, "Browse2")->isEnabled());
    QVERIFY(Find(*form, "BtnSave")->isEnabled());
    QCOMPARE(Find<QLabel>(*form, "LabelTN1")->text(), QStringLiteral("MY442"));
    QCOMPARE(form->MainTacticFile(), mainFile);
    QCOMPARE(Find<QLabel>(*form, "Ti1")->text(), QStringLiteral("Attacking"));
    QVERIFY(!Find(*form, "ComboValue")->isHidden());
    QVERIFY(Find<QTimer>(*form, "Timer")->isActive());

    // A second tactic adds the Compare and Anti pages, again without changing the page.
    Load(*form, *AppDialogs, 2, secondFile);
    QCOMPARE(VisibleTabs(*form), (QStringList{"General", "Compare", "Anti", "Options"}));
    QCOMPARE(CurrentTab(*form), QStringLiteral("Options"));
    QCOMPARE(Find<QLabel>(*form, "LabelTN2")->text(), QStringLiteral("433"));
    QCOMPARE(form->MainTacticFile(), mainFile);

    // The user's choice of a page redraws; the credits run on Options only.
    ChoosePage(*form, 0);
    QCOMPARE(CurrentTab(*form), QStringLiteral("General"));
    QVERIFY(!Find<QTimer>(*form, "Timer")->isActive());
    QCOMPARE(Find(*form, "Image")->cursor().shape(), Qt::PointingHandCursor);

    // Loading again replaces the main tactic and the file a save writes into.
    const QString other = game.WriteTactic("other.tct", SampleTactic(3));
    Load(*form, *AppDialogs, 1, other);
    QCOMPARE(form->MainTacticFile(), other);
    QCOMPARE(Find<QLabel>(*form, "LabelTN1")->text(), QStringLiteral("OTHER"));
    QCOMPARE(CurrentTab(*form), QStringLiteral("General"));
    // The next dialog opens where the last file was chosen.
    QCOMPARE(AppDialogs->openRequests().last().Folder, game.Tactics());
}

void TestMainWindow::hintsFollowTheirSwitch() {
    TGameFolder game;
    auto form = StartForm(*AppDialogs, game);
    Load(*form, *AppDialogs, 1, game.WriteTactic("a.tct", SampleTactic(0)));
    auto* hints = Find<QCheckBox>(*form, "CheckHints");
    const std::pair<const char*, const char*> withHints[] = {
        {"CheckHints", "It's checked if you see this ;)"},
        {"Browse1", "This is load button"},
        // No hint of its own: the one of ModePanel.
        {"WithBall", "Switch between modes"}};
    for (auto [name, hint] : withHints)
        QCOMPARE(HintShown(Find(*form, name)), QString::fromUtf8(hint));
    QCOMPARE(HintShown(Find(*form, "LabelTT")), QString());

    Click(hints);
    QVERIFY(!hints->isChecked());
    for (auto [name, hint] : withHints)
        QCOMPARE(HintShown(Find(*form, name)), QString());
    Click(hints);
    for (auto [name, hint] : withHints)
        QCOMPARE(HintShown(Find(*form, name)), QString::fromUtf8(hint));
}

void TestMainWindow::closingWritesNothingAndAsksNothing() {
    TGameFolder game;
    const QString file = game.WriteTactic("keep.tct", SampleTactic(4));
    const QByteArray before = ReadAll(file);
    {
        auto form = StartForm(*AppDialogs, game);
        Load(*form, *AppDialogs, 1, file);
        QTest::mouseClick(Find<QTableWidget>(*form, "PlayersGrid")->viewport(), Qt::LeftButton);
        QVERIFY(form->close());
    }
    QVERIFY(AppDialogs->messages().isEmpty());
    QCOMPARE(ReadAll(file), before);
    QCOMPARE(QDir(game.Tactics()).entryList(QDir::Files), QStringList{"keep.tct"});
}

void TestMainWindow::escapingExceptionIsShownAndTheProgramGoesOn() {
    TThrower thrower;
    QEvent event(QEvent::User);
    QVERIFY(!QApplication::sendEvent(&thrower, &event));
    QCOMPARE(AppDialogs->messages().size(), 1);
    const auto& shown = AppDialogs->messages().first();
    QCOMPARE(shown.Caption, QStringLiteral("Pitchwright"));
    QCOMPARE(shown.Text, QStringLiteral("handler failed"));
    QCOMPARE(shown.Icon, QMessageBox::Critical);
    QCOMPARE(shown.Buttons, QMessageBox::Ok);
}

int main(int argc, char** argv) {
    TScriptedDialogs dialogs;
    AppDialogs = &dialogs;
    TApplication app(argc, argv, dialogs);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
