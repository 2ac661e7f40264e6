// Prints what the editor can see and change in a tactic file, one item per
// line, so that the end-to-end tests can diff a file before and after a save.
#include "tactic/Cm_codes.h"
#include "tactic/Cm_tactic.h"

#include <cstdio>

namespace {

void PrintGrid(int player, const char* phase,
               const std::array<TCmPos, TCmPlayer::ZoneCount>& grid) {
    for (int zone = 0; zone < TCmPlayer::ZoneCount; ++zone)
        std::printf("player %d %s %d: %d %d\n", player, phase, zone, grid[zone].X, grid[zone].Y);
}

} // namespace

int main(int argc, char** argv) {
    TCmTactic tactic;
    if (argc != 2 || !tactic.Load(argv[1])) {
        std::fprintf(stderr, "usage: %s FILE.tct (error %d)\n", argv[0],
                     static_cast<int>(tactic.LastError()));
        return 1;
    }
    for (int i = 0; i < TCmTactic::TeamInstrCount; ++i)
        std::printf("team %d: %s\n", i + 1, tactic.TeamInstr[i].c_str());
    for (const TCmPlayer& player : tactic.Players) {
        std::printf("player %d number: %s\n", player.Number, player.NumberText.c_str());
        for (int col = 1; col < TCmPlayer::InstrCount; ++col) {
            const std::string_view name = cm_codes::PlayerInstrNames[col - 1];
            std::printf("player %d %.*s: %s\n", player.Number, static_cast<int>(name.size()),
                        name.data(), player.Instr[col].c_str());
        }
        PrintGrid(player.Number, "with", player.WithBall);
        PrintGrid(player.Number, "without", player.WithoutBall);
    }
    return 0;
}
