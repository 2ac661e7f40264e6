#pragma once

#include "document/TacticColors.h"

#include <QColor>

#include <functional>
#include <optional>

// The colour pairs of the two tactics: three club schemes per tactic and a
// custom pair picked in two colour dialogs.
namespace pitch {

inline constexpr int CustomScheme = 3; // after the three clubs

// Which tactic a colour group paints, by the group's tag.
enum class TColorTarget { Main = 1, Second = 2 };

// The colours of club scheme 0..2 of the group for target; none for
// "Custom" or an item out of range.
std::optional<TTacticColors> ClubColors(TColorTarget target, int item);

// Which colour of the pair a custom choice asks for.
enum class TColorPart { Fill, Line };

// Asks for one colour of the pair, preset to initial; none when cancelled.
using TPickColor = std::function<std::optional<QColor>(const QColor& initial, TColorPart part)>;

// The pair a change of selection to item gives, or none when nothing is to
// change (a dialog cancelled, no item selected). "Custom" asks for the fill
// colour preset to the current fill, then for the line colour preset to the
// current line; cancelling either drops both.
std::optional<TTacticColors> ChooseColors(TColorTarget target, int item,
                                          const TTacticColors& current, const TPickColor& pick);

} // namespace pitch
