#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class TCmFile;

// A pitch position in grid cells: X across (0..26), Y along from the tactic's
// own goal line (0) to the opponent's (35). One byte each in the file.
struct TCmPos {
    int32_t X = 0;
    int32_t Y = 0;

    friend bool operator==(const TCmPos&, const TCmPos&) = default;
};

// One of the eleven players of a tactic: instruction texts and two grids of
// twelve positions (one per ball zone), with the codec for its file slot.
class TCmPlayer {
public:
    static constexpr int InstrCount = 15;
    static constexpr int ZoneCount = 12;

    std::string NumberText;
    // Indexed by the players grid's column: 1..13 live in the file, 14
    // ("Marking") only in memory, 0 is never used.
    std::array<std::string, InstrCount> Instr;
    std::array<TCmPos, ZoneCount> WithBall{};
    std::array<TCmPos, ZoneCount> WithoutBall{};
    int32_t Number = 0;

    void Init(int32_t number);

    // Decode / encode this player's slot (N = Number) of an open tactic file.
    bool Read(TCmFile& file);
    bool Write(TCmFile& file);

    friend bool operator==(const TCmPlayer&, const TCmPlayer&) = default;

private:
    // The instruction word as last read: a text the codec does not know
    // ("????") stands for the code read there, whatever file it is written to.
    std::optional<uint32_t> ReadWordA;
};
