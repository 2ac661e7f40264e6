#pragma once

#include "pitch/DragController.h"
#include "tactic/Cm_player.h"

#include <QElapsedTimer>
#include <QFrame>

class QKeyEvent;
class QRadioButton;
class TPitchImage;
class TTacticDocument;

namespace pitch {
class TPitchRenderer;
}

// The panel right of the pages: the phase buttons above the pitch view,
// and the mouse on the pitch. A right press chooses the ball zone, a left
// drag moves a main player; the panel previews the drag and asks the
// window to store the drop, which is the window's undoable edit. With the
// keyboard on the pitch view, Tab, Shift+Tab or a typed number choose a
// main player and the arrow keys ask the window to move him (with Shift the
// outfield) one cell.
class TPitchPanel : public QFrame {
    Q_OBJECT
public:
    TPitchPanel(const TTacticDocument& document, pitch::TPitchRenderer& renderer,
                QWidget* parent = nullptr);

    // The page shown: on the Options page the credits run over the pitch,
    // which then takes no mouse and hides the pointer.
    void SetEditable(bool editable);
    // How a drag is previewed: the disc following the pointer, the read-out's text bare.
    void SetSmoothMove(bool smooth) { Smooth = smooth; }
    void SetClearBack(bool clearBack) { ClearBack = clearBack; }
    // The phase buttons show the document's phase.
    void ShowPhase(bool withBall);
    void ShowModePanel();
    // Shows the picture as the renderer last drew it.
    void Refresh();

    bool Dragging() const { return Drag.Dragging(); }
    // A drag that cannot end with a release (the window lost the mouse or
    // closes): the pointer comes back, nothing is stored. True when a drag
    // was going on; the caller redraws.
    bool CancelDrag();

    // The main player (0..10) the keyboard moves, -1 none.
    int Chosen() const { return ChosenPlayer; }

    // The mouse on the pitch view, in its pixels.
    void ImageMouseDown(Qt::MouseButton button, int x, int y);
    void ImageMouseMove(int x, int y);
    void ImageMouseUp(int x, int y);

signals:
    void phaseChosen(bool withBall);
    void zoneChosen(int zone);
    // A mouse button went down on the pitch, before it does anything there.
    void pressing();
    // Store the dragged player's new cell in the shown zone and phase.
    void dropped(int player, TCmPos cell);
    // The view is to be drawn afresh (before a preview goes over it).
    void redrawWanted();
    // Another player is chosen, or none: the mark moves.
    void choiceChanged();
    // Move `player` (or keymoves::Outfield) by (dx, dy) cells, up the view being +dy.
    void keyMoved(int player, int dx, int dy);
    // Presses that merge into one step end here: another key, a click, the keyboard gone.
    void keyRunEnded();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Retranslate();
    // True when the key was the pitch's to take.
    bool KeyPress(const QKeyEvent& key);
    void Choose(int player);
    // Names the chosen player and his cell in the shown zone and phase.
    void Describe();

    const TTacticDocument& Document;
    pitch::TPitchRenderer& Renderer;
    pitch::TDragController Drag;
    bool Editable = false;
    bool Smooth = false;
    bool ClearBack = false;
    QFrame* ModePanel = nullptr;
    QRadioButton* WithBall = nullptr;
    QRadioButton* WithoutBall = nullptr;
    TPitchImage* Image = nullptr;
    int ChosenPlayer = -1;
    // After Escape, Tab leaves the pitch view until a player is chosen again.
    bool TabLeaves = false;
    // The player a digit named, for a second digit typed soon after it.
    int TypedPlayer = -1;
    QElapsedTimer SinceDigit;
};
