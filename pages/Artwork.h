#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

// The pictures of the window's buttons, drawn in code.
namespace artwork {

QPixmap Football(int size = 32);
QPixmap RussianFlag(int width = 32, int height = 20);
QPixmap UnitedKingdomFlag(int width = 32, int height = 20);
QPixmap Tick(int size, const QColor& color);
// A red tick that turns grey while its button is disabled.
QIcon SaveIcon();
// Two ticks, one behind the other: the tactic saved into another file.
QIcon SaveCopyIcon();
// The pitch as a framed picture, and a page with the pitch and lines of text.
QIcon PictureIcon();
QIcon SheetIcon();
// Twelve small green zones, three across and four along: the zones overview.
QIcon ZonesIcon();
// Three numbered stops joined by a path: the user's route of zones.
QIcon RouteIcon();

} // namespace artwork
