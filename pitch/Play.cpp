#include "pitch/Play.h"

#include <algorithm>
#include <cmath>

namespace pitch {
namespace {

double Along(double from, double to, double t) {
    // from + (to - from) * t grows with t in floating point as well, and for
    // whole cells gives to itself at t = 1.
    return from + (to - from) * t;
}

} // namespace

const std::vector<int>& DefaultRoute() {
    static const std::vector<int> route{0, 4, 8, 9, 5, 1, 2, 3, 6, 10, 11, 7};
    return route;
}

int StepZone(const TPlayStep& step) {
    return step.T < 0.5 ? step.From : step.To;
}

double Ease(double t) {
    if (!(t > 0.0))
        return 0.0;
    if (t >= 1.0)
        return 1.0;
    return t * t * (3.0 - 2.0 * t);
}

TCellPoint GridPoint(TCmPos pos) {
    return {double(std::clamp(pos.X, 0, MaxColumn)), double(std::clamp(pos.Y, 0, MaxRow))};
}

TCellPoint Between(TCmPos from, TCmPos to, double t) {
    const double f = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
    const TCellPoint a = GridPoint(from);
    const TCellPoint b = GridPoint(to);
    return {Along(a.X, b.X, f), Along(a.Y, b.Y, f)};
}

} // namespace pitch
