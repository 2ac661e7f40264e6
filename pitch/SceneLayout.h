#pragma once

#include "pitch/PitchMap.h"
#include "pitch/PitchRenderer.h"

#include <cmath>
#include <optional>
#include <vector>

// Where everything of a scene goes, in the view's 331 x 399 pixels, for
// every way of drawing it: the cached pixel redraw and any painter at
// another scale compute nothing of their own.
namespace pitch {

// One disc of a scene.
struct TDiscPlace {
    const TCmPlayer* Player = nullptr;
    int Index = 0;       // 0..10 in the tactic, which places the label
    bool Second = false; // the second tactic's: thin outline, 2 pixels right and down
    TPixelF Centre;
};

// Corrupt positions may put a disc thousands of pixels away; it cannot show.
inline bool NearView(TPixelF c) {
    constexpr double reach = 64;
    return c.X > -reach && c.X < ViewWidth + reach && c.Y > -reach && c.Y < ViewHeight + reach;
}

// Discs go on whole pixels; a centre off the grid of play is rounded.
inline int Whole(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

// The ball zone the dotted frame marks: the scene's, or during play the one
// the ball is in; -1 for a zone outside the twelve, which shows nothing.
int FramedZone(const TScene& scene);

// Every disc in drawing order: the second tactic's (if the page shows it)
// under the main tactic's, each tactic's players in order. Without play the
// centres are exactly the whole-pixel maps'; during play each player is
// between his positions of the step's two zones, on the grid.
std::vector<TDiscPlace> SceneDiscs(const TScene& scene);

// The centre of the chosen player's disc, when there is one and it can show.
std::optional<TPixelF> ChosenCentre(const TScene& scene);

// The ball marker during play, on the way between the centres of the step's zones.
std::optional<TPixelF> BallCentre(const TScene& scene);

} // namespace pitch
