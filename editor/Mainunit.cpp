#include "Mainunit.h"

#include "Artwork.h"
#include "ColorSchemes.h"
#include "ComparePage.h"
#include "Dialogs.h"
#include "Fonts.h"
#include "InstructionsPage.h"
#include "PitchImage.h"
#include "PitchMap.h"
#include "RadioGroup.h"
#include "ReserveCopy.h"
#include "ShortName.h"
#include "TacticScore.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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

const char* const FontFace = "Comic Sans MS";
const char* const Caption = "Pitchwright";

QFont WindowFont(int pointSize) {
    QFont font;
    font.setFamilies(pitch::WithFallbacks(QString::fromLatin1(FontFace)));
    font.setPointSize(pointSize);
    return font;
}

// The texts that follow the interface language, in the order they are set.
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
    {"AttackLab", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Attacking potential")},
    {"T1Att", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Main Tactic")},
    {"T2Att", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Second tactic")},
    {"PoorA", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "VeryPoor")},
    {"NormalA", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Normal")},
    {"SuperA", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Superb")},
    {"DefenceLab", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Defence potential")},
    {"T1Def", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Main Tactic")},
    {"T2Def", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Second tactic")},
    {"PoorD", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "VeryPoor")},
    {"NormalD", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Normal")},
    {"SuperD", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Superb")},
    {"LabelTT", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Team instructions")},
    {"LabelPT", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Players instructions")},
    {"HideNo", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Hide \"No\"")},
    {"HideTeam", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "Hide \"Team\"")},
    // The two colons of the credit lines stand one above the other.
    {"", TTextKind::Credit, 1, QT_TRANSLATE_NOOP("TMainForm", "Idea                   : Pitchwright team")},
    {"", TTextKind::Credit, 2, QT_TRANSLATE_NOOP("TMainForm", "Author                 : Pitchwright team")},
    {"", TTextKind::Credit, 5, QT_TRANSLATE_NOOP("TMainForm", "         (c) 2026 Pitchwright team")},
    {"Warning", TTextKind::Text, 0, QT_TRANSLATE_NOOP("TMainForm", "These features are tested!")},
};
// clang-format on

// A file name as the data layer takes it: UTF-8 on Windows, where it is
// widened again, and the file system's own bytes elsewhere.
std::string NativeFileName(const QString& path) {
#ifdef _WIN32
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString LoadFailureReason(TCmTactic::TError error) {
    switch (error) {
    case TCmTactic::TError::TooShort:
        return QStringLiteral("The file is too short to be a tactic file.");
    case TCmTactic::TError::ReadFailed:
        return QStringLiteral("The file could not be read.");
    default:
        return QStringLiteral(
            "The file cannot be opened: it is missing, unreadable or held by another program.");
    }
}

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
    Main = std::make_unique<TCmTactic>();
    Second = std::make_unique<TCmTactic>();
    Pitch = std::make_unique<pitch::TPitchRenderer>(QString::fromLatin1(FontFace));
    General->SetTactic(Main.get());
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

    // Centred on the desktop with its frame. The frame's size is known once
    // the native window exists: at once on Windows; with a window manager on
    // Linux only when it frames the window, so there the client area is centred.
    if (const QScreen* screen = this->screen()) {
        winId();
        const QRect outer(QPoint(), size().grownBy(windowHandle()->frameMargins()));
        windowHandle()->setFramePosition(screen->availableGeometry().center() - outer.center());
    }
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
    Main.reset();
    Second.reset();
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
    QPushButton* russian = MakeButton(general, "BtnRussian", {32, 168, 97, 25});
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
    connect(WithBall, &QRadioButton::clicked, this, [this] { UpdateFields(); });
    connect(withoutBall, &QRadioButton::clicked, this, [this] { UpdateFields(); });

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
    auto* panel = Named(new QFrame(this), "LoadPanel");
    panel->setFixedSize(ClientWidth, LoadPanelHeight);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    MakeLabel(panel, "LabelT1", 8, 6);
    LabelTN1 = MakeLabel(panel, "LabelTN1", 136, 6);
    MakeLabel(panel, "LabelT2", 427, 6);
    LabelTN2 = MakeLabel(panel, "LabelTN2", 539, 6);
    for (QLabel* name : {LabelTN1, LabelTN2}) {
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setText(QStringLiteral("Not load"));
        name->adjustSize();
    }

    QPushButton* browse1 = MakeButton(panel, "Browse1", {250, 4, 21, 21});
    BtnSave = MakeButton(panel, "BtnSave", {278, 4, 21, 21});
    Browse2 = MakeButton(panel, "Browse2", {652, 4, 21, 21});
    for (auto [button, tag] : {std::pair{browse1, 1}, std::pair{Browse2, 2}}) {
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
    CreditLines[3] = "Web:  https://pitchwright.example";
    CreditLines[4] = "Mail: team@pitchwright.example";
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
    const TPage shown = CurrentPage();
    const bool main = sender->property("tag").toInt() == 1;
    // The dialog opens where the last chosen file lies, else in the tactics folder.
    const QString folder =
        ChosenPath.isEmpty() ? OpenDialogFolder : QFileInfo(ChosenPath).absolutePath();
    const std::optional<QString> chosen = Dialogs.OpenFileName(
        this, folder, QStringLiteral("CM 00/01 tactics files (*.tct)"), QStringLiteral("tct"));
    if (chosen) {
        ChosenPath = *chosen;
        TCmTactic& tactic = main ? *Main : *Second;
        // A file that cannot be loaded changes nothing: not the tactic, its
        // label, the file a save writes into, nor the window's stage.
        if (!tactic.Load(NativeFileName(ChosenPath))) {
            ShowError(QStringLiteral("Could not load tactic %1\n%2")
                          .arg(QDir::toNativeSeparators(ChosenPath),
                               LoadFailureReason(tactic.LastError())));
        } else {
            const QString name = ShortName(ChosenPath);
            if (main) {
                LabelTN1->setText(name);
                LabelTN1->adjustSize();
                MainFile = ChosenPath;
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
    }
    ShowTab(shown);
}

void TMainForm::BtnSaveClick() {
    const QString name = LabelTN1->text();
    const QString question = QStringLiteral("Overwrite tactic %1?\n\r\n\r"
                                            "Previous tactic will save in file %1.old")
                                 .arg(name);
    if (Dialogs.Message(this, QMessageBox::Question, QStringLiteral("Overwrite tactic?"), question,
                        QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    // The reserve copy must exist before the file is touched; without it
    // there is no save.
    const QString reserve = QFileInfo(MainFile).absoluteDir().filePath(name + ".old");
    if (!CopyFileReplacing(MainFile, reserve)) {
        ShowError(QStringLiteral("Could not make the reserve copy %1; the tactic was not saved.")
                      .arg(QDir::toNativeSeparators(reserve)));
        return;
    }
    if (!Main->Save(NativeFileName(MainFile)))
        ShowError(
            QStringLiteral("Could not save tactic %1").arg(QDir::toNativeSeparators(MainFile)));
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
    General->ComboValueChange();
}

void TMainForm::CalculateBias() {
    Compare->SetScores(pages::ScoreTactic(*Main), pages::ScoreTactic(*Second));
}

void TMainForm::UpdateFields() {
    Timer->stop();
    const TPage page = CurrentPage();
    pitch::TScene scene;
    scene.Main = Main.get();
    // A second tactic that was never loaded has nothing to show; its pages
    // show from its first load on.
    const bool secondLoaded = PageControl->isTabVisible(static_cast<int>(TPage::Compare));
    scene.Second = secondLoaded ? Second.get() : nullptr;
    scene.BallZone = Zone;
    scene.WithBall = WithBall->isChecked();
    scene.SecondMode = page == TPage::General   ? pitch::TSecondTactic::Hidden
                       : page == TPage::Compare ? pitch::TSecondTactic::Same
                                                : pitch::TSecondTactic::Opponent;
    scene.MainColors = MainColors;
    scene.SecondColors = SecondColors;
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
    const auto target = static_cast<pitch::TColorTarget>(group->property("tag").toInt());
    pitch::TTacticColors& colors = target == pitch::TColorTarget::Main ? MainColors : SecondColors;
    const std::optional<pitch::TTacticColors> chosen =
        pitch::ChooseColors(target, group->ItemIndex(), colors,
                            [this](const QColor& initial) { return Dialogs.Color(this, initial); });
    // A cancelled colour dialog changes nothing and draws nothing.
    if (!chosen)
        return;
    colors = *chosen;
    UpdateFields();
}

void TMainForm::ChangeLanguage(QObject* sender) {
    const bool russian = sender->property("tag").toInt() == 1;
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
    ApplyTexts();
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
    CancelDrag();
    QWidget::closeEvent(event);
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
        Drag.Press(DragButton(button), x, y, *Main, Zone, WithBall->isChecked());
    Zone = result.BallZone;
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
        Pitch->DrawPreview(*preview, Main->Players[preview->Player].NumberText, MainColors,
                           ClearBack->isChecked());
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
    if (Drag.Release(x, y, *Main, Zone, WithBall->isChecked())) {
        QApplication::restoreOverrideCursor();
        UpdateFields();
    }
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
