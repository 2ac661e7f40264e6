// Writes the demo installation's tactic files: 4-4-2, 4-3-3 and 5-3-2, each
// with positions for all twelve ball zones in both phases and a set of
// instructions a manager might give. The bytes the editor does not own carry
// a readable pattern, so that a hex dump shows at once whether they survived.
//
//   make_demo_tactics FOLDER     writes FOLDER/442.tct, 433.tct and 532.tct
#include "tactic/Cm_tactic.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t FileSize = 1600;
constexpr std::size_t FirstOwnByte = 313;
constexpr std::size_t LastOwnByte = 1460;
// The game's bits of word B (4..31) and of the team word (18..31).
constexpr uint32_t WordBPattern = 0xC0DE5A50;
constexpr uint32_t TeamPattern = 0x5A5C0000;

struct TRole {
    int X; // across, 0..26
    int Y; // along, 0..35, in the shape's resting place (ball in the middle)
    // Instruction texts for Instr[1..13].
    std::array<const char*, 13> Instr;
};

struct TFormation {
    const char* FileName;
    const char* Tag;
    std::array<const char*, 7> Team;
    // How far up the pitch the shape moves per ball row, with and without the ball.
    int PushWithBall;
    int PushWithoutBall;
    // How much higher than its resting place the shape stands with the ball,
    // and how much deeper without it.
    int HeightWithBall;
    int DepthWithoutBall;
    std::array<TRole, 11> Roles;
};

// Instruction sets by role. Order: Passing, PassTo, Tackling, Pressing,
// SetPAtt, SetPDef, FreeRole, FrwRun, RunWBall, HoldBall, LongShot, ThrBall, Crossing.
constexpr std::array<const char*, 13> Keeper = {"Long", "Team", "Team", "No", "Back", "Back", "No",
                                                "No",   "No",   "No",   "No", "No",   "No"};
constexpr std::array<const char*, 13> CentreBack = {
    "Short", "Center", "Hard", "Team", "Forward", "Back", "No", "No", "No", "No", "No", "No", "No"};
constexpr std::array<const char*, 13> FullBack = {"Team", "Team", "Normal", "Team", "Normal",
                                                  "Back", "No",   "Yes",    "Yes",  "No",
                                                  "No",   "No",   "Yes"};
constexpr std::array<const char*, 13> WingBack = {"Mixed",  "Team", "Normal", "Yes", "Normal",
                                                  "Normal", "No",   "Yes",    "Yes", "No",
                                                  "No",     "No",   "Yes"};
constexpr std::array<const char*, 13> Holding = {
    "Short", "Team", "Hard", "Yes", "Normal", "Back", "No", "No", "No", "Yes", "No", "Yes", "No"};
constexpr std::array<const char*, 13> Playmaker = {"Mixed",  "Team", "Easy", "Team", "Normal",
                                                   "Normal", "Yes",  "Yes",  "No",   "Yes",
                                                   "Yes",    "Yes",  "No"};
constexpr std::array<const char*, 13> Winger = {"Direct", "Center", "Easy", "Team", "Normal",
                                                "Normal", "No",     "Yes",  "Yes",  "No",
                                                "No",     "No",     "Yes"};
constexpr std::array<const char*, 13> Striker = {"Short",  "Team", "Easy", "Yes", "Forward",
                                                 "Normal", "No",   "Yes",  "Yes", "Yes",
                                                 "Yes",    "No",   "No"};
constexpr std::array<const char*, 13> TargetMan = {"Direct", "Team", "Normal", "No", "Forward",
                                                   "Normal", "No",   "Yes",    "No", "Yes",
                                                   "No",     "No",   "No"};

