#include "editor/Mainunit.h"

#include "document/KeyMoves.h"
#include "editor/Dialogs.h"
#include "editor/Export.h"
#include "editor/FileErrors.h"
#include "editor/LoadPanel.h"
#include "editor/PageControl.h"
#include "editor/PitchPanel.h"
#include "editor/ScreenCentring.h"
#include "editor/ShapeCommands.h"
#include "editor/ZonesWindow.h"
#include "pages/AntiPage.h"
#include "pages/ComparePage.h"
#include "pages/InstructionsPage.h"
#include "pages/OptionsPage.h"
#include "pages/TacticScore.h"
#include "pitch/ColorSchemes.h"
#include "pitch/Fonts.h"
#include "pitch/Playback.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>
#include <QTranslator>
#include <QVBoxLayout>
#include <QVersionNumber>

#include <stdexcept>

namespace {

constexpr int ClientWidth = 790;
constexpr int ClientHeight = 482;
constexpr int PagesHeight = 449;
constexpr int WindowPointSize = 9;
constexpr int TabPointSize = 12;
constexpr int TimerInterval = 50;

const char* const Caption = "Pitchwright";

QFont WindowFont(int pointSize) {
    QFont font;
    font.setFamilies(pitch::WithFallbacks(pitch::WindowFontFace()));
    font.setPointSize(pointSize);
    return font;
}

// "Pitchwright v1.1" for the project's version 1.1.x; [*] marks unsaved edits.
QString WindowTitle() {
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(PW_VERSION));
    return QStringLiteral("%1 v%2.%3[*]")
        .arg(QString::fromLatin1(Caption))
        .arg(version.majorVersion())
        .arg(version.minorVersion());
}

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

