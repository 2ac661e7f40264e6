#pragma once

#include "pitch/DragController.h"
#include "tactic/Cm_player.h"

#include <QFrame>

class QRadioButton;
class TPitchImage;
class TTacticDocument;

namespace pitch {
class TPitchRenderer;
}

// The panel right of the pages: the phase buttons above the pitch view,
// and the mouse on the pitch. A right press chooses the ball zone, a left
// drag moves a main player; the panel previews the drag and asks the
// window to store the drop, which is the window's undoable edit.
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

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

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
};
