#include "pitch/ColorSchemes.h"

#include <array>

namespace pitch {
namespace {

const QColor White(255, 255, 255);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor Black(0, 0, 0);

// Zenit, CSKA and AC Milan; Spartak M, Alania and Internazionale.
const std::array<TTacticColors, 3>& Clubs(TColorTarget target) {
    static const std::array<TTacticColors, 3> main{{{White, Blue}, {Red, Blue}, {Black, Red}}};
    static const std::array<TTacticColors, 3> second{{{White, Red}, {Yellow, Red}, {Black, Blue}}};
    return target == TColorTarget::Main ? main : second;
}

} // namespace

std::optional<TTacticColors> ClubColors(TColorTarget target, int item) {
    if (item < 0 || item >= CustomScheme)
        return std::nullopt;
    return Clubs(target)[static_cast<std::size_t>(item)];
}

std::optional<TTacticColors> ChooseColors(TColorTarget target, int item,
                                          const TTacticColors& current, const TPickColor& pick) {
    if (item == CustomScheme) {
        if (!pick)
            return std::nullopt;
        const std::optional<QColor> fill = pick(current.Fill, TColorPart::Fill);
        if (!fill)
            return std::nullopt;
        const std::optional<QColor> line = pick(current.Line, TColorPart::Line);
        if (!line)
            return std::nullopt;
        // Tactic colours are 24-bit RGB: a dialog's alpha or colour model never reaches the discs.
        return TTacticColors{QColor(fill->rgb()), QColor(line->rgb())};
    }
    return ClubColors(target, item);
}

} // namespace pitch
