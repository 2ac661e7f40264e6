#pragma once

#include "pitch/PitchMap.h"
#include "tactic/Cm_player.h"

#include <vector>

// Playing a tactic: the ball travels along a route of ball zones and every
// player glides from his position in one zone to his position in the next.
// Pure functions; the clock lives in TPlayback.
namespace pitch {

enum class TPlaySpeed { Slow, Normal, Fast };

// One moment of play: the ball between two zones of the route, T the eased
// fraction of the way, 0 at From and 1 at To. From == To when standing.
struct TPlayStep {
    int From = 0;
    int To = 0;
    double T = 0.0;
    friend bool operator==(const TPlayStep&, const TPlayStep&) = default;
};

// The default route: all 12 zones once, in a footballing order. The back
// line moves the ball across its own end (0, 4, 8), the right back carries
// it up (9), it goes inside through the middle (5), out to the left flank
// (1) and up that wing to the byline (2, 3), is cut back inside (6),
// switched to the right (10), into the right of the box (11) and into its
// middle (7). Each zone borders the one before it, so no pass jumps a zone.
const std::vector<int>& DefaultRoute();

// The zone the ball counts as being in at a step (From before half way, To after).
int StepZone(const TPlayStep& step);

// Smooth start and stop of a glide: 3t^2 - 2t^3, rising from exactly 0 at 0 to
// exactly 1 at 1; t outside 0..1 (or NaN) is taken at the nearer end.
double Ease(double t);

// A stored position as a place on the grid; corrupt positions outside the
// grid are taken at its edge, so a glide never leaves the pitch.
TCellPoint GridPoint(TCmPos pos);

// The place a fraction t (0..1) of the way from one position to another:
// exactly from at 0 and exactly to at 1, each coordinate moving steadily
// towards its end and never past it.
TCellPoint Between(TCmPos from, TCmPos to, double t);

} // namespace pitch
