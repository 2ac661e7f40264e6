#pragma once

// The bit fields of a tactic file's instruction words and the texts they stand
// for. One table per field; player and team fields share the routines below.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace cm_codes {

struct TCode {
    std::string_view Text;
    uint32_t Bits;
};

// A field holding one of several texts. Codes inside ValueMask are compared
// against the field's whole value; a code outside it is a single flag bit,
// looked at only when the value matches none (SetPAtt "Back", SetPDef
// "Forward").
struct TChoice {
    uint32_t ValueMask;
    std::span<const TCode> Codes;
    std::string_view NoMatch;
};

// A Yes/No pair: only the "Yes" bit is read; writing sets exactly one bit.
struct TPair {
    uint32_t Yes;
    uint32_t No;
};

inline constexpr std::string_view PlayerNoMatch = "????";
inline constexpr std::string_view TeamNoMatch = "?????";

// Player word A.
inline constexpr TCode PlayerPassingCodes[] = {
    {"Team", 0x1}, {"Mixed", 0x2}, {"Short", 0x4}, {"Direct", 0x8}, {"Long", 0x10}};
inline constexpr TCode PlayerPassToCodes[] = {
    {"Team", 0x20}, {"Left", 0x40}, {"Center", 0x80}, {"Right", 0x100}};
inline constexpr TCode PlayerTacklingCodes[] = {
    {"Team", 0x200}, {"Normal", 0x400}, {"Easy", 0x800}, {"Hard", 0x1000}};
inline constexpr TCode PlayerPressingCodes[] = {{"Team", 0x2000}, {"No", 0x4000}, {"Yes", 0x8000}};
inline constexpr TCode PlayerSetPAttCodes[] = {
    {"Normal", 0x10000}, {"Forward", 0x20000}, {"Back", 0x40000000}};
// Listed in the order the editor offers them: decoding does not depend on it.
inline constexpr TCode PlayerSetPDefCodes[] = {
    {"Normal", 0x40000}, {"Forward", 0x80000000}, {"Back", 0x80000}};

// Instr[1] to Instr[6], in that order.
inline constexpr TChoice PlayerChoices[] = {
    {0x1F, PlayerPassingCodes, PlayerNoMatch},    {0x1E0, PlayerPassToCodes, PlayerNoMatch},
    {0x1E00, PlayerTacklingCodes, PlayerNoMatch}, {0xE000, PlayerPressingCodes, PlayerNoMatch},
    {0x30000, PlayerSetPAttCodes, PlayerNoMatch}, {0xC0000, PlayerSetPDefCodes, PlayerNoMatch}};
inline constexpr int PlayerFirstChoice = 1;

// Instr[7] to Instr[11] (FreeRole, FrwRun, RunWBall, HoldBall, LongShot).
inline constexpr TPair PlayerPairsA[] = {{0x200000, 0x100000},
                                         {0x800000, 0x400000},
                                         {0x2000000, 0x1000000},
                                         {0x8000000, 0x4000000},
                                         {0x20000000, 0x10000000}};
inline constexpr int PlayerFirstPairA = 7;

// Instr[12] and Instr[13] (ThrBall, Crossing) in word B, whose bits 4-31 the
// game owns. Here the "Yes" bit is the lower one of each pair.
inline constexpr TPair PlayerPairsB[] = {{0x1, 0x2}, {0x4, 0x8}};
inline constexpr int PlayerFirstPairB = 12;
inline constexpr uint32_t WordBOwnBits = 0xF;

// The names of Instr[1] to Instr[14], as the players grid heads its columns;
// Instr[14] ("Marking") is never stored in the file.
inline constexpr std::string_view PlayerInstrNames[] = {
    "Passing", "PassTo",   "Tackling", "Pressing", "SetPAtt", "SetPDef",  "FreeRole",
    "FrwRun",  "RunWBall", "HoldBall", "LongShot", "ThrBall", "Crossing", "Marking"};

// The names of TeamInstr[0] to TeamInstr[6]: the game's own terms.
inline constexpr std::string_view TeamInstrNames[] = {
    "Mentality",    "Passing",        "Tackling",       "Pressing",
    "Offside trap", "Counter attack", "Men Behind Ball"};

// Team word; bits 18-31 belong to the game.
inline constexpr TCode TeamMentalityCodes[] = {
    {"Defensive", 0x8000}, {"Attacking", 0x10000}, {"Normal", 0x20000}};
inline constexpr TCode TeamPassingCodes[] = {
    {"Mixed", 0x1}, {"Short", 0x2}, {"Direct", 0x4}, {"Long", 0x8}};
inline constexpr TCode TeamTacklingCodes[] = {{"Normal", 0x10}, {"Easy", 0x20}, {"Hard", 0x40}};

