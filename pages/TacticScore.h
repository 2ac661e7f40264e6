#pragma once

#include "tactic/Cm_tactic.h"

#include <cstdint>

namespace pages {

// Attacking and defence potential of one tactic, from positions alone:
// players 2..11, ball zones 1..11, Y of the with-ball and without-ball grids.
struct TTacticScore {
    int32_t Attack = 0;
    int32_t Defence = 0;
    friend bool operator==(const TTacticScore&, const TTacticScore&) = default;
};

TTacticScore ScoreTactic(const TCmTactic& tactic);

} // namespace pages
