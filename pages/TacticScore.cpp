#include "pages/TacticScore.h"

#include <algorithm>
#include <limits>

namespace pages {

namespace {

// The goal line of the opponent in a tactic's own frame.
constexpr int64_t FarLine = 35;
// Player 1 (the goalkeeper) and ball zone 0 take no part in the scores.
constexpr int FirstCountedPlayer = 1;
constexpr int FirstCountedZone = 1;
constexpr int LastCountedZone = 11;

int32_t Saturated(int64_t sum) {
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

TTacticScore ScoreTactic(const TCmTactic& tactic) {
    // A file holds one byte per coordinate, but a position in memory is a full
    // int32: summing in 64 bits keeps any value the codec or a caller may leave
    // there from overflowing.
    int64_t attack = 0;
    int64_t defence = 0;
    for (int i = FirstCountedPlayer; i < TCmTactic::PlayerCount; ++i) {
        const TCmPlayer& player = tactic.Players[i];
        for (int z = FirstCountedZone; z <= LastCountedZone; ++z) {
            attack += player.WithBall[z].Y;
            defence += FarLine - player.WithoutBall[z].Y;
        }
    }
    return {Saturated(attack), Saturated(defence)};
}

} // namespace pages