TMainForm::TMainForm(TDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , Dialogs(dialogs) {
    setWindowTitle(WindowTitle());
    setFixedSize(ClientWidth, ClientHeight);
    // 1. Where is the game? Without it the user decides whether to go on.
    if (!FindGame()) {
        Declined = true;
        return;
    }
    // 2, 3. The two tactics and the two pictures of the pitch view.
    Doc = std::make_unique<TTacticDocument>(*pitch::ClubColors(pitch::TColorTarget::Main, 0),
                                            *pitch::ClubColors(pitch::TColorTarget::Second, 0));
    Pitch = std::make_unique<pitch::TPitchRenderer>(pitch::WindowFontFace());
    BuildControls();
    BindDocument();
    // 4. The open dialog starts in the game's tactics folder.
    OpenDialogFolder = QString::fromStdString(Info.TacticsFolder());
    // 5. The grid's header row.
    General->WriteHeaders();
    // 6. Only the Options page shows until a tactic is loaded.
    {
        const QSignalBlocker quiet(PageControl);
        PageControl->Show(TPage::Options);
    }
    for (TPage page : {TPage::Compare, TPage::Anti, TPage::General})
        PageControl->SetTabShown(page, false);
    // 10. The main tactic's colours, then the first redraw, which also starts the credits.
    CheckColorClick(true, 0);
    // 11. English texts.
    ChangeLanguage(false);
    // 12. The bars' ranges.
    Compare->SetRanges();

    new TScreenCentring(*this);
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::FormDestroy() {
    if (ImagePanel)
        ImagePanel->CancelDrag();
    // Neither a frame nor a stop comes while the window goes.
    if (Play)
        Play->disconnect(this);
    if (Zones)
        Zones->disconnect(this);
    // The controls show the document and the renderer, and may still call on
    // the window while they go: they go first.
    delete Zones;
    Zones = nullptr;
    delete Shapes;
    Shapes = nullptr;
    delete Timer;
    delete PageControl;
    delete ImagePanel;
    delete LoadPanel;
    Timer = nullptr;
    PageControl = nullptr;
    General = nullptr;
    Compare = nullptr;
    Options = nullptr;
    ImagePanel = nullptr;
    LoadPanel = nullptr;
    Doc.reset();
    Pitch.reset();
}

bool TMainForm::FindGame() {
    const TCmInfo::TStatus status = Info.ReadFromRegistry();
    if (status == TCmInfo::TStatus::Found)
        return true;
    // A value of another type than text is no "not found": start-up ends with it.
    if (status != TCmInfo::TStatus::NotFound)
        throw std::runtime_error(TCmInfo::ErrorText(status));
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
    pitch::InstallFontFallbacks();
    setFont(WindowFont(WindowPointSize));

    General = new pages::TInstructionsPage;
    General->setObjectName(QStringLiteral("TabGeneral"));
    General->SetTactic(&Doc->Main());
    Compare = new pages::TComparePage;
    Compare->setObjectName(QStringLiteral("TabCompare"));
    Options = new pages::TOptionsPage;
    PageControl = new TPageControl(General, Compare, new pages::TAntiPage, Options,
                                   WindowFont(TabPointSize), this);
    PageControl->setFixedHeight(PagesHeight);
    for (QWidget* filter : {General->HideNo(), General->HideTeam()})
        filter->setCursor(Qt::PointingHandCursor);

    ImagePanel = new TPitchPanel(*Doc, *Pitch, this);
    ImagePanel->setFixedHeight(PagesHeight);
    LoadPanel = new TLoadPanel(this);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(PageControl);
    top->addWidget(ImagePanel);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addLayout(top);
    outer->addWidget(LoadPanel);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(TimerInterval);

    Play = new pitch::TPlayback(this);
    connect(Play, &pitch::TPlayback::frame, this, &TMainForm::PlayFrame);
    // The big pitch stays on the zone the ball was in.
    connect(Play, &pitch::TPlayback::stopped, this, [this](int zone) { ChooseZone(zone); });

    connect(PageControl, &QTabWidget::currentChanged, this, [this] {
        StopPlay();
        UpdateFields();
    });
    connect(General, &pages::TInstructionsPage::cellSelecting, this,
            &TMainForm::PlayersGridSelectCell);
    connect(General, &pages::TInstructionsPage::valuePicked, this, &TMainForm::ComboValueChange);
    connect(General, &pages::TInstructionsPage::pickRunEnded, this, [this] { Doc->EndMerging(); });
    connect(General, &pages::TInstructionsPage::teamValuePicked, this, &TMainForm::TeamComboChange);
    for (QCheckBox* filter : {General->HideNo(), General->HideTeam()})
        connect(filter, &QCheckBox::clicked, this, &TMainForm::UpdatePlayersInstructions);
    connect(Options, &pages::TOptionsPage::hintsToggled, this, &TMainForm::CheckHintsClick);
    connect(Options, &pages::TOptionsPage::hideLogoToggled, this, &TMainForm::HideLogoClick);
    connect(Options, &pages::TOptionsPage::colorChosen, this, &TMainForm::CheckColorClick);
    connect(Options, &pages::TOptionsPage::languageChosen, this, &TMainForm::ChangeLanguage);
    connect(Options, &pages::TOptionsPage::smoothMoveToggled, ImagePanel,
            &TPitchPanel::SetSmoothMove);
    connect(Options, &pages::TOptionsPage::clearBackToggled, ImagePanel,
            &TPitchPanel::SetClearBack);
    connect(ImagePanel, &TPitchPanel::phaseChosen, this, [this](bool withBall) {
        Doc->EndMerging();
        Doc->SetWithBall(withBall);
        UpdateFields();
    });
    connect(ImagePanel, &TPitchPanel::zoneChosen, this, &TMainForm::ChooseZone);
    // A press may start a drag, which works on the zone the ball stands in.
    connect(ImagePanel, &TPitchPanel::pressing, this, &TMainForm::StopPlay);
    connect(ImagePanel, &TPitchPanel::dropped, this, &TMainForm::ImageDrop);
    connect(ImagePanel, &TPitchPanel::redrawWanted, this, &TMainForm::UpdateFields);
    connect(ImagePanel, &TPitchPanel::keyMoved, this, &TMainForm::KeyMove);
    connect(ImagePanel, &TPitchPanel::choiceChanged, this, &TMainForm::ShowChosen);
    connect(ImagePanel, &TPitchPanel::keyRunEnded, this, [this] { Doc->EndMerging(); });
    connect(LoadPanel, &TLoadPanel::browseClicked, this, &TMainForm::BrowseClick);
    connect(LoadPanel, &TLoadPanel::saveClicked, this, &TMainForm::BtnSaveClick);
    connect(LoadPanel, &TLoadPanel::saveCopyClicked, this, &TMainForm::SaveCopyClick);
    connect(LoadPanel, &TLoadPanel::pictureClicked, this, &TMainForm::SavePictureClick);
    connect(LoadPanel, &TLoadPanel::sheetClicked, this, &TMainForm::SaveSheetClick);
    connect(LoadPanel, &TLoadPanel::zonesClicked, this, &TMainForm::BtnZonesClick);
    connect(Timer, &QTimer::timeout, this, &TMainForm::TimerTimer);
    AddShortcuts();
    Shapes = new TShapeCommands(*Doc, Dialogs, *this, [this] {
        return Doc->MainLoaded() && !ImagePanel->Dragging() && CurrentPage() != TPage::Options;
    });
    connect(Shapes, &TShapeCommands::starting, this, &TMainForm::StopPlay);
    connect(Shapes, &TShapeCommands::targetWanted, this, &TMainForm::PickCopyTarget);
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

void TMainForm::AddShortcuts() {
    // Undo and redo: the platform's keys, and Ctrl+Y and Ctrl+Shift+Z everywhere.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    const auto add = [this](const QList<QKeySequence>& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    add(QKeySequence::keyBindings(QKeySequence::Undo), [this] { EditUndo(); });
    add(redoKeys, [this] { EditRedo(); });
    // The file commands as every editor has them; each does what its button does.
    add(QKeySequence::keyBindings(QKeySequence::Open), [this] {
        if (!ImagePanel->Dragging())
            BrowseClick(true);
    });
    add({TLoadPanel::SecondKey()}, [this] {
        if (!ImagePanel->Dragging() && Doc->MainLoaded())
            BrowseClick(false);
    });
    add({TLoadPanel::ZonesKey()}, [this] {
        if (Doc->MainLoaded())
            BtnZonesClick();
    });
    add(QKeySequence::keyBindings(QKeySequence::Save), [this] {
        if (!ImagePanel->Dragging() && Doc->MainLoaded())
            BtnSaveClick();
    });
    add({TLoadPanel::SaveCopyKey()}, [this] {
        if (!ImagePanel->Dragging() && Doc->MainLoaded())
            SaveCopyClick();
    });
    add({TLoadPanel::PictureKey()}, [this] {
        if (!ImagePanel->Dragging() && Doc->MainLoaded())
            SavePictureClick();
    });
    add({TLoadPanel::SheetKey()}, [this] {
        if (!ImagePanel->Dragging() && Doc->MainLoaded())
            SaveSheetClick();
    });
}

void TMainForm::BindDocument() {
    // An edit, its undo and its redo all show the same way, in the zone and
    // phase (or on the page and in the cell) where the change is.
    connect(Doc.get(), &TTacticDocument::positionsChanged, this, [this] {
        ImagePanel->ShowPhase(Doc->WithBall());
        UpdateFields();
    });
    connect(Doc.get(), &TTacticDocument::instructionsChanged, this, &TMainForm::ShowInstruction);
    connect(Doc.get(), &TTacticDocument::teamInstructionChanged, this,
            &TMainForm::ShowTeamInstruction);
    connect(Doc.get(), &TTacticDocument::instructionsSetFor, this, &TMainForm::ShowInstructions);
    connect(&Doc->History(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowModified(!clean);
        if (!clean)
            LoadPanel->ShowSaved(false);
    });
}

// ---------------------------------------------------------------------------
// Handlers

TPage TMainForm::CurrentPage() const {
    return PageControl->Current();
}

void TMainForm::ShowError(const QString& text) {
    Dialogs.Message(this, QMessageBox::Critical, QString::fromLatin1(Caption), text,
                    QMessageBox::Ok);
}

void TMainForm::BrowseClick(bool main) {
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
    PageControl->SetTabShown(shown, true);
}

void TMainForm::OpenTactic(bool main, const QString& path) {
    if (main ? !MayDropEdits() : !Doc->MainLoaded())
        return;
    const TPage shown = CurrentPage();
    LoadChosen(main, path);
    PageControl->SetTabShown(shown, true);
}

void TMainForm::OpenArguments(const QStringList& files) {
    if (!files.isEmpty())
        OpenTactic(true, files[0]);
    if (files.size() > 1)
        OpenTactic(false, files[1]);
}

void TMainForm::LoadChosen(bool main, const QString& path) {
    StopPlay();
    ChosenPath = path;
    const bool first = !Doc->MainLoaded();
    // A file that cannot be loaded changes nothing: not the tactic, its
    // label, the file a save writes into, nor the window's stage.
    const TCmFailure failure = main ? Doc->LoadMain(path) : Doc->LoadSecond(path);
    if (failure.Error != TCmError::None) {
        ShowError(LoadFailureText(path, failure));
        return;
    }
    LoadPanel->ShowFile(main, path);
    if (main) {
        LoadPanel->ShowSaved(false);
        UpdatePlayersInstructions();
        ShowTeamInstructions();
        ImagePanel->show();
        LoadPanel->EnableMainCommands();
    } else {
        PageControl->SetTabShown(TPage::Compare, true);
        PageControl->SetTabShown(TPage::Anti, true);
    }
    PageControl->SetTabShown(TPage::General, true);
    ImagePanel->ShowModePanel();
    // The first tactic opens on its page, where a newcomer looks for it;
    // later loads keep the page the user is on.
    if (main && first)
        PageControl->Show(TPage::General);
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
    switch (Doc->Save([this](auto question) {
        return ConfirmOverwrite(question, Doc->MainFileName(), Doc->ReservePath());
    })) {
    case TTacticDocument::TSaveOutcome::Saved:
        LoadPanel->ShowSaved(true);
        return true;
    case TTacticDocument::TSaveOutcome::Failed:
        ShowError(SaveFailureText(Doc->MainFileName(), Doc->ReservePath(), Doc->LastSaveFailure()));
        break;
    case TTacticDocument::TSaveOutcome::Declined:
        break;
    }
    return false;
}

void TMainForm::SaveCopyClick() {
    StopPlay();
    const QString start = QFileInfo(Doc->MainFileName())
                              .absoluteDir()
                              .filePath(QStringLiteral("%1 copy.tct").arg(Doc->MainName()));
    const std::optional<QString> chosen = Dialogs.SaveFileName(
        this, start, QStringLiteral("CM 00/01 tactics files (*.tct)"), QStringLiteral("tct"));
    if (!chosen)
        return;
    QString path = *chosen;
    if (!path.endsWith(QStringLiteral(".tct"), Qt::CaseInsensitive))
        path += QStringLiteral(".tct");
    const QString reserve = TTacticDocument::ReservePathOf(path);
    const auto confirm = [&](TTacticDocument::TSaveQuestion question) {
        // Asked here rather than by the dialog, as for pictures: a file that
        // appears after the dialog closed is not replaced without a question.
        if (question == TTacticDocument::TSaveQuestion::ReplaceFile)
            return Dialogs.Message(
                       this, QMessageBox::Question, QStringLiteral("Replace file?"),
                       QStringLiteral("%1 already exists.\nReplace it?\n\r\n\r"
                                      "The file as it is will be kept in %2.")
                           .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(reserve)),
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        return ConfirmOverwrite(question, path, reserve);
    };
    const QString loaded = Doc->MainFileName();
    switch (Doc->SaveCopy(path, confirm)) {
    case TTacticDocument::TSaveOutcome::Saved:
        ChosenPath = path;
        LoadPanel->ShowFile(true, path);
        LoadPanel->ShowSaved(true);
        UpdateFields();
        break;
    case TTacticDocument::TSaveOutcome::Failed:
        ShowError(CopyFailureText(path, reserve, loaded, Doc->LastSaveFailure()));
        break;
    case TTacticDocument::TSaveOutcome::Declined:
        break;
    }
}

void TMainForm::SavePictureClick() {
    ExportFile(tr("PNG pictures (*.png)"), {QStringLiteral("png")}, [this](const QString&) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        // The tactics as drawn, without the credits that may scroll over them.
        return Pitch->PlayersBitmap().save(&buffer, "PNG") ? bytes : QByteArray();
    });
}

void TMainForm::SaveSheetClick() {
    ExportFile(tr("PNG pictures (*.png);;PDF documents (*.pdf)"),
               {QStringLiteral("png"), QStringLiteral("pdf")}, [this](const QString& suffix) {
                   return pages::MakeSheet(
                       {Doc->MainName(), &Doc->Main(), Doc->MainColors(), pitch::WindowFontFace()},
                       *SheetFormatOf(QStringLiteral(".") + suffix));
               });
}

void TMainForm::ExportFile(const QString& filters, const QStringList& suffixes,
                           const std::function<QByteArray(const QString& suffix)>& make) {
    const QString name = Doc->MainName().isEmpty() ? QStringLiteral("tactic") : Doc->MainName();
    const QString folder = ExportFolder.isEmpty() ? UserFolder() : ExportFolder;
    const std::optional<QString> chosen =
        Dialogs.SaveFileName(this, QDir(folder).filePath(name), filters, suffixes.front());
    if (!chosen)
        return;
    const QString path = *chosen;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!suffixes.contains(suffix)) {
        ShowError(QStringLiteral("Could not save %1\nThe name must end in .%2.")
                      .arg(QDir::toNativeSeparators(path), suffixes.join(QStringLiteral(" or ."))));
        return;
    }
    const QByteArray bytes = make(suffix);
    if (bytes.isEmpty()) {
        ShowError(QStringLiteral("Could not save %1\nThe picture could not be drawn.\nNothing was "
                                 "written.")
                      .arg(QDir::toNativeSeparators(path)));
        return;
    }
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size()));
    const std::string target = NativeFileName(path);
    TCmFailure failure;
    bool written = CmWriteNewFile(target, data, false, failure);
    // Asked here rather than by the dialog, so that a file that appears after
    // the dialog closed is not replaced without a question either.
    if (!written && failure.Error == TCmError::TargetExists) {
        if (Dialogs.Message(this, QMessageBox::Question, QStringLiteral("Replace file?"),
                            QStringLiteral("%1 already exists.\nReplace it?")
                                .arg(QDir::toNativeSeparators(path)),
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        written = CmWriteNewFile(target, data, true, failure);
    }
    if (!written) {
        ShowError(ExportFailureText(path, failure));
        return;
    }
    ExportFolder = QFileInfo(path).absolutePath();
}

bool TMainForm::ConfirmOverwrite(TTacticDocument::TSaveQuestion question, const QString& tactic,
                                 const QString& reservePath) {
    const bool reserve = question == TTacticDocument::TSaveQuestion::ReserveOfAnotherTactic;
    const QString text =
        reserve ? QStringLiteral("The reserve copy %1 was made from another tactic file than %2.\n"
                                 "Replace it with the copy of tactic %2?")
                      .arg(QDir::toNativeSeparators(reservePath), QDir::toNativeSeparators(tactic))
                : QStringLiteral("Another program has changed tactic %1 since it was loaded.\n"
                                 "Overwrite its changes with the tactic shown here?")
                      .arg(QDir::toNativeSeparators(tactic));
    return Dialogs.Message(this, QMessageBox::Warning,
                           reserve ? QStringLiteral("Reserve copy of another tactic")
                                   : QStringLiteral("Tactic changed on disk"),
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
    if (ImagePanel->Dragging() || CurrentPage() == TPage::Options)
        return;
    StopPlay();
    Doc->History().undo();
}

void TMainForm::EditRedo() {
    if (ImagePanel->Dragging() || CurrentPage() == TPage::Options)
        return;
    StopPlay();
    Doc->History().redo();
}

void TMainForm::UpdatePlayersInstructions() {
    General->UpdatePlayersInstructions();
}

void TMainForm::ShowTeamInstructions() {
    General->ShowTeamInstructions();
}

void TMainForm::PlayersGridSelectCell(int column, int row) {
    // Picks on another cell are steps of their own.
    Doc->EndMerging();
    General->SelectCell(column, row);
}

void TMainForm::ComboValueChange() {
    const std::optional<pages::TInstructionsPage::TPick> pick = General->Pick();
    if (!pick)
        return;
    StopPlay();
    // Several cells selected take the value together; the same text again
    // is no step, yet the grid shows it again.
    const QList<int> players = General->SelectedPlayers();
    const bool stored = players.size() > 1
                            ? Doc->SetInstructions(pick->Column, players, pick->Text)
                            : Doc->SetInstruction(pick->Player, pick->Column, pick->Text);
    if (!stored)
        UpdatePlayersInstructions();
}

void TMainForm::TeamComboChange(int index) {
    StopPlay();
    if (!Doc->SetTeamInstruction(index, General->TeamPick(index)))
        ShowTeamInstructions();
}

void TMainForm::ShowTeamInstruction() {
    ShowTeamInstructions();
    PageControl->Show(TPage::General);
}

void TMainForm::ShowInstructions(int column, const QList<int>& players) {
    UpdatePlayersInstructions();
    PageControl->Show(TPage::General);
    General->SelectCells(column, players);
}

void TMainForm::ShowInstruction(int player, int column) {
    UpdatePlayersInstructions();
    PageControl->Show(TPage::General);
    // The combo shows what the cell now holds, also after an undo.
    General->GoToCell(column, player + 1);
}

void TMainForm::CalculateBias() {
    Compare->SetScores(pages::ScoreTactic(Doc->Main()), pages::ScoreTactic(Doc->Second()));
}

pitch::TScene TMainForm::Scene() const {
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
    if (Play->Active())
        scene.Step = Play->Current();
    scene.Chosen = ImagePanel->Chosen();
    return scene;
}

void TMainForm::UpdateFields() {
    Timer->stop();
    const TPage page = CurrentPage();
    const pitch::TScene scene = Scene();
    Pitch->Redraw(scene);
    FrameShown = scene.Step.value_or(pitch::TPlayStep{-1, -1, 0.0});
    // The credits run over the picture on the Options page, which takes no mouse there.
    ImagePanel->SetEditable(page != TPage::Options);
    if (page == TPage::Options && !LogoHidden)
        Timer->start();
    CalculateBias();
    ImagePanel->Refresh();
    if (Zones)
        Zones->UpdateFields(scene);
    ShowPlay();
}

void TMainForm::ChooseZone(int zone) {
    StopPlay();
    // Moves in another zone are steps of their own, even back in this one.
    Doc->EndMerging();
    Doc->SetBallZone(zone);
    UpdateFields();
}

void TMainForm::PlayPause() {
    if (!Doc->MainLoaded() || ImagePanel->Dragging())
        return;
    if (Play->Playing())
        Play->Pause();
    else
        Play->Play(Doc->BallZone());
    ShowPlay();
}

void TMainForm::PlayStep(int direction) {
    if (!Doc->MainLoaded() || ImagePanel->Dragging())
        return;
    // From the zone shown, not from the route's start.
    if (!Play->Active()) {
        Play->Play(Doc->BallZone());
        Play->Pause();
    }
    Play->Step(direction);
    ShowPlay();
}

void TMainForm::StopPlay() {
    if (Play && Play->Active())
        Play->Stop();
}

void TMainForm::PlayFrame() {
    const pitch::TPlayStep step = Play->Current();
    if (step == FrameShown)
        return;
    FrameShown = step;
    // Positions do not change in play: no scores, no overview drawn again.
    Pitch->Redraw(Scene());
    ImagePanel->Refresh();
    ShowPlay();
}

void TMainForm::ShowPlay() {
    if (Zones)
        Zones->ShowPlay(Play->Playing(), Play->Active() ? pitch::StepZone(Play->Current()) : -1);
}

void TMainForm::BtnZonesClick() {
    if (Zones && Zones->isVisible()) {
        Zones->hide();
        return;
    }
    if (!Zones) {
        Zones = new TZonesWindow(this);
        connect(Zones, &TZonesWindow::zoneChosen, this, &TMainForm::ChooseZone);
        connect(Zones, &TZonesWindow::playPauseWanted, this, &TMainForm::PlayPause);
        connect(Zones, &TZonesWindow::stepWanted, this, &TMainForm::PlayStep);
        connect(Zones, &TZonesWindow::speedChosen, this,
                [this](int speed) { Play->SetSpeed(static_cast<pitch::TPlaySpeed>(speed)); });
        connect(Zones, &TZonesWindow::routeChanged, this,
                [this](const std::vector<int>& route) { Play->SetRoute(route); });
        // Its controls go with it: so does play.
        connect(Zones, &TZonesWindow::hidden, this, &TMainForm::StopPlay);
        connect(Zones, &TZonesWindow::targetChosen, Shapes, &TShapeCommands::CopyTo);
        Zones->SetShapeActions(Shapes->Actions());
        // The hints' switch holds here too.
        Zones->installEventFilter(this);
        for (QWidget* child : Zones->findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    Zones->OpenBeside(*this);
    UpdateFields();
}

void TMainForm::PickCopyTarget() {
    if (!Zones || !Zones->isVisible())
        BtnZonesClick();
    Zones->WaitForTarget(true);
}

void TMainForm::HideLogoClick(bool hidden) {
    LogoHidden = hidden;
    if (hidden) {
        Pitch->ShowPlayers();
        Timer->stop();
        ImagePanel->Refresh();
    } else {
        Timer->start();
    }
}

void TMainForm::TimerTimer() {
    Pitch->CreditsFrame(Options->Credits());
    ImagePanel->Refresh();
}

void TMainForm::CheckHintsClick(bool on) {
    HintsOn = on;
    if (!HintsOn)
        QToolTip::hideText();
}

void TMainForm::CheckColorClick(bool main, int scheme) {
    const auto target = main ? pitch::TColorTarget::Main : pitch::TColorTarget::Second;
    const TTacticColors& colors = main ? Doc->MainColors() : Doc->SecondColors();
    const std::optional<TTacticColors> chosen = pitch::ChooseColors(
        target, scheme, colors, [this](const QColor& initial, pitch::TColorPart part) {
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

void TMainForm::ChangeLanguage(bool russian) {
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
    // The window and each panel and page retranslate at once, not when Qt's
    // posted notice arrives.
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(this, &change);
    Shapes->Retranslate();
}

void TMainForm::ImageDrop(int player, TCmPos cell) {
    // A drop is one undoable step, and its signal redraws; a drop on the
    // player's own cell redraws all the same.
    if (!Doc->MovePlayer(player, Doc->BallZone(), Doc->WithBall(), cell))
        UpdateFields();
}

void TMainForm::KeyMove(int player, int dx, int dy) {
    // The move is made in the zone a stopped play leaves on the pitch.
    StopPlay();
    const QString text = player == keymoves::Outfield ? tr("Move the outfield")
                                                      : tr("Move player %1").arg(player + 1);
    Doc->SetPositions(
        keymoves::Moved(Doc->Positions(), player, Doc->BallZone(), Doc->WithBall(), dx, dy), text,
        keymoves::MergeKey(player));
}

void TMainForm::ShowChosen() {
    Pitch->Redraw(Scene());
    ImagePanel->Refresh();
}

void TMainForm::changeEvent(QEvent* event) {
    // A window that is no longer active has lost the mouse: no release will
    // come, and the preview goes with the drag.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && ImagePanel &&
        ImagePanel->CancelDrag())
        UpdateFields();
    QWidget::changeEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (ImagePanel->CancelDrag())
        UpdateFields();
    // Unsaved edits are saved, dropped or kept with the window open, as the user says.
    if (!MayDropEdits()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedTactic(event->mimeData()) && !ImagePanel->Dragging())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = DroppedTactic(event->mimeData());
    if (!path || ImagePanel->Dragging())
        return;
    event->acceptProposedAction();
    // The second tactic's half of the load panel takes a second tactic, once
    // there is a main one; anywhere else the file becomes the main tactic.
    const bool second =
        Doc->MainLoaded() &&
        LoadPanel->InSecondHalf(LoadPanel->mapFrom(this, event->position().toPoint()));
    OpenTactic(!second, *path);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !HintsOn)
        return true;
    // Space plays and pauses while the pitch view has the keyboard.
    if (event->type() == QEvent::KeyPress && watched->objectName() == QLatin1String("Image")) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                PlayPause();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
