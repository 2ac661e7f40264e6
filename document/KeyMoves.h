#pragma once

#include "document/TacticDocument.h"

// Moving players one cell at a time from the keyboard, without the window:
// what a press does to the positions and which player a typed number names.
namespace keymoves {

// Stands for the whole outfield (players 2 to 11) where a player index goes.
inline constexpr int Outfield = -1;

// The positions after one step of (dx, dy) cells of `player` (0..10) or of
// the outfield, in one zone and phase. Every moved position lands in the
// grid: a player already at an edge stays there while the others move.
TTacticDocument::TPositions Moved(const TTacticDocument::TPositions& positions, int player,
                                  int zone, bool withBall, int dx, int dy);

// Presses in a row move the same players when their keys are equal.
inline constexpr int MergeKey(int player) {
    return player == Outfield ? 100 : 1 + player;
}

// The player (0..10) a typed digit names, given the one the previous digit
// named if it came quickly enough (else -1): "1" then "0" or "1" is 10 or 11.
// -1 when the digit names nobody (a lone "0").
int Typed(int previous, int digit);

} // namespace keymoves
