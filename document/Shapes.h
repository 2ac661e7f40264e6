#pragma once

#include "document/TacticDocument.h"

#include <QString>

#include <array>

// Whole shapes of the team moved at once: the 11 positions of one zone and
// phase copied elsewhere, or mirrored onto the other flank. Each function
// takes every position and returns every position, so that the result is
// one step of the document's history. Written positions lie on the pitch.
namespace shapes {

using TPositions = TTacticDocument::TPositions;
// For each player (index 0..10), the player his mirrored place goes to;
// himself when he has no counterpart.
using TPairs = std::array<int, TCmTactic::PlayerCount>;

// The zone of the other flank in the same row; a middle-column zone is its own.
int MirrorZone(int zone);

// What can be done with the shape of one zone and phase: copied to another
// zone (the same phase), to the three zones of its row (across the pitch), to
// the four of its column (along it), to the other phase of the zone; mirrored
// onto the other flank's zone of its row; or every zone of both phases
// mirrored, each from the old positions.
enum class TCommand { ToZone, ToRow, ToColumn, ToPhase, MirrorFlank, MirrorAll };
inline constexpr int CommandCount = 6;

// Every position after `command` on the shape of `zone` in a phase;
// `target` is the zone a ToZone copy goes to.
TPositions Apply(TCommand command, const TPositions& positions, int zone, bool withBall,
                 int target = -1);

// Counterparts of a row and phase, read in the row's middle-column zone.
TPairs Counterparts(const TPositions& positions, int zone, bool withBall);

// "2 ↔ 5, 3 ↔ 4; <themselves>: 1" (players numbered 1..11); `themselves`
// names the players who mirror onto their own places.
QString PairsText(const TPairs& pairs, const QString& themselves);

} // namespace shapes
