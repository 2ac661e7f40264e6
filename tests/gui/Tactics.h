#pragma once

// Tactics made of a few positions, for the suites of the pitch view and the window.

#include "tactic/Cm_tactic.h"

namespace guitest {

// Every player at one place with the ball and one without, in every zone.
inline TCmTactic Uniform(TCmPos withBall, TCmPos withoutBall) {
    TCmTactic tactic;
    for (TCmPlayer& player : tactic.Players) {
        player.WithBall.fill(withBall);
        player.WithoutBall.fill(withoutBall);
    }
    return tactic;
}

inline TCmTactic Uniform(TCmPos everywhere) {
    return Uniform(everywhere, everywhere);
}

} // namespace guitest
