#include "pitch/SceneLayout.h"

#include <algorithm>
#include <cmath>

namespace pitch {
namespace {

bool ValidZone(int zone) {
    return zone >= 0 && zone < TCmPlayer::ZoneCount;
}

TCmPos PositionIn(const TCmPlayer& player, int zone, bool withBall) {
    const auto z = static_cast<std::size_t>(zone);
    return withBall ? player.WithBall[z] : player.WithoutBall[z];
}

TPixelF ZoneCentre(int zone) {
    const TZoneFrame f = ZoneFrame(zone);
    return {(f.Left + f.Right) / 2.0, (f.Top + f.Bottom) / 2.0};
}

// One tactic's discs. from and to are the zones this tactic is shown in;
// without a step only from counts.
void AddTactic(std::vector<TDiscPlace>& discs, const TCmTactic& tactic,
               const std::optional<TPlayStep>& step, int from, int to, bool withBall, bool own,
               bool second) {
    const double offset = second ? 2.0 : 0.0;
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        const TCmPlayer& player = tactic.Players[static_cast<std::size_t>(i)];
        TPixelF c;
        if (step) {
            const TCellPoint p = Between(PositionIn(player, from, withBall),
                                         PositionIn(player, to, withBall), step->T);
            c = own ? OwnCentreF(p) : OpponentCentreF(p);
        } else {
            // Corrupt positions stay where they always were drawn, off the grid.
            const TCmPos pos = PositionIn(player, from, withBall);
            const TPixel whole = own ? OwnCentre(pos) : OpponentCentre(pos);
            c = {double(whole.X), double(whole.Y)};
        }
        discs.push_back({&player, i, second, {c.X + offset, c.Y + offset}});
    }
}

} // namespace

int FramedZone(const TScene& scene) {
    if (!scene.Step)
        return ValidZone(scene.BallZone) ? scene.BallZone : -1;
    const TPlayStep& s = *scene.Step;
    return ValidZone(s.From) && ValidZone(s.To) ? StepZone(s) : -1;
}

std::vector<TDiscPlace> SceneDiscs(const TScene& scene) {
    std::vector<TDiscPlace> discs;
    if (FramedZone(scene) < 0)
        return discs;
    const int from = scene.Step ? scene.Step->From : scene.BallZone;
    const int to = scene.Step ? scene.Step->To : scene.BallZone;
    discs.reserve(2 * TCmTactic::PlayerCount);
    if (scene.Second != nullptr) {
        if (scene.SecondMode == TSecondTactic::Same)
            AddTactic(discs, *scene.Second, scene.Step, from, to, scene.WithBall, true, true);
        else if (scene.SecondMode == TSecondTactic::Opponent)
            AddTactic(discs, *scene.Second, scene.Step, OppositeZone(from), OppositeZone(to),
                      !scene.WithBall, false, true);
    }
    if (scene.Main != nullptr)
        AddTactic(discs, *scene.Main, scene.Step, from, to, scene.WithBall, true, false);
    return discs;
}

std::optional<TPixelF> ChosenCentre(const TScene& scene) {
    if (scene.Main == nullptr || scene.Chosen < 0 || scene.Chosen >= TCmTactic::PlayerCount)
        return std::nullopt;
    for (const TDiscPlace& disc : SceneDiscs(scene))
        if (!disc.Second && disc.Index == scene.Chosen && NearView(disc.Centre))
            return disc.Centre;
    return std::nullopt;
}

std::optional<TPixelF> BallCentre(const TScene& scene) {
    if (!scene.Step || FramedZone(scene) < 0)
        return std::nullopt;
    const TPixelF a = ZoneCentre(scene.Step->From);
    const TPixelF b = ZoneCentre(scene.Step->To);
    const double t = std::isnan(scene.Step->T) ? 0.0 : std::clamp(scene.Step->T, 0.0, 1.0);
    return TPixelF{a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t};
}

} // namespace pitch
