#pragma once

#include "Cm_info.h"
#include "Cm_tactic.h"
#include "ColorSchemes.h"
#include "DragController.h"
#include "PitchRenderer.h"
#include "TacticDocument.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QTranslator;
class TDialogs;
class TPitchImage;
class TRadioGroup;

namespace pages {
class TComparePage;
class TInstructionsPage;
} // namespace pages

// The editor's only window: every control, the two tactics, the pitch view
// and the handlers bound to the controls' events. Handlers stay thin; the
// work is done by the pages (pages/) and the pitch view (pitch/).
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // The six lines of the scrolling credits.
    using TCredits = std::array<std::string, 6>;

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
    const TCredits& Credits() const { return CreditLines; }
    int BallZone() const { return Doc->BallZone(); }

private:
    enum class TPage { General, Compare, Anti, Options };

    // Building the controls, page by page.
    void BuildControls();
    QWidget* BuildAntiPage();
    QWidget* BuildOptionsPage();
    QWidget* BuildImagePanel();
    QWidget* BuildLoadPanel();
    // The translated texts, in the current language.
    void ApplyTexts();

    // Start-up steps that can end the program or fail.
    bool FindGame();

    // Handlers.
    void BrowseClick(QObject* sender);
    // True when the tactic was saved.
    bool BtnSaveClick();
    // Asks before a save writes over another program's change of the main
    // tactic's file, or over a reserve copy made from another tactic file.
    bool ConfirmOverwrite(TTacticDocument::TSaveQuestion question);
    void UpdatePlayersInstructions();
    void ShowTeamInstructions();
    void PlayersGridSelectCell(int column, int row);
    void ComboValueChange();
    void CalculateBias();
    void UpdateFields();
    void HideLogoClick();
    void TimerTimer();
    void CheckHintsClick();
    void CheckColorClick(TRadioGroup* group);
    void ChangeLanguage(QObject* sender);
    void ImageMouseDown(Qt::MouseButton button, int x, int y);
    void ImageMouseMove(int x, int y);
    void ImageMouseUp(int x, int y);
    void FormDestroy();
    void EditUndo();
    void EditRedo();

    // The question before unsaved edits of the main tactic would be lost:
    // true when they were saved or may be dropped, false to keep everything.
    bool MayDropEdits();
    // A file chosen for a tactic: loaded, then the window's stage follows.
    void LoadChosen(bool main, const QString& path);

    // A drag that cannot end with a release (the window lost the mouse or
    // closes): the pointer comes back, nothing is stored. True when a drag
    // was going on.
    bool CancelDrag();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Centres the window's frame, as far as it is known, on its screen.
    void CentreOnScreen();
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    TPage CurrentPage() const;
    void ShowTab(TPage page);
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
    TCredits CreditLines;
    // The size of the frame the window was last centred with.
    QSize CentredFrame;
    bool HintsOn = true;
    pitch::TDragController Drag;
    std::unique_ptr<QTranslator> Russian;

    // Controls the handlers use; the rest are found by their object names.
    QTabWidget* PageControl = nullptr;
    QFrame* ImagePanel = nullptr;
    QFrame* ModePanel = nullptr;
    QRadioButton* WithBall = nullptr;
    TPitchImage* Image = nullptr;
    pages::TInstructionsPage* General = nullptr;
    pages::TComparePage* Compare = nullptr;
    QLabel* LabelTN1 = nullptr;
    QLabel* LabelTN2 = nullptr;
    QFrame* LoadPanel = nullptr;
    QPushButton* Browse1 = nullptr;
    QPushButton* Browse2 = nullptr;
    QPushButton* BtnSave = nullptr;
    QCheckBox* HideLogo = nullptr;
    QCheckBox* SmoothMove = nullptr;
    QCheckBox* ClearBack = nullptr;
    QCheckBox* CheckHints = nullptr;
    QPushButton* BtnRussian = nullptr;
    TRadioGroup* CheckMainColor = nullptr;
    TRadioGroup* CheckSecondColor = nullptr;
    QTimer* Timer = nullptr;
};
