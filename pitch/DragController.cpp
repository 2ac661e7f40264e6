#include "pitch/DragController.h"

#include <algorithm>
#include <cstdlib>

namespace pitch {
namespace {

constexpr int HitHalfSide = static_cast<int>(PlayerRadius); // square of 21 x 21, strict
constexpr int HintMaxX = 180;
constexpr int HintMaxY = 360;

bool ValidZone(int zone) {
    return zone >= 0 && zone < TCmPlayer::ZoneCount;
}

const TCmPos& Entry(const TCmPlayer& player, int zone, bool withBall) {
    return withBall ? player.WithBall[zone] : player.WithoutBall[zone];
}

// Distances in 64 bits: test points of corrupt positions saturate at the int range.
bool Within(int a, int b) {
    return std::llabs(static_cast<long long>(a) - b) < HitHalfSide;
}

} // namespace

int HitTest(const TCmTactic& tactic, int zone, bool withBall, int x, int y) {
    if (!ValidZone(zone))
        return -1;
    int hit = -1;
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        const TPixel p = TestPoint(Entry(tactic.Players[i], zone, withBall));
        if (Within(x, p.X) && Within(y, p.Y))
            hit = i;
    }
    return hit;
}

std::string HintText(TCmPos cell) {
    return "New position: X=" + std::to_string(cell.X) + " Y=" + std::to_string(cell.Y);
}

TPixel HintPlace(TPixel centre) {
    return {std::min(centre.X + HitHalfSide, HintMaxX), std::min(centre.Y + HitHalfSide, HintMaxY)};
}

TPixel LabelPlace(TPixel centre, int player) {
    return {centre.X - (player >= 9 ? 7 : 3), centre.Y - 7};
}

TCmPos NearestCell(int x, int y) {
    // The truncated cell lies below left of the point; the nearest is it or
    // one of its neighbours.
    const TCmPos below = PixelToCell(x, y);
    TCmPos best = below;
    long long bestDistance = -1;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const TCmPos cell{below.X + dx, below.Y + dy};
            const TPixel p = TestPoint(cell);
            const long long ex = static_cast<long long>(p.X) - x;
            const long long ey = static_cast<long long>(p.Y) - y;
            const long long distance = ex * ex + ey * ey;
            if (bestDistance < 0 || distance < bestDistance) {
                best = cell;
                bestDistance = distance;
            }
        }
    return best;
}

std::optional<TPreview> PreviewAt(int x, int y, bool smooth, int player) {
    const TCmPos cell = NearestCell(x, y);
    if (!InGrid(cell))
        return std::nullopt;
    TPreview preview;
    preview.Cell = cell;
    preview.Centre = smooth ? TPixel{x, y} : TestPoint(cell);
    preview.HintAt = HintPlace(preview.Centre);
    preview.Hint = HintText(cell);
    preview.LabelAt = LabelPlace(preview.Centre, player);
    preview.Player = player;
    return preview;
}

TPressResult TDragController::Press(TMouseButton button, int x, int y, const TCmTactic& main,
                                    int ballZone, bool withBall) {
    TPressResult result;
    result.BallZone = ballZone;
    if (button == TMouseButton::Right) {
        result.BallZone = ZoneAt(x, y);
        result.Redraw = true;
    } else if (button == TMouseButton::Left) {
        const int hit = HitTest(main, ballZone, withBall, x, y);
        if (hit >= 0) {
            result.HidePointer = !IsDragging; // hidden once per drag, shown once at its end
            Player = hit;
            IsDragging = true;
            Pressed = {x, y};
            const TPixel centre = TestPoint(Entry(main.Players[hit], ballZone, withBall));
            GrabOffset = {centre.X - x, centre.Y - y};
        }
    }
    return result;
}

std::optional<TPreview> TDragController::Move(int x, int y, bool smooth) const {
    if (!IsDragging)
        return std::nullopt;
    return PreviewAt(x + GrabOffset.X, y + GrabOffset.Y, smooth, Player);
}

TDragController::TRelease TDragController::Release(int x, int y, int dragDistance) {
    TRelease result;
    if (!IsDragging)
        return result;
    IsDragging = false;
    result.Ended = true;
    result.Player = Player;
    if (std::llabs(static_cast<long long>(x) - Pressed.X) +
            std::llabs(static_cast<long long>(y) - Pressed.Y) <
        dragDistance)
        return result;
    const TCmPos cell = NearestCell(x + GrabOffset.X, y + GrabOffset.Y);
    if (InGrid(cell))
        result.Drop = cell;
    return result;
}

bool TDragController::Cancel() {
    const bool was = IsDragging;
    IsDragging = false;
    return was;
}

} // namespace pitch
