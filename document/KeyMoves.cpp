#include "document/KeyMoves.h"

#include "pitch/PitchMap.h"

#include <algorithm>
#include <cstdint>

namespace keymoves {
namespace {

// Wide enough that a corrupt position at the type's end cannot overflow.
int32_t Step(int32_t from, int by, int last) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{from} + by, 0, last));
}

} // namespace

TTacticDocument::TPositions Moved(const TTacticDocument::TPositions& positions, int player,
                                  int zone, bool withBall, int dx, int dy) {
    TTacticDocument::TPositions moved = positions;
    const int first = player == Outfield ? 1 : player;
    const int last = player == Outfield ? TCmTactic::PlayerCount - 1 : player;
    for (int i = first; i <= last; ++i) {
        TCmPos& pos = moved[static_cast<size_t>(i)][withBall ? 0 : 1][static_cast<size_t>(zone)];
        // A corrupt position far off the grid comes back onto its edge.
        pos.X = Step(pos.X, dx, pitch::MaxColumn);
        pos.Y = Step(pos.Y, dy, pitch::MaxRow);
    }
    return moved;
}

int Typed(int previous, int digit) {
    if (previous == 0 && (digit == 0 || digit == 1))
        return 9 + digit;
    return digit >= 1 && digit <= 9 ? digit - 1 : -1;
}

} // namespace keymoves