const TFormation Formations[] = {
    {"442.tct",
     "4-4-2",
     {"Normal", "Mixed", "Normal", "No", "No", "No", "No"},
     3,
     2,
     3,
     2,
     {{{13, 1, Keeper},
       {22, 9, FullBack},
       {16, 7, CentreBack},
       {10, 7, CentreBack},
       {4, 9, FullBack},
       {23, 18, Winger},
       {16, 16, Holding},
       {10, 16, Playmaker},
       {3, 18, Winger},
       {16, 25, Striker},
       {10, 25, TargetMan}}}},
    {"433.tct",
     "4-3-3",
     {"Attacking", "Short", "Hard", "Yes", "Yes", "No", "No"},
     3,
     2,
     2,
     3,
     {{{13, 1, Keeper},
       {22, 10, WingBack},
       {16, 8, CentreBack},
       {10, 8, CentreBack},
       {4, 10, WingBack},
       {19, 18, Playmaker},
       {13, 15, Holding},
       {7, 18, Playmaker},
       {22, 26, Winger},
       {13, 28, Striker},
       {4, 26, Winger}}}},
    {"532.tct",
     "5-3-2",
     {"Defensive", "Long", "Normal", "No", "Yes", "Yes", "Yes"},
     2,
     2,
     4,
     1,
     {{{13, 1, Keeper},
       {23, 10, WingBack},
       {18, 7, CentreBack},
       {13, 6, CentreBack},
       {8, 7, CentreBack},
       {3, 10, WingBack},
       {19, 16, Holding},
       {13, 14, Holding},
       {7, 16, Playmaker},
       {16, 23, TargetMan},
       {10, 23, Striker}}}},
};

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

// Where a role stands for a ball zone: the shape moves up and down with the
// ball's row and leans towards its column; the keeper stays in his area and
// shifts only a little. Without the ball the team drops deeper and closes up.
TCmPos Place(const TFormation& formation, int player, int zone, bool withBall) {
    const TRole& role = formation.Roles[static_cast<std::size_t>(player)];
    const int column = zone / 4; // 0 left, 1 centre, 2 right
    const int row = zone % 4;    // 0 own end .. 3 opponent's end
    if (player == 0)
        return {Clamp(role.X + 2 * (column - 1), 10, 16), Clamp(role.Y + row / 2, 0, 4)};
    const int push = withBall ? formation.PushWithBall : formation.PushWithoutBall;
    int y = role.Y + push * (2 * row - 3) / 2 +
            (withBall ? formation.HeightWithBall : -formation.DepthWithoutBall);
    int x = role.X + 3 * (column - 1);
    if (!withBall)
        x = 13 + (x - 13) * 4 / 5; // narrower without the ball
    return {Clamp(x, 0, 26), Clamp(y, 2, 34)};
}

// Bytes 0..312 and 1461.. spell the formation's tag over and over.
std::vector<char> PatternFile(const TFormation& formation) {
    const std::string text = std::string("PITCHWRIGHT DEMO ") + formation.Tag + " | ";
    std::vector<char> bytes(FileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = text[i % text.size()];
    auto put = [&](std::size_t offset, uint32_t word) {
        for (int i = 0; i < 4; ++i)
            bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>(word >> (8 * i));
    };
    // The editor's bytes start from zeros, except for the bits it keeps.
    std::fill(bytes.begin() + FirstOwnByte, bytes.begin() + LastOwnByte + 1, '\0');
    put(1369, TeamPattern);
    for (int n = 1; n <= 11; ++n)
        put(1369 + 8 * static_cast<std::size_t>(n), WordBPattern);
    return bytes;
}

bool WriteDemo(const std::string& folder, const TFormation& formation) {
    const std::string path = folder + "/" + formation.FileName;
    {
        const std::vector<char> bytes = PatternFile(formation);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return false;
    }
    TCmTactic tactic;
    for (int i = 0; i < TCmTactic::TeamInstrCount; ++i)
        tactic.TeamInstr[static_cast<std::size_t>(i)] = formation.Team[static_cast<std::size_t>(i)];
    for (int p = 0; p < TCmTactic::PlayerCount; ++p) {
        TCmPlayer& player = tactic.Players[static_cast<std::size_t>(p)];
        const TRole& role = formation.Roles[static_cast<std::size_t>(p)];
        for (int c = 1; c <= 13; ++c)
            player.Instr[static_cast<std::size_t>(c)] = role.Instr[static_cast<std::size_t>(c - 1)];
        for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
            player.WithBall[static_cast<std::size_t>(z)] = Place(formation, p, z, true);
            player.WithoutBall[static_cast<std::size_t>(z)] = Place(formation, p, z, false);
        }
    }
    return tactic.Save(path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (const TFormation& formation : Formations) {
        if (!WriteDemo(argv[1], formation)) {
            std::fprintf(stderr, "cannot write %s/%s\n", argv[1], formation.FileName);
            return 1;
        }
    }
    return 0;
}
