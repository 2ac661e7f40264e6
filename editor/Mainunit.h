#pragma once

#include "document/TacticDocument.h"
#include "editor/PageControl.h"
#include "pages/OptionsPage.h"
#include "pitch/PitchRenderer.h"
#include "tactic/Cm_info.h"
#include "tactic/Cm_tactic.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;
class QTranslator;
class TDialogs;
class TLoadPanel;
class TPitchPanel;
class TShapeCommands;
class TZonesWindow;

namespace pitch {
class TPlayback;
}

namespace pages {
class TComparePage;
class TInstructionsPage;
} // namespace pages

// The editor's only window: the pages on the left, the pitch panel on the
// right, the load panel below, and the handlers that bind them to the
// document. Handlers stay thin; the panels and pages do the work.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // Runs the whole start-up. When the game is not found and the user
    // declines to go on, start-up stops there and StartupDeclined() is true:
    // the window must not be shown and the program ends with status -1. A
    // registry value of the wrong type throws std::runtime_error.
    explicit TMainForm(TDialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    bool StartupDeclined() const { return Declined; }

    // Loads a tactic file as if it had been chosen in the open dialog of
    // Browse1 (main) or Browse2 (second), with the same stages and failure
    // report; a main tactic over unsaved edits asks first. A second tactic
    // needs a main one, as Browse2 does.
    void OpenTactic(bool main, const QString& path);
    // The files named on the command line: the main tactic, then the second.
    void OpenArguments(const QStringList& files);

    // Read-only views for tests and tools.
    const TTacticDocument& Document() const { return *Doc; }
    const TCmTactic& MainTactic() const { return Doc->Main(); }
    const TCmTactic& SecondTactic() const { return Doc->Second(); }
    const pitch::TPitchRenderer& Renderer() const { return *Pitch; }
    const TCmInfo& GameInfo() const { return Info; }
    const QString& TacticFilePath() const { return ChosenPath; }
    const QString& MainTacticFile() const { return Doc->MainFileName(); }
    const pages::TOptionsPage::TCredits& Credits() const { return Options->Credits(); }
    int BallZone() const { return Doc->BallZone(); }
    TPage CurrentPage() const;
    // The zones overview; null until first opened.
    TZonesWindow* ZonesWindow() const { return Zones; }
    const pitch::TPlayback& Playback() const { return *Play; }

private:
    void BuildControls();
    void BindDocument();
    void AddShortcuts();

    // Start-up steps that can end the program or fail.
    bool FindGame();

    // Handlers.
    void BrowseClick(bool main);
    // True when the tactic was saved.
    bool BtnSaveClick();
    // Asks before a save (or a copy) writes over another program's change of
    // `tactic`, or over its reserve copy `reservePath` made from another tactic.
    bool ConfirmOverwrite(TTacticDocument::TSaveQuestion question, const QString& tactic,
                          const QString& reservePath);
    void UpdatePlayersInstructions();
    void ShowTeamInstructions();
    void PlayersGridSelectCell(int column, int row);
    void ComboValueChange();
    void CalculateBias();
    void UpdateFields();
    void HideLogoClick(bool hidden);
    void TimerTimer();
    void CheckHintsClick(bool on);
    void CheckColorClick(bool main, int scheme);
    void ChangeLanguage(bool russian);
    void ImageDrop(int player, TCmPos cell);
    // A press of an arrow on the pitch: one cell for the player or the outfield.
    void KeyMove(int player, int dx, int dy);
    // The keyboard's player chosen anew: only the mark is drawn again.
    void ShowChosen();
    void FormDestroy();
    void EditUndo();
    void EditRedo();
    // "Save picture…" (the pitch as shown, PNG) and "Save tactic sheet…" (PNG or PDF).
    void SavePictureClick();
    // "Save a copy…": the tactic as edited into a new file, which becomes the main tactic's.
    void SaveCopyClick();
    void SaveSheetClick();
    // Asks where to write a new file of one of the `suffixes`, makes its
    // bytes for the suffix chosen and writes them, replacing a file only
    // after a question; every failure is shown.
    void ExportFile(const QString& filters, const QStringList& suffixes,
                    const std::function<QByteArray(const QString& suffix)>& make);
    // Opens the zones overview beside the window, or closes it.
    void BtnZonesClick();
    // "Copy shape to another zone": the overview opens and waits for a click.
    void PickCopyTarget();
    void ChooseZone(int zone);
    // Play: started, paused, stepped and stopped here, each frame drawn on
    // the big pitch; the document is only read, but for the ball zone that
    // a stop leaves.
    void PlayPause();
    void PlayStep(int direction);
    void StopPlay();
    void PlayFrame();
    void ShowPlay();
    // What the big pitch shows now, a moment of play included.
    pitch::TScene Scene() const;

    // The question before unsaved edits of the main tactic would be lost:
    // true when they were saved or may be dropped, false to keep everything.
    bool MayDropEdits();
    // A file chosen for a tactic: loaded, then the window's stage follows.
    void LoadChosen(bool main, const QString& path);
    // An undone or redone instruction shows on the General page, its cell selected.
    void ShowInstruction(int player, int column);
    // Team instructions: a pick stored, its step shown on the General page.
    void TeamComboChange(int index);
    void ShowTeamInstruction();
    // One value for several players: the step shown with those cells selected.
    void ShowInstructions(int column, const QList<int>& players);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    void ShowError(const QString& text);

    TDialogs& Dialogs;
    bool Declined = false;

    // What the window owns besides its controls; released by FormDestroy.
    // The document holds both tactics and the editing state.
    std::unique_ptr<TTacticDocument> Doc;
    std::unique_ptr<pitch::TPitchRenderer> Pitch;

    TCmInfo Info;
    QString OpenDialogFolder;
    QString ChosenPath;
    // Where the last picture or sheet went; empty: the user's own folder.
    QString ExportFolder;
    // The options as last chosen on the Options page.
    bool HintsOn = true;
    bool LogoHidden = false;
    std::unique_ptr<QTranslator> Russian;

    TPageControl* PageControl = nullptr;
    pages::TInstructionsPage* General = nullptr;
    pages::TComparePage* Compare = nullptr;
    pages::TOptionsPage* Options = nullptr;
    TPitchPanel* ImagePanel = nullptr;
    TLoadPanel* LoadPanel = nullptr;
    QTimer* Timer = nullptr;
    // Made when first opened, so that start-up does not pay for it.
    TZonesWindow* Zones = nullptr;
    pitch::TPlayback* Play = nullptr;
    // Copy and mirror shapes.
    TShapeCommands* Shapes = nullptr;
    // The moment of play the big pitch last drew; a hold repeats it without a redraw.
    pitch::TPlayStep FrameShown{-1, -1, 0.0};
};
