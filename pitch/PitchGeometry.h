#pragma once

#include "pitch/PitchMap.h"

#include <QRgb>

#include <array>

// The pitch artwork's geometry and colours, in pixels of the 331 x 401
// picture: the pixel picture and the vector drawing both take them from here,
// so that the two cannot drift apart.
namespace pitch::geometry {

inline constexpr QRgb Grass = qRgb(0, 64, 0);
inline constexpr QRgb Stripe = qRgb(1, 57, 1);
inline constexpr QRgb Chalk = qRgb(60, 158, 60);
inline constexpr QRgb Net = qRgb(200, 214, 200);
inline constexpr QRgb BevelDark = qRgb(64, 64, 64);
inline constexpr QRgb BevelShadow = qRgb(128, 128, 128);
inline constexpr QRgb BevelLight = qRgb(192, 192, 192);
inline constexpr QRgb BevelHighlight = qRgb(255, 255, 255);
inline constexpr QRgb FrameYellow = qRgb(255, 255, 0);

inline constexpr int Width = ViewWidth;
inline constexpr int Height = PictureHeight;
inline constexpr int Frame = 2; // the bevel's width
inline constexpr int CentreX = 165;

// Touch lines, goal lines and the halfway line (the lines' own pixels).
inline constexpr int Left = 8;
inline constexpr int Right = 322;
inline constexpr int Top = 8;
inline constexpr int Bottom = 392;
inline constexpr int Halfway = 200;

inline constexpr int CircleRadius = 39; // centre circle and penalty arcs
inline constexpr int CornerRadius = 4;
// Distances from a goal line into the field.
inline constexpr int PenaltyDepth = 72;
inline constexpr int GoalAreaDepth = 24;
inline constexpr int SpotDistance = 48;
inline constexpr int PenaltyLeft = 77;
inline constexpr int PenaltyRight = 253;
inline constexpr int GoalAreaLeft = 125;
inline constexpr int GoalAreaRight = 205;
// The goal behind its line: posts and back of the net.
inline constexpr int GoalLeft = 149;
inline constexpr int GoalRight = 181;
inline constexpr int GoalDepth = 4;

// Grass shade changes at these columns, the lighter one first.
inline constexpr std::array<int, 8> StripeEdges{Frame, 47, 95, 141, 189, 235, 283, Width - Frame};

} // namespace pitch::geometry
