#pragma once

#include "pitch/Play.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstddef>
#include <vector>

namespace pitch {

// The clock of play: which step of the route is shown, moved on by a timer
// that runs only while playing. It knows no window and no tactic; whoever
// shows play draws Current() on every frame() and puts the view on the
// zone stopped() names.
//
// Each zone of the route takes a glide to the next one and then a short hold
// there, so that every zone's shape can be seen; the route starts again
// from its first zone after its last.
class TPlayback : public QObject {
    Q_OBJECT
public:
    explicit TPlayback(QObject* parent = nullptr);

    // Zones outside the twelve are dropped; empty: the default route. A new
    // route ends any play (stopped is emitted) rather than jump the ball.
    void SetRoute(std::vector<int> zones);
    const std::vector<int>& Route() const { return Zones; }
    // Takes effect at the next frame, from where the ball is.
    void SetSpeed(TPlaySpeed speed) { Pace = speed; }
    TPlaySpeed Speed() const { return Pace; }

    // Starts from fromZone's place in the route (else the route's first zone),
    // or, when paused, resumes where the ball stands.
    void Play(int fromZone);
    // Keeps the ball where the last frame showed it.
    void Pause();
    bool Playing() const { return IsPlaying; }
    bool Active() const { return IsActive; }
    // -1 or +1: pauses and moves the ball to the previous or next zone of the
    // route; between two zones, to the one behind or ahead. With no play, the
    // ball counts as standing at the route's first zone.
    void Step(int direction);
    // Ends play; emits stopped(zone the ball is in) if it was active.
    void Stop();
    TPlayStep Current() const;

signals:
    void frame(); // draw Current() now
    void stopped(int zone);

private:
    void Tick();
    void Show();
    std::size_t Next(std::size_t index) const { return (index + 1) % Zones.size(); }

    std::vector<int> Zones;
    TPlaySpeed Pace = TPlaySpeed::Normal;
    QTimer Timer;
    QElapsedTimer Clock;
    std::size_t Index = 0; // the route's zone the ball leaves
    double Progress = 0.0; // fraction of that zone's time (glide and hold) gone
    bool IsPlaying = false;
    bool IsActive = false;
    TPlayStep Shown;
};

} // namespace pitch
