#include "pitch/PitchMap.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pitch {
namespace {

// Truncation toward zero; values beyond int (only from corrupt positions)
// saturate instead of being undefined.
int Trunc(double value) {
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (!(value > lo)) // also NaN
        return std::numeric_limits<int>::min();
    if (value >= hi)
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

double U(int32_t x) {
    const double w = CellWidth;
    return x * w + w * 0.5 + double(PitchMarginX);
}

double V(int32_t y) {
    const double h = CellHeight;
    return y * h + h * 0.5 + double(PitchMarginY);
}

// Differences of saturated ints can still overflow; compute them wide.
int Diff(int a, int b) {
    const long long d = static_cast<long long>(a) - b;
    return static_cast<int>(
        std::clamp<long long>(d, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Pixel of a place between cells along one axis, from the truncated pixels
// of the whole cells on either side.
double AxisPixel(double cell, int maxCell, double (*pixel)(int32_t)) {
    const double c = std::clamp(cell, 0.0, double(maxCell));
    if (std::isnan(c))
        return Trunc(pixel(0));
    const double whole = std::floor(c);
    const auto lower = static_cast<int32_t>(whole);
    const double a = Trunc(pixel(lower));
    if (c == whole)
        return a;
    return a + (Trunc(pixel(lower + 1)) - a) * (c - whole);
}

} // namespace

TPixelF OwnCentreF(TCellPoint cell, int height) {
    return {AxisPixel(cell.X, MaxColumn, U), height - AxisPixel(cell.Y, MaxRow, V)};
}

TPixelF OpponentCentreF(TCellPoint cell, int width, int height) {
    (void)height;
    return {width - AxisPixel(cell.X, MaxColumn, U), AxisPixel(cell.Y, MaxRow, V)};
}

TPixel OwnCentre(TCmPos pos, int height) {
    return {Trunc(U(pos.X)), Diff(height, Trunc(V(pos.Y)))};
}

TPixel OpponentCentre(TCmPos pos, int width, int height) {
    (void)height; // the half turn maps rows by v alone
    return {Diff(width, Trunc(U(pos.X))), Trunc(V(pos.Y))};
}

TPixel TestPoint(TCmPos pos, int height) {
    return {Trunc(U(pos.X)), Trunc(height - V(pos.Y))};
}

TCmPos PixelToCell(int x, int y, int height) {
    const double w = CellWidth;
    const double h = CellHeight;
    const double gx = (x - w * 0.5 - double(PitchMarginX)) / w;
    const double gy = ((double(height) - y) - h * 0.5 - double(PitchMarginY)) / h;
    return {Trunc(gx), Trunc(gy)};
}

bool InGrid(TCmPos cell) {
    return cell.X >= 0 && cell.X <= MaxColumn && cell.Y >= 0 && cell.Y <= MaxRow;
}

int ZoneAt(int x, int y) {
    // Mouse capture delivers points outside the picture: they choose the
    // nearest zone instead of a negative column or row.
    const int c = std::clamp(x / ZoneWidth, 0, ZoneColumns - 1);
    const int r = std::clamp(Diff(PictureHeight, y) / ZoneHeight, 0, ZoneRows - 1);
    return r + ZoneRows * c;
}

TZoneFrame ZoneFrame(int zone) {
    const int c = zone / ZoneRows;
    const int r = zone % ZoneRows;
    const int left = ZoneWidth * c;
    const int top = PictureHeight - ZoneHeight * (r + 1);
    const int bottom = top + ZoneHeight - 1;
    return {left + ZoneFrameInsetX, top + ZoneFrameInsetTop, left + ZoneWidth - ZoneFrameInsetX,
            bottom - ZoneFrameInsetBottom};
}

} // namespace pitch
