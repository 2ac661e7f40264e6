#include "document/Shapes.h"

#include "pitch/PitchMap.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace shapes {
namespace {

constexpr int Players = TCmTactic::PlayerCount;
constexpr int Zones = TCmPlayer::ZoneCount;

size_t At(int index) {
    return static_cast<size_t>(index);
}

// A file may hold places off the pitch; nothing written here is.
TCmPos OnPitch(TCmPos pos) {
    return {std::clamp(pos.X, 0, pitch::MaxColumn), std::clamp(pos.Y, 0, pitch::MaxRow)};
}

TCmPos& Place(TPositions& positions, int player, bool withBall, int zone) {
    return positions[At(player)][withBall ? 0 : 1][At(zone)];
}

const TCmPos& Place(const TPositions& positions, int player, bool withBall, int zone) {
    return positions[At(player)][withBall ? 0 : 1][At(zone)];
}

void CopyShape(const TPositions& from, int zone, bool withBall, TPositions& to, int target,
               bool targetWithBall) {
    for (int player = 0; player < Players; ++player)
        Place(to, player, targetWithBall, target) = OnPitch(Place(from, player, withBall, zone));
}

// The mirrored shape of `zone` from `from`, written into its other flank's zone of `to`.
void MirrorShape(const TPositions& from, int zone, bool withBall, TPositions& to) {
    const TPairs pairs = Counterparts(from, zone, withBall);
    for (int player = 0; player < Players; ++player) {
        const TCmPos pos = Place(from, pairs[At(player)], withBall, zone);
        Place(to, player, withBall, MirrorZone(zone)) = OnPitch({pitch::MaxColumn - pos.X, pos.Y});
    }
}

} // namespace

int MirrorZone(int zone) {
    return zone % pitch::ZoneRows +
           pitch::ZoneRows * (pitch::ZoneColumns - 1 - zone / pitch::ZoneRows);
}

TPairs Counterparts(const TPositions& positions, int zone, bool withBall) {
    const int middle = zone % pitch::ZoneRows + pitch::ZoneRows;
    // Every pair whose mirror images lie within a cell of each other, nearest
    // first, then by the lower numbers; a player already paired takes no
    // other. The keeper is left out: his place never goes to an outfielder.
    std::vector<std::tuple<int, int, int>> candidates; // distance², lower, higher
    for (int a = 1; a < Players; ++a)
        for (int b = a + 1; b < Players; ++b) {
            const TCmPos pa = Place(positions, a, withBall, middle);
            const TCmPos pb = Place(positions, b, withBall, middle);
            const int dx = pitch::MaxColumn - pa.X - pb.X;
            const int dy = pa.Y - pb.Y;
            if (std::abs(dx) <= 1 && std::abs(dy) <= 1)
                candidates.emplace_back(dx * dx + dy * dy, a, b);
        }
    std::sort(candidates.begin(), candidates.end());
    TPairs pairs;
    for (int player = 0; player < Players; ++player)
        pairs[At(player)] = player;
    for (const auto& [distance, a, b] : candidates)
        if (pairs[At(a)] == a && pairs[At(b)] == b) {
            pairs[At(a)] = b;
            pairs[At(b)] = a;
        }
    return pairs;
}

TPositions Apply(TCommand command, const TPositions& positions, int zone, bool withBall,
                 int target) {
    TPositions result = positions;
    const int row = zone % pitch::ZoneRows;
    switch (command) {
    case TCommand::ToZone:
        if (target >= 0 && target < Zones)
            CopyShape(positions, zone, withBall, result, target, withBall);
        break;
    case TCommand::ToRow:
        for (int column = 0; column < pitch::ZoneColumns; ++column)
            CopyShape(positions, zone, withBall, result, row + pitch::ZoneRows * column, withBall);
        break;
    case TCommand::ToColumn:
        for (int other = 0; other < pitch::ZoneRows; ++other)
            CopyShape(positions, zone, withBall, result, zone - row + other, withBall);
        break;
    case TCommand::ToPhase:
        CopyShape(positions, zone, withBall, result, zone, !withBall);
        break;
    case TCommand::MirrorFlank:
        MirrorShape(positions, zone, withBall, result);
        break;
    case TCommand::MirrorAll:
        for (bool phase : {true, false})
            for (int each = 0; each < Zones; ++each)
                MirrorShape(positions, each, phase, result);
        break;
    }
    return result;
}

QString PairsText(const TPairs& pairs, const QString& themselves) {
    QStringList swapped;
    QStringList alone;
    for (int player = 0; player < Players; ++player) {
        const int other = pairs[At(player)];
        if (other == player)
            alone << QString::number(player + 1);
        else if (player < other)
            swapped << QStringLiteral("%1 \u2194 %2").arg(player + 1).arg(other + 1);
    }
    QStringList parts;
    if (!swapped.isEmpty())
        parts << swapped.join(QStringLiteral(", "));
    if (!alone.isEmpty())
        parts << themselves + QStringLiteral(": ") + alone.join(QStringLiteral(", "));
    return parts.join(QStringLiteral("; "));
}

} // namespace shapes
