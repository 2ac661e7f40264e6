#pragma once

#include "tactic/Cm_player.h"

// The map between stored grid positions and pixels of the 331 x 399 pitch
// view. The constants are the single-precision values the positions were
// always drawn with; every float-to-int conversion truncates toward zero.
namespace pitch {

inline constexpr float CellWidth = 11.6666f;
inline constexpr float CellHeight = 10.6666f;
inline constexpr float PitchMarginX = 8.0f;
inline constexpr float PitchMarginY = 8.0f;
inline constexpr float PlayerRadius = 11.0f;

inline constexpr int ViewWidth = 331;
inline constexpr int ViewHeight = 399;
inline constexpr int PictureHeight = 401; // the pitch picture is two rows taller than the view

inline constexpr int MaxColumn = 26;
inline constexpr int MaxRow = 35;

// Ball zones: three columns across, four rows along from the picture's
// bottom row; zone = row + ZoneRows * column.
inline constexpr int ZoneColumns = 3;
inline constexpr int ZoneRows = 4;
inline constexpr int ZoneWidth = 110;
inline constexpr int ZoneHeight = 100;
// The dotted frame stands inside its zone by these many pixels.
inline constexpr int ZoneFrameInsetX = 3;
inline constexpr int ZoneFrameInsetTop = 2;
inline constexpr int ZoneFrameInsetBottom = 3;

struct TPixel {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPixel&, const TPixel&) = default;
};

// Disc centre of a position drawn in the tactic's own orientation (row 0 at the bottom).
TPixel OwnCentre(TCmPos pos, int height = ViewHeight);
// Disc centre seen from the other end (the picture turned by half a turn).
TPixel OpponentCentre(TCmPos pos, int width = ViewWidth, int height = ViewHeight);

// A place between cells, in cell units: where a player gliding from one
// position to another is at a moment.
struct TCellPoint {
    double X = 0.0;
    double Y = 0.0;
    friend bool operator==(const TCellPoint&, const TCellPoint&) = default;
};

struct TPixelF {
    double X = 0.0;
    double Y = 0.0;
    friend bool operator==(const TPixelF&, const TPixelF&) = default;
};

// The same maps for places between cells: straight between the centres of
// the neighbouring whole cells, so that a whole cell lands exactly on
// OwnCentre / OpponentCentre and a glide never jumps. Places outside the grid
// are taken at its edge.
TPixelF OwnCentreF(TCellPoint cell, int height = ViewHeight);
TPixelF OpponentCentreF(TCellPoint cell, int width = ViewWidth, int height = ViewHeight);
// The point the hit test and the drag preview use: one pixel above OwnCentre.
TPixel TestPoint(TCmPos pos, int height = ViewHeight);
// Grid cell under a pixel in own orientation; may lie outside the grid.
TCmPos PixelToCell(int x, int y, int height = ViewHeight);
bool InGrid(TCmPos cell);

// Ball zone chosen by a right click at a pixel.
int ZoneAt(int x, int y);
// Corners of the dotted frame of a ball zone: (Left, Top) to (Right, Bottom).
struct TZoneFrame {
    int Left, Top, Right, Bottom;
};
TZoneFrame ZoneFrame(int zone);

inline constexpr int OppositeZone(int zone) {
    return ZoneColumns * ZoneRows - 1 - zone;
}

} // namespace pitch
