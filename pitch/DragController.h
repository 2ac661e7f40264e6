#pragma once

#include "pitch/PitchMap.h"
#include "tactic/Cm_tactic.h"

#include <optional>
#include <string>

// Dragging the main tactic's players on the pitch view, without a window:
// the window feeds mouse events in and acts on the small results (redraw,
// pointer, preview). The ball zone and the phase stay the window's; they are
// passed in with every event.
namespace pitch {

enum class TMouseButton { Left, Right, Other };

// Index 0..10 of the main player grabbed at (x, y) for a zone and phase, or -1.
// Every player is tested in order, so of overlapping discs the highest index
// (the one drawn on top) wins.
int HitTest(const TCmTactic& tactic, int zone, bool withBall, int x, int y);

// The read-out drawn beside the preview disc.
std::string HintText(TCmPos cell);
// Top-left corner of the read-out: below right of the disc, never right of
// x = 180 or below y = 360.
TPixel HintPlace(TPixel centre);
// Top-left corner of a disc's number: two-digit numbers (players 9 and 10) start further left.
TPixel LabelPlace(TPixel centre, int player);

// What a move draws over the fresh redraw.
struct TPreview {
    TCmPos Cell;      // the cell under the pointer, the one a release stores
    TPixel Centre;    // disc centre: the pointer itself when smooth, else the cell's centre
    TPixel HintAt;    // top-left of the read-out
    std::string Hint; // "New position: X=.. Y=.."
    TPixel LabelAt;   // top-left of the number
    int Player = 0;   // index of the dragged player
};

// The cell whose drawn place (its test point, where a stepped preview draws
// the disc) lies nearest to a disc centred at (x, y); may lie outside the grid.
TCmPos NearestCell(int x, int y);
// Preview for a disc centred at (x, y), or none when its nearest cell lies
// outside the grid.
std::optional<TPreview> PreviewAt(int x, int y, bool smooth, int player);

struct TPressResult {
    int BallZone = 0;         // the zone after the press (changed by a right press)
    bool Redraw = false;      // the zone was chosen: redraw the view
    bool HidePointer = false; // a drag has just begun
};

class TDragController {
public:
    bool Dragging() const { return IsDragging; }
    int DragPlayer() const { return Player; }

    // Right button chooses the ball zone (also during a drag, which goes on);
    // left button grabs the topmost main player under the pointer, and the
    // disc keeps the offset at which it was grabbed.
    TPressResult Press(TMouseButton button, int x, int y, const TCmTactic& main, int ballZone,
                       bool withBall);
    // The preview of a drag at (x, y); none when not dragging or outside the grid.
    std::optional<TPreview> Move(int x, int y, bool smooth) const;
    // Any button ends a drag (pointer to show, view to redraw); the drop is
    // the cell nearest to the disc's centre, to be stored into the entry of
    // the current zone and phase, only when it lies inside the grid and the
    // pointer went at least `dragDistance` (Manhattan) from the press: a
    // mere click moves nobody. The caller stores it, so that the change can
    // be undone.
    struct TRelease {
        bool Ended = false;
        std::optional<TCmPos> Drop;
        int Player = 0;
    };
    TRelease Release(int x, int y, int dragDistance = 0);
    // The window lost the mouse mid-drag: end the drag, store nothing.
    // Returns whether a drag was ended (pointer to show, view to redraw).
    bool Cancel();

private:
    bool IsDragging = false;
    int Player = 0;
    TPixel Pressed;    // where the drag began
    TPixel GrabOffset; // from the pointer to the disc's centre
};

} // namespace pitch
