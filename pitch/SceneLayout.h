#pragma once

#include "pitch/PitchMap.h"
#include "pitch/PitchRenderer.h"

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

// The ball zone the dotted frame marks: the scene's, or during play the one
// the ball is in; -1 for a zone outside the twelve, which shows nothing.
int FramedZone(const TScene& scene);

// Every disc in drawing order: the second tactic's (if the page shows it)
// under the main tactic's, each tactic's players in order. Without play the
// centres are exactly the whole-pixel maps'; during play each player is
// between his positions of the step's two zones, on the grid.
std::vector<TDiscPlace> SceneDiscs(const TScene& scene);

// The ball marker during play, on the way between the centres of the step's zones.
std::optional<TPixelF> BallCentre(const TScene& scene);

} // namespace pitch
