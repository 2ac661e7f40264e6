#include "Mainunit.h"

#include "Artwork.h"
#include "ColorSchemes.h"
#include "ComparePage.h"
#include "Dialogs.h"
#include "FileErrors.h"
#include "FittedText.h"
#include "Fonts.h"
#include "HoverTabStyle.h"
#include "InstructionsPage.h"
#include "PitchImage.h"
#include "PitchMap.h"
#include "RadioGroup.h"
#include "ShortName.h"
#include "TacticScore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
#include <QTranslator>
#include <QVBoxLayout>
#include <QWindow>

#include <stdexcept>

namespace {

constexpr int ClientWidth = 790;
constexpr int ClientHeight = 482;
constexpr int PagesHeight = 449;
constexpr int ImagePanelWidth = 333;
constexpr int LoadPanelHeight = 33;
constexpr int WindowPointSize = 9;
constexpr int TabPointSize = 12;
constexpr int TimerInterval = 50;
constexpr int NameGap = 3; // between a file's short name and its ".." button

const char* const FontFace = "Comic Sans MS";
const char* const Caption = "Pitchwright";

QFont WindowFont(int pointSize) {
    QFont font;
    font.setFamilies(pitch::WithFallbacks(QString::fromLatin1(FontFace)));
    font.setPointSize(pointSize);
    return font;
}

// The window's own texts that follow the interface language, in the order
// they are set; the General and Compare pages translate theirs themselves.
enum class TTextKind { Tab, Text, Title, Item, Credit };
struct TTranslated {
    const char* Control; // object name; unused for credits
    TTextKind Kind;
    int Index; // tab index, radio item or credits entry
    const char* English;
};

// clang-format off
constexpr TTranslated Translated[] = {
    {"PageControl", TTextKind::Tab, 0, QT_TRANSLATE_NOOP("TMainForm", "General")},
    {"PageControl", TTextKind::Tab, 1, QT_TRANSLATE_NOOP("TMainForm", "Compare")},
    {"PageControl", TTextKind::Tab, 2, QT_TRANSLATE_NOOP("TMainForm", "Anti")},
    {"PageControl", TTextKind::Tab, 3, QT_TRANSLATE_NOOP("TMainForm", "Options")},
    {"WithBall", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "With Ball")},
    {"WithoutBall", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Without Ball")},
    {"LabelT1", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Main tactic")},
    {"LabelT2", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Second tactic")},
    {"GeneralOptions", TTextKind::Title, 0, QT_TRANSLATE_NOOP("TMainForm", "General Options")},
    {"ImageOptions", TTextKind::Title, 0, QT_TRANSLATE_NOOP("TMainForm", "Image Options")},
    {"CheckMainColor", TTextKind::Title, 0, QT_TRANSLATE_NOOP("TMainForm", "Main tactic colors")},
    {"CheckMainColor", TTextKind::Item, 0, QT_TRANSLATE_NOOP("TMainForm", "Zenit")},
    {"CheckMainColor", TTextKind::Item, 1, QT_TRANSLATE_NOOP("TMainForm", "CSKA")},
    {"CheckMainColor", TTextKind::Item, 2, QT_TRANSLATE_NOOP("TMainForm", "AC Milan")},
    {"CheckMainColor", TTextKind::Item, 3, QT_TRANSLATE_NOOP("TMainForm", "Custom")},
    {"CheckSecondColor", TTextKind::Title, 0, QT_TRANSLATE_NOOP("TMainForm", "Second tactic colors")},
    {"CheckSecondColor", TTextKind::Item, 0, QT_TRANSLATE_NOOP("TMainForm", "Spartak M")},
    {"CheckSecondColor", TTextKind::Item, 1, QT_TRANSLATE_NOOP("TMainForm", "Alania")},
    {"CheckSecondColor", TTextKind::Item, 2, QT_TRANSLATE_NOOP("TMainForm", "Internazionale")},
    {"CheckSecondColor", TTextKind::Item, 3, QT_TRANSLATE_NOOP("TMainForm", "Custom")},
    {"SmoothMove", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Smooth movement")},
    {"ClearBack", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Text without background")},
    {"HideLogo", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Hide logo")},
    {"CheckHints", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Show hints")},
    {"ReserveCopy", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Reserve copy")},
    {"BtnOffSide", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Make \"real\" offside trap")},
    {"BtnMarking", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Make marking more close")},
    // The two colons of the credit lines stand one above the other.
    {"", TTextKind::Credit, 1, QT_TRANSLATE_NOOP("TMainForm", "Idea                   : Pitchwright team")},
    {"", TTextKind::Credit, 2, QT_TRANSLATE_NOOP("TMainForm", "Author                 : Pitchwright team")},
    {"", TTextKind::Credit, 5, QT_TRANSLATE_NOOP("TMainForm", "         (c) 2026 Pitchwright team")},
    {"Warning", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "These features are tested!")},
};
// clang-format on

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top) {
    auto* label = Named(new QLabel(parent), name);
    label->move(left, top);
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QRect& place, const char* hint,
                        bool checked) {
    auto* box = Named(new QCheckBox(parent), name);
    box->setGeometry(place);
    box->setToolTip(QString::fromUtf8(hint));
    box->setCursor(Qt::PointingHandCursor);
    box->setChecked(checked);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& place) {
    auto* button = Named(new QPushButton(parent), name);
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

TMainForm::TMainForm(TDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , Dialogs(dialogs) {
    BuildControls();

    // 1. Where is the game? Without it the user decides whether to go on.
    if (!FindGame()) {
        Declined = true;
        return;
    }
    // 2, 3. The two tactics and the two pictures of the pitch view.
    Doc = std::make_unique<TTacticDocument>();
    Pitch = std::make_unique<pitch::TPitchRenderer>(QString::fromLatin1(FontFace));
    General->SetTactic(&Doc->Main());
    // An edit, its undo and its redo all show the same way.
    connect(Doc.get(), &TTacticDocument::positionsChanged, this, [this] { UpdateFields(); });
    connect(Doc.get(), &TTacticDocument::instructionsChanged, this, [this] {
        UpdatePlayersInstructions();
        // The combo shows what the selected cell now holds, also after an undo.
        General->SelectCell(General->CurrentColumn(), General->CurrentRow());
    });
    // 4. The open dialog starts in the game's tactics folder.
    OpenDialogFolder = QString::fromStdString(Info.TacticsFolder());
    // 5. The grid's header row.
    General->WriteHeaders();
    // 6. Only the Options page shows until a tactic is loaded.
    {
        const QSignalBlocker quiet(PageControl);
        PageControl->setCurrentIndex(static_cast<int>(TPage::Options));
        for (TPage page : {TPage::Compare, TPage::Anti, TPage::General})
            PageControl->setTabVisible(static_cast<int>(page), false);
    }
    // 7, 8. The picture control shows what the pitch view draws.
    Image->SetPicture(&Pitch->Picture());
    // 9. The warning on the Anti page is red.
    if (auto* warning = findChild<QLabel*>(QStringLiteral("Warning"))) {
        QPalette palette = warning->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        warning->setPalette(palette);
    }
    // 10. The main tactic's colours, then the first redraw, which also starts the credits.
    CheckColorClick(CheckMainColor);
    // 11. English texts.
    ChangeLanguage(findChild<QPushButton*>(QStringLiteral("BtnEnglish")));
    // 12. The bars' ranges.
    Compare->SetRanges();

    CentreOnScreen();
}

void TMainForm::CentreOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    // The frame is known only once the window is shown (and, under a window
    // manager, framed); until then it is the client area alone. move() places
    // the frame.
    CentredFrame = frameGeometry().size();
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint((CentredFrame.width() - 1) / 2, (CentredFrame.height() - 1) / 2));
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (frameGeometry().size() != CentredFrame)
        CentreOnScreen();
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // A window manager frames the window after it is shown.
    if (isVisible() && frameGeometry().size() != CentredFrame)
        CentreOnScreen();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::FormDestroy() {
    CancelDrag();
    if (Image)
        Image->SetPicture(nullptr);
    if (Timer)
        Timer->stop();
    if (General)
        General->SetTactic(nullptr);
    Doc.reset();
    Pitch.reset();
}

bool TMainForm::FindGame() {
    if (Info.ReadFromRegistry())
        return true;
    // A value of another type than text is no "not found": start-up ends with it.
    if (!Info.Error.empty())
        throw std::runtime_error(Info.Error);
    const QMessageBox::StandardButton answer =
        Dialogs.Message(this, QMessageBox::Warning, QStringLiteral("Warning!"),
                        QStringLiteral("CM 00-01 not found in registry!\n\r"
                                       "Ignore this message & continue?"),
                        QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

// ---------------------------------------------------------------------------
// Controls

void TMainForm::BuildControls() {
    setWindowTitle(QStringLiteral("Pitchwright v1.1"));
    setFixedSize(ClientWidth, ClientHeight);
    pitch::InstallFontFallbacks();
    setFont(WindowFont(WindowPointSize));

    PageControl = Named(new QTabWidget(this), "PageControl");
    PageControl->setFixedHeight(PagesHeight);
    PageControl->tabBar()->setFont(WindowFont(TabPointSize));
    PageControl->tabBar()->setCursor(Qt::PointingHandCursor);
    PageControl->tabBar()->setAttribute(Qt::WA_Hover);
    auto* tabStyle = new THoverTabStyle;
    tabStyle->setParent(PageControl->tabBar());
    PageControl->tabBar()->setStyle(tabStyle);
    // A click on a tab also gives the tab strip the keyboard, whose arrows
    // then move from page to page, as in the platform's own page controls.
    PageControl->tabBar()->setFocusPolicy(Qt::StrongFocus);

    General = Named(new pages::TInstructionsPage, "TabGeneral");
    Compare = Named(new pages::TComparePage, "TabCompare");
    PageControl->addTab(General, QString());
    PageControl->addTab(Compare, QString());
    PageControl->addTab(BuildAntiPage(), QString());
    PageControl->addTab(BuildOptionsPage(), QString());
    for (const char* name : {"HideNo", "HideTeam"})
        findChild<QCheckBox*>(QString::fromLatin1(name))->setCursor(Qt::PointingHandCursor);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(PageControl);
    top->addWidget(BuildImagePanel());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addLayout(top);
    outer->addWidget(BuildLoadPanel());

    Timer = Named(new QTimer(this), "Timer");
    Timer->setInterval(TimerInterval);

    connect(PageControl, &QTabWidget::currentChanged, this, [this] { UpdateFields(); });
    connect(General, &pages::TInstructionsPage::cellSelecting, this,
            [this](int column, int row) { PlayersGridSelectCell(column, row); });
    connect(General, &pages::TInstructionsPage::valuePicked, this, [this] { ComboValueChange(); });
    connect(General->HideNo(), &QCheckBox::clicked, this, [this] { UpdatePlayersInstructions(); });
    connect(General->HideTeam(), &QCheckBox::clicked, this,
            [this] { UpdatePlayersInstructions(); });
    connect(Timer, &QTimer::timeout, this, [this] { TimerTimer(); });

    // Undo and redo: the platform's keys, and Ctrl+Y and Ctrl+Shift+Z everywhere.
    auto* undo = new QAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    auto* redo = new QAction(this);
    redo->setShortcuts(redoKeys);
    for (QAction* action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(undo, &QAction::triggered, this, [this] { EditUndo(); });
    connect(redo, &QAction::triggered, this, [this] { EditRedo(); });
    // A tactic file dropped from the file manager.
    setAcceptDrops(true);

    // Labels size themselves to their text, but the pages' labels did so
    // before they took the window's font, with the platform's default one,
    // which on Windows is narrower: size every label again with its own font.
    for (QLabel* label : findChildren<QLabel*>())
        label->adjustSize();

    // One switch for every hint of the window.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

QWidget* TMainForm::BuildAntiPage() {
    auto* page = Named(new QWidget, "TabAnti");
    const QIcon football(artwork::Football());
    for (auto [name, top] : {std::pair{"BtnMarking", 48}, std::pair{"BtnOffSide", 120}}) {
        QPushButton* button = MakeButton(page, name, {56, top, 233, 41});
        button->setIcon(football);
        button->setIconSize({32, 32});
        // Nothing ever enables them: the features are not there yet.
        button->setEnabled(false);
    }
    MakeLabel(page, "LabelDone", 288, 16);
    MakeLabel(page, "Warning", 78, 272);
    return page;
}

QWidget* TMainForm::BuildOptionsPage() {
    auto* page = Named(new QWidget, "TabOptions");

    auto* general = Named(new QGroupBox(page), "GeneralOptions");
    general->setFixedWidth(160);
    CheckHints = MakeCheckBox(general, "CheckHints", {6, 24, 150, 17},
                              "It's checked if you see this ;)", true);
    MakeCheckBox(general, "ReserveCopy", {5, 48, 150, 17}, "Save pevious tactic in *.old", true);
    QPushButton* russian = BtnRussian = MakeButton(general, "BtnRussian", {32, 168, 97, 25});
    russian->setText(QStringLiteral("Russian"));
    russian->setIcon(QIcon(artwork::RussianFlag()));
    russian->setIconSize({32, 20});
    russian->setProperty("tag", 1);
    QPushButton* english = MakeButton(general, "BtnEnglish", {32, 200, 97, 25});
    english->setText(QStringLiteral("English"));
    english->setIcon(QIcon(artwork::UnitedKingdomFlag()));
    english->setIconSize({32, 20});
    english->setProperty("tag", 2);

    auto* image = Named(new QGroupBox(page), "ImageOptions");
    image->setFixedWidth(289);
    const QStringList four(4, QString());
    CheckMainColor = Named(new TRadioGroup(four, image), "CheckMainColor");
    CheckMainColor->setGeometry(8, 32, 121, 113);
    CheckMainColor->setProperty("tag", 1);
    CheckSecondColor = Named(new TRadioGroup(four, image), "CheckSecondColor");
    CheckSecondColor->setGeometry(152, 32, 121, 113);
    CheckSecondColor->setProperty("tag", 2);
    const char* const dragHint = "Drag players and see difference...";
    SmoothMove = MakeCheckBox(image, "SmoothMove", {16, 168, 163, 17}, dragHint, false);
    ClearBack = MakeCheckBox(image, "ClearBack", {16, 200, 161, 17}, dragHint, false);
    HideLogo = MakeCheckBox(image, "HideLogo", {16, 232, 156, 17}, "Hide logo :(", false);

    // Both boxes are docked at the left and as high as the page.
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(general);
    layout->addWidget(image);
    layout->addStretch();

    connect(CheckHints, &QCheckBox::clicked, this, [this] { CheckHintsClick(); });
    connect(HideLogo, &QCheckBox::clicked, this, [this] { HideLogoClick(); });
    for (TRadioGroup* group : {CheckMainColor, CheckSecondColor})
        connect(group, &TRadioGroup::selectionChanged, this,
                [this, group] { CheckColorClick(group); });
    for (QPushButton* button : {russian, english})
        connect(button, &QPushButton::clicked, this,
                [this, sender = button] { ChangeLanguage(sender); });
    return page;
}

QWidget* TMainForm::BuildImagePanel() {
    ImagePanel = Named(new QFrame(this), "ImagePanel");
    ImagePanel->setFixedSize(ImagePanelWidth, PagesHeight);
    ImagePanel->hide();

    ModePanel = Named(new QFrame(ImagePanel), "ModePanel");
    ModePanel->setGeometry(1, 1, 331, 48);
    ModePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ModePanel->setToolTip(QStringLiteral("Switch between modes"));
    ModePanel->hide();
    WithBall = Named(new QRadioButton(ModePanel), "WithBall");
    WithBall->setGeometry(24, 17, 89, 17);
    WithBall->setChecked(true);
    WithBall->setCursor(Qt::PointingHandCursor);
    auto* withoutBall = Named(new QRadioButton(ModePanel), "WithoutBall");
    withoutBall->setGeometry(192, 17, 89, 17);
    withoutBall->setCursor(Qt::PointingHandCursor);
    for (QRadioButton* phase : {WithBall, withoutBall})
        connect(phase, &QRadioButton::clicked, this, [this] {
            Doc->SetWithBall(WithBall->isChecked());
            UpdateFields();
        });

    Image = Named(new TPitchImage(ImagePanel), "Image");
    Image->setGeometry(1, 49, pitch::ViewWidth, pitch::ViewHeight);
    Image->setToolTip(QStringLiteral("Drag & drop..."));
    Image->setCursor(Qt::PointingHandCursor);
    connect(Image, &TPitchImage::mouseDown, this,
            [this](Qt::MouseButton button, int x, int y) { ImageMouseDown(button, x, y); });
    connect(Image, &TPitchImage::mouseMove, this, [this](int x, int y) { ImageMouseMove(x, y); });
    connect(Image, &TPitchImage::mouseUp, this,
            [this](Qt::MouseButton, int x, int y) { ImageMouseUp(x, y); });
    return ImagePanel;
}

QWidget* TMainForm::BuildLoadPanel() {
    auto* panel = LoadPanel = Named(new QFrame(this), "LoadPanel");
    panel->setFixedSize(ClientWidth, LoadPanelHeight);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    MakeLabel(panel, "LabelT1", 8, 6);
    LabelTN1 = Named(new pages::TElidedLabel(panel), "LabelTN1");
    LabelTN1->move(136, 6);
    MakeLabel(panel, "LabelT2", 427, 6);
    LabelTN2 = Named(new pages::TElidedLabel(panel), "LabelTN2");
    LabelTN2->move(539, 6);
    // A long name stops short of its ".." button.
    LabelTN1->setMaximumWidth(250 - NameGap - 136);
    LabelTN2->setMaximumWidth(652 - NameGap - 539);
    for (QLabel* name : {LabelTN1, LabelTN2}) {
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setText(QStringLiteral("Not load"));
        name->adjustSize();
    }

    Browse1 = MakeButton(panel, "Browse1", {250, 4, 21, 21});
    BtnSave = MakeButton(panel, "BtnSave", {278, 4, 21, 21});
    Browse2 = MakeButton(panel, "Browse2", {652, 4, 21, 21});
    for (auto [button, tag] : {std::pair{Browse1, 1}, std::pair{Browse2, 2}}) {
        button->setText(QStringLiteral(".."));
        button->setToolTip(QStringLiteral("This is load button"));
        button->setProperty("tag", tag);
        connect(button, &QPushButton::clicked, this,
                [this, sender = button] { BrowseClick(sender); });
    }
    Browse2->setEnabled(false);
    BtnSave->setIcon(artwork::SaveIcon());
    BtnSave->setIconSize({16, 16});
    BtnSave->setToolTip(QStringLiteral("This is save button!"));
    BtnSave->setEnabled(false);
    connect(BtnSave, &QPushButton::clicked, this, [this] { BtnSaveClick(); });
    return panel;
}

void TMainForm::ApplyTexts() {
    for (const TTranslated& text : Translated) {
        const QString value = tr(text.English);
        const QString name = QString::fromLatin1(text.Control);
        switch (text.Kind) {
        case TTextKind::Tab:
            PageControl->setTabText(text.Index, value);
            break;
        case TTextKind::Text:
            if (auto* label = findChild<QLabel*>(name)) {
                label->setText(value);
                label->adjustSize();
            } else if (auto* button = findChild<QAbstractButton*>(name)) {
                button->setText(value);
            }
            break;
        case TTextKind::Title:
            findChild<QGroupBox*>(name)->setTitle(value);
            break;
        case TTextKind::Item:
            findChild<TRadioGroup*>(name)->SetItemText(text.Index, value);
            break;
        case TTextKind::Credit:
            CreditLines[static_cast<std::size_t>(text.Index)] = value.toStdString();
            break;
        }
    }
    CreditLines[0] = "Pitchwright\u2122";
    // The contact lines name what comes with every copy of the program.
    CreditLines[3] = "Help:    README";
    CreditLines[4] = "Licence: GNU GPL 3 or later, see LICENSE";
}

// ---------------------------------------------------------------------------
// Handlers

TMainForm::TPage TMainForm::CurrentPage() const {
    return static_cast<TPage>(PageControl->currentIndex());
}

void TMainForm::ShowTab(TPage page) {
    // Showing a tab is the program's doing, no page change by the user.
    const QSignalBlocker quiet(PageControl);
    PageControl->setTabVisible(static_cast<int>(page), true);
}

void TMainForm::ShowError(const QString& text) {
    Dialogs.Message(this, QMessageBox::Critical, QString::fromLatin1(Caption), text,
                    QMessageBox::Ok);
}

void TMainForm::BrowseClick(QObject* sender) {
    const bool main = sender != Browse2;
    // Unsaved edits are not loaded over without a question.
    if (main && !MayDropEdits())
        return;
    const TPage shown = CurrentPage();
    // The dialog opens where the last chosen file lies, else in the tactics folder.
    const QString folder =
        ChosenPath.isEmpty() ? OpenDialogFolder : QFileInfo(ChosenPath).absolutePath();
    const std::optional<QString> chosen = Dialogs.OpenFileName(
        this, folder, QStringLiteral("CM 00/01 tactics files (*.tct)"), QStringLiteral("tct"));
    if (chosen)
        LoadChosen(main, *chosen);
    ShowTab(shown);
}

void TMainForm::OpenTactic(bool main, const QString& path) {
    if (main ? !MayDropEdits() : !Doc->MainLoaded())
        return;
    const TPage shown = CurrentPage();
    LoadChosen(main, path);
    ShowTab(shown);
}

void TMainForm::OpenArguments(const QStringList& files) {
    if (!files.isEmpty())
        OpenTactic(true, files[0]);
    if (files.size() > 1)
        OpenTactic(false, files[1]);
}

void TMainForm::LoadChosen(bool main, const QString& path) {
    ChosenPath = path;
    // A file that cannot be loaded changes nothing: not the tactic, its
    // label, the file a save writes into, nor the window's stage.
    const TCmFailure failure = main ? Doc->LoadMain(path) : Doc->LoadSecond(path);
    if (failure.Error != TCmError::None) {
        ShowError(LoadFailureText(path, failure));
        return;
    }
    const QString name = ShortName(path);
    if (main) {
        LabelTN1->setText(name);
        LabelTN1->adjustSize();
        UpdatePlayersInstructions();
        ShowTeamInstructions();
        ImagePanel->show();
        BtnSave->setEnabled(true);
        Browse2->setEnabled(true);
    } else {
        LabelTN2->setText(name);
        LabelTN2->adjustSize();
        ShowTab(TPage::Compare);
        ShowTab(TPage::Anti);
    }
    ShowTab(TPage::General);
    ModePanel->show();
    UpdateFields();
}

bool TMainForm::BtnSaveClick() {
    const QString name = Doc->MainName();
    const QString question = QStringLiteral("Overwrite tactic %1?\n\r\n\r"
                                            "Previous tactic will save in file %1.old")
                                 .arg(name);
    if (Dialogs.Message(this, QMessageBox::Question, QStringLiteral("Overwrite tactic?"), question,
                        QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return false;
    switch (Doc->Save([this] { return ConfirmOverwriteOfChanges(); })) {
    case TTacticDocument::TSaveOutcome::Saved:
        return true;
    case TTacticDocument::TSaveOutcome::Failed:
        ShowError(SaveFailureText(Doc->MainFileName(), Doc->ReservePath(), Doc->LastSaveFailure()));
        break;
    case TTacticDocument::TSaveOutcome::Declined:
        break;
    }
    return false;
}

bool TMainForm::ConfirmOverwriteOfChanges() {
    const QString text =
        QStringLiteral("Another program has changed tactic %1 since it was loaded.\n"
                       "Overwrite its changes with the tactic shown here?")
            .arg(QDir::toNativeSeparators(Doc->MainFileName()));
    return Dialogs.Message(this, QMessageBox::Warning, QStringLiteral("Tactic changed on disk"),
                           text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool TMainForm::MayDropEdits() {
    if (!Doc || !Doc->IsModified())
        return true;
    // English in both languages, like the other message boxes.
    switch (Dialogs.Message(this, QMessageBox::Question, QString::fromLatin1(Caption),
                            QStringLiteral("Save changes to %1?").arg(Doc->MainName()),
                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
    case QMessageBox::Save:
        return BtnSaveClick();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void TMainForm::EditUndo() {
    // Nothing changes under a drag, nor on the page where nothing is edited.
    if (Drag.Dragging() || CurrentPage() == TPage::Options)
        return;
    Doc->History().undo();
}

void TMainForm::EditRedo() {
    if (Drag.Dragging() || CurrentPage() == TPage::Options)
        return;
    Doc->History().redo();
}

void TMainForm::UpdatePlayersInstructions() {
    General->UpdatePlayersInstructions();
}

void TMainForm::ShowTeamInstructions() {
    General->ShowTeamInstructions();
}

void TMainForm::PlayersGridSelectCell(int column, int row) {
    General->SelectCell(column, row);
}

void TMainForm::ComboValueChange() {
    const std::optional<pages::TInstructionsPage::TPick> pick = General->Pick();
    if (!pick)
        return;
    // The same text again is no step, yet the grid shows it again.
    if (!Doc->SetInstruction(pick->Player, pick->Column, pick->Text))
        UpdatePlayersInstructions();
}

void TMainForm::CalculateBias() {
    Compare->SetScores(pages::ScoreTactic(Doc->Main()), pages::ScoreTactic(Doc->Second()));
}

void TMainForm::UpdateFields() {
    Timer->stop();
    const TPage page = CurrentPage();
    pitch::TScene scene;
    scene.Main = &Doc->Main();
    // A second tactic that was never loaded has nothing to show.
    scene.Second = Doc->SecondLoaded() ? &Doc->Second() : nullptr;
    scene.BallZone = Doc->BallZone();
    scene.WithBall = Doc->WithBall();
    scene.SecondMode = page == TPage::General   ? pitch::TSecondTactic::Hidden
                       : page == TPage::Compare ? pitch::TSecondTactic::Same
                                                : pitch::TSecondTactic::Opponent;
    scene.MainColors = Doc->MainColors();
    scene.SecondColors = Doc->SecondColors();
    Pitch->Redraw(scene);
    // The credits run over the picture on the Options page, which takes no mouse there.
    if (page == TPage::Options) {
        Image->setCursor(Qt::BlankCursor);
        if (!HideLogo->isChecked())
            Timer->start();
    } else {
        Image->setCursor(Qt::PointingHandCursor);
    }
    CalculateBias();
    Image->update();
}

void TMainForm::HideLogoClick() {
    if (HideLogo->isChecked()) {
        Pitch->ShowPlayers();
        Timer->stop();
        Image->update();
    } else {
        Timer->start();
    }
}

void TMainForm::TimerTimer() {
    Pitch->CreditsFrame(CreditLines);
    Image->update();
}

void TMainForm::CheckHintsClick() {
    HintsOn = CheckHints->isChecked();
    if (!HintsOn)
        QToolTip::hideText();
}

void TMainForm::CheckColorClick(TRadioGroup* group) {
    const bool main = group == CheckMainColor;
    const auto target = main ? pitch::TColorTarget::Main : pitch::TColorTarget::Second;
    const pitch::TTacticColors& colors = main ? Doc->MainColors() : Doc->SecondColors();
    const std::optional<pitch::TTacticColors> chosen = pitch::ChooseColors(
        target, group->ItemIndex(), colors, [this](const QColor& initial, pitch::TColorPart part) {
            // English in both languages, like the other dialog texts.
            return Dialogs.Color(this, initial,
                                 part == pitch::TColorPart::Fill ? QStringLiteral("Fill colour")
                                                                 : QStringLiteral("Line colour"));
        });
    // A cancelled colour dialog changes nothing and draws nothing.
    if (!chosen)
        return;
    Doc->SetColors(main, *chosen);
    UpdateFields();
}

void TMainForm::ChangeLanguage(QObject* sender) {
    const bool russian = sender == BtnRussian;
    if (russian && !Russian) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral(":/i18n/pitchwright_ru.qm"))) {
            QCoreApplication::installTranslator(translator.get());
            Russian = std::move(translator);
        }
    } else if (!russian && Russian) {
        QCoreApplication::removeTranslator(Russian.get());
        Russian.reset();
    }
    // The window and each page retranslate at once, not when Qt's posted
    // notice arrives.
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(this, &change);
}

void TMainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        ApplyTexts();
    // A window that is no longer active has lost the mouse: no release will
    // come, and the preview goes with the drag.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && CancelDrag())
        UpdateFields();
    QWidget::changeEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (CancelDrag())
        UpdateFields();
    // Unsaved edits are saved, dropped or kept with the window open, as the user says.
    if (!MayDropEdits()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

namespace {

// The one local tactic file a drag from the file manager carries, if any.
std::optional<QString> DroppedTactic(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return std::nullopt;
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(".tct", Qt::CaseInsensitive))
        return std::nullopt;
    return url.toLocalFile();
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedTactic(event->mimeData()) && !Drag.Dragging())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = DroppedTactic(event->mimeData());
    if (!path || Drag.Dragging())
        return;
    event->acceptProposedAction();
    // The second tactic's half of the load panel takes a second tactic, once
    // there is a main one; anywhere else the file becomes the main tactic.
    const QPoint at = LoadPanel->mapFrom(this, event->position().toPoint());
    const bool second =
        Doc->MainLoaded() && LoadPanel->rect().contains(at) && at.x() >= LoadPanel->width() / 2;
    OpenTactic(!second, *path);
}

namespace {

pitch::TMouseButton DragButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return pitch::TMouseButton::Left;
    case Qt::RightButton:
        return pitch::TMouseButton::Right;
    default:
        return pitch::TMouseButton::Other;
    }
}

} // namespace

void TMainForm::ImageMouseDown(Qt::MouseButton button, int x, int y) {
    if (CurrentPage() == TPage::Options)
        return;
    const pitch::TPressResult result =
        Drag.Press(DragButton(button), x, y, Doc->Main(), Doc->BallZone(), Doc->WithBall());
    Doc->SetBallZone(result.BallZone);
    if (result.HidePointer)
        QApplication::setOverrideCursor(Qt::BlankCursor);
    if (result.Redraw)
        UpdateFields();
}

void TMainForm::ImageMouseMove(int x, int y) {
    if (CurrentPage() == TPage::Options || !Drag.Dragging())
        return;
    const std::optional<pitch::TPreview> preview = Drag.Move(x, y, SmoothMove->isChecked());
    UpdateFields();
    if (preview) {
        Pitch->DrawPreview(*preview, Doc->Main().Players[preview->Player].NumberText,
                           Doc->MainColors(), ClearBack->isChecked());
        Image->update();
    }
}

void TMainForm::ImageMouseUp(int x, int y) {
    if (CurrentPage() == TPage::Options) {
        // Only a page changed by the keyboard mid-drag gets here: the drag
        // ends without a drop, and the pointer is not left hidden.
        CancelDrag();
        return;
    }
    const pitch::TDragController::TRelease release = Drag.Release(x, y);
    if (!release.Ended)
        return;
    QApplication::restoreOverrideCursor();
    // A drop is one undoable step, and its signal redraws; a drop outside
    // the grid or on the player's own cell redraws all the same.
    if (!release.Drop ||
        !Doc->MovePlayer(release.Player, Doc->BallZone(), Doc->WithBall(), *release.Drop))
        UpdateFields();
}

bool TMainForm::CancelDrag() {
    if (!Drag.Cancel())
        return false;
    QApplication::restoreOverrideCursor();
    return true;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !HintsOn)
        return true;
    return QWidget::eventFilter(watched, event);
}
