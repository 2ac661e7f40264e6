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

// The shape of `zone` in one phase copied to `target` (a zone, same phase).
TPositions CopyToZone(const TPositions& positions, int zone, bool withBall, int target);
// ...to the three zones of its row (across the pitch).
TPositions CopyToRow(const TPositions& positions, int zone, bool withBall);
// ...to the four zones of its column (along the pitch).
TPositions CopyToColumn(const TPositions& positions, int zone, bool withBall);
// ...to the other phase of the same zone.
TPositions CopyToOtherPhase(const TPositions& positions, int zone, bool withBall);

// Counterparts of a row and phase, read in the row's middle-column zone.
TPairs Counterparts(const TPositions& positions, int zone, bool withBall);
// The shape of `zone` mirrored onto the other flank's zone of its row.
TPositions MirrorToOtherFlank(const TPositions& positions, int zone, bool withBall);
// Every zone in both phases, each from the old positions.
TPositions MirrorWholeTactic(const TPositions& positions);

// "2 ↔ 5, 3 ↔ 4; <themselves>: 1" (players numbered 1..11); `themselves`
// names the players who mirror onto their own places.
QString PairsText(const TPairs& pairs, const QString& themselves);

} // namespace shapes
