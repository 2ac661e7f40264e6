#include "pitch/Playback.h"

#include <algorithm>
#include <utility>

namespace pitch {
namespace {

// 30 frames a second: a glide of a disc across a few dozen pixels looks
// smooth, frames fall evenly on a 60 Hz screen, and the window's repaint,
// which costs far more than our drawing, stays well within 3 % of a core.
constexpr int FrameMs = 33;
// A stalled event loop (a suspended machine, a modal box) slows play down
// rather than letting the ball skip zones.
constexpr double MaxFrameGapMs = 4.0 * FrameMs;
// Per zone: the glide, then the hold, in milliseconds at normal speed.
constexpr double GlideMs = 1000.0;
constexpr double HoldMs = 500.0;
constexpr double GlideShare = GlideMs / (GlideMs + HoldMs);

double ZoneMs(TPlaySpeed speed) {
    const double normal = GlideMs + HoldMs;
    switch (speed) {
    case TPlaySpeed::Slow:
        return 2.0 * normal;
    case TPlaySpeed::Fast:
        return 0.5 * normal;
    case TPlaySpeed::Normal:
        break;
    }
    return normal;
}

} // namespace

TPlayback::TPlayback(QObject* parent)
    : QObject(parent)
    , Zones(DefaultRoute())
    , Timer(this) {
    Timer.setObjectName(QStringLiteral("PlayTimer"));
    Timer.setTimerType(Qt::PreciseTimer);
    Timer.setInterval(FrameMs);
    connect(&Timer, &QTimer::timeout, this, &TPlayback::Tick);
    Shown = Current();
}

void TPlayback::SetRoute(std::vector<int> zones) {
    std::erase_if(zones, [](int z) { return z < 0 || z >= TCmPlayer::ZoneCount; });
    if (zones.empty())
        zones = DefaultRoute();
    if (zones == Zones)
        return;
    Stop();
    Zones = std::move(zones);
    Index = 0;
    Shown = Current();
}

void TPlayback::Play(int fromZone) {
    if (IsPlaying)
        return;
    if (!IsActive) {
        const auto place = std::find(Zones.begin(), Zones.end(), fromZone);
        Index = place == Zones.end() ? 0 : static_cast<std::size_t>(place - Zones.begin());
        Progress = 0.0;
        IsActive = true;
    }
    IsPlaying = true;
    Clock.start();
    Timer.start();
    Show();
}

void TPlayback::Pause() {
    Timer.stop();
    IsPlaying = false;
}

void TPlayback::Step(int direction) {
    if (direction == 0)
        return;
    Pause();
    // Holding at the zone ahead counts as standing there; gliding, the ball
    // is between two places of the route.
    if (Progress >= GlideShare) {
        Index = Next(Index);
        Progress = 0.0;
    }
    const bool standing = Progress == 0.0;
    if (direction > 0)
        Index = Next(Index);
    else if (standing)
        Index = (Index + Zones.size() - 1) % Zones.size();
    Progress = 0.0;
    IsActive = true;
    Show();
}

void TPlayback::Stop() {
    const bool was = IsActive;
    const int zone = StepZone(Current());
    Timer.stop();
    IsPlaying = IsActive = false;
    Index = 0;
    Progress = 0.0;
    Shown = Current();
    if (was)
        emit stopped(zone);
}

TPlayStep TPlayback::Current() const {
    const int from = Zones[Index];
    const int to = Zones[Next(Index)];
    const double t = Ease(std::min(Progress / GlideShare, 1.0));
    if (t <= 0.0)
        return {from, from, 0.0};
    if (t >= 1.0)
        return {to, to, 0.0};
    return {from, to, t};
}

void TPlayback::Tick() {
    const double gap = std::min(double(Clock.restart()), MaxFrameGapMs);
    Progress += gap / ZoneMs(Pace);
    while (Progress >= 1.0) {
        Progress -= 1.0;
        Index = Next(Index);
    }
    // A hold needs no frames of its own: nothing moves.
    if (Current() != Shown)
        Show();
}

void TPlayback::Show() {
    Shown = Current();
    emit frame();
}

} // namespace pitch