// TeamInstr[0] to TeamInstr[2].
inline constexpr TChoice TeamChoices[] = {{0x38000, TeamMentalityCodes, TeamNoMatch},
                                          {0xF, TeamPassingCodes, TeamNoMatch},
                                          {0x70, TeamTacklingCodes, TeamNoMatch}};
// TeamInstr[3] to TeamInstr[6] (Pressing, Offside trap, Counter attack, Men Behind Ball).
inline constexpr TPair TeamPairs[] = {
    {0x100, 0x80}, {0x400, 0x200}, {0x1000, 0x800}, {0x4000, 0x2000}};
inline constexpr int TeamFirstPair = 3;
inline constexpr uint32_t TeamOwnBits = 0x3FFFF;

// Every bit of the word that belongs to the field, flag bits included.
constexpr uint32_t FieldBits(const TChoice& field) {
    uint32_t bits = field.ValueMask;
    for (const TCode& code : field.Codes)
        bits |= code.Bits;
    return bits;
}

constexpr std::string_view DecodeText(const TChoice& field, uint32_t word) {
    const uint32_t value = word & field.ValueMask;
    for (const TCode& code : field.Codes)
        if ((code.Bits & ~field.ValueMask) == 0 && value == code.Bits)
            return code.Text;
    for (const TCode& code : field.Codes)
        if ((code.Bits & ~field.ValueMask) != 0 && (word & code.Bits) != 0)
            return code.Text;
    return field.NoMatch;
}

// The field's bits for a text. A text that is none of the field's values (in
// practice the no-match text of a code this editor does not know) keeps the
// bits the field has in oldWord, so an unknown code survives a save.
constexpr uint32_t EncodeText(const TChoice& field, std::string_view text, uint32_t oldWord) {
    for (const TCode& code : field.Codes)
        if (code.Text == text)
            return code.Bits;
    return oldWord & FieldBits(field);
}

constexpr std::string_view DecodeText(const TPair& pair, uint32_t word) {
    return (word & pair.Yes) != 0 ? "Yes" : "No";
}

constexpr uint32_t EncodeText(const TPair& pair, std::string_view text) {
    return text == "Yes" ? pair.Yes : pair.No;
}

inline constexpr std::string_view PairValues[] = {"Yes", "No"};

// The texts of each player field's codes, in the table's order.
inline constexpr auto PlayerChoiceTexts = [] {
    std::array<std::array<std::string_view, 5>, std::size(PlayerChoices)> all{};
    for (std::size_t f = 0; f < all.size(); ++f)
        for (std::size_t c = 0; c < PlayerChoices[f].Codes.size(); ++c)
            all[f][c] = PlayerChoices[f].Codes[c].Text;
    return all;
}();

// The values the editor offers for Instr[instr], in the order it offers them:
// a field's codes, "Yes" and "No" for a pair, none for "Marking".
constexpr std::span<const std::string_view> PlayerInstrValues(int instr) {
    const int choice = instr - PlayerFirstChoice;
    if (choice >= 0 && choice < static_cast<int>(std::size(PlayerChoices)))
        return std::span(PlayerChoiceTexts[choice]).first(PlayerChoices[choice].Codes.size());
    const int pairsEnd = PlayerFirstPairB + static_cast<int>(std::size(PlayerPairsB));
    if (instr >= PlayerFirstPairA && instr < pairsEnd)
        return PairValues;
    return {};
}

// The texts of each team field's codes, in the table's order.
inline constexpr auto TeamChoiceTexts = [] {
    std::array<std::array<std::string_view, 4>, std::size(TeamChoices)> all{};
    for (std::size_t f = 0; f < all.size(); ++f)
        for (std::size_t c = 0; c < TeamChoices[f].Codes.size(); ++c)
            all[f][c] = TeamChoices[f].Codes[c].Text;
    return all;
}();

// The values the editor offers for TeamInstr[index], in the order it offers
// them: a field's codes, "Yes" and "No" for a pair.
constexpr std::span<const std::string_view> TeamInstrValues(int index) {
    if (index >= 0 && index < static_cast<int>(std::size(TeamChoices)))
        return std::span(TeamChoiceTexts[index]).first(TeamChoices[index].Codes.size());
    if (index >= TeamFirstPair && index < TeamFirstPair + static_cast<int>(std::size(TeamPairs)))
        return PairValues;
    return {};
}

// Position word: X in byte 0, Y in byte 2; bytes 1 and 3 are written as 0.
constexpr uint32_t EncodePosition(int32_t x, int32_t y) {
    return (static_cast<uint32_t>(x) & 0xFF) | ((static_cast<uint32_t>(y) & 0xFF) << 16);
}
constexpr int32_t PositionX(uint32_t word) {
    return static_cast<int32_t>(word & 0xFF);
}
constexpr int32_t PositionY(uint32_t word) {
    return static_cast<int32_t>((word >> 16) & 0xFF);
}

} // namespace cm_codes
