// The bundled demo installation: the lookup finds it, its tactic files are
// exactly what the generator writes, and they hold sensible tactics.
#include "Cm_info.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace pwtest;
namespace fs = std::filesystem;

namespace {

// Set by ctest: the demo prefix in the source tree and the generator.
std::string DemoPrefix;
std::string Generator;

const char* const DemoFiles[] = {"442.tct", "433.tct", "532.tct"};

} // namespace

TEST(Demo, LookupFindsTheGameInTheDemoPrefix) {
    TCmInfo info;
    ASSERT_TRUE(info.ReadFromWinePrefix(DemoPrefix));
    EXPECT_EQ(info.Version, "1.0");
    EXPECT_EQ(fs::path(info.Location), fs::canonical(fs::path(DemoPrefix) / "drive_c" / "CM0001"));
    for (const char* name : DemoFiles)
        EXPECT_TRUE(fs::is_regular_file(fs::path(info.TacticsFolder()) / name)) << name;
}

TEST(Demo, CommittedFilesAreTheGeneratorsOutput) {
    TTempDir dir;
    const std::string command = "\"" + Generator + "\" \"" + Utf8(dir.Path()) + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const fs::path committed = fs::path(DemoPrefix) / "drive_c" / "CM0001" / "tactics";
    for (const char* name : DemoFiles)
        EXPECT_EQ(ReadFile(dir.File(name)), ReadFile(Utf8(committed / name)))
            << name << " differs: rebuild the demo-tactics target and commit the result";
}

TEST(Demo, TacticsAreSensibleAndMoveWithTheBall) {
    const fs::path folder = fs::path(DemoPrefix) / "drive_c" / "CM0001" / "tactics";
    for (const char* name : DemoFiles) {
        SCOPED_TRACE(name);
        const std::string path = Utf8(folder / name);
        const TBytes before = ReadFile(path);
        TCmTactic tactic;
        ASSERT_TRUE(tactic.Load(path));
        for (const std::string& text : tactic.TeamInstr)
            EXPECT_EQ(text.find('?'), std::string::npos);
        for (const TCmPlayer& player : tactic.Players) {
            for (int c = 1; c <= 13; ++c)
                EXPECT_EQ(player.Instr[c].find('?'), std::string::npos);
            for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
                for (const TCmPos& pos : {player.WithBall[z], player.WithoutBall[z]}) {
                    EXPECT_GE(pos.X, 0);
                    EXPECT_LE(pos.X, 26);
                    EXPECT_GE(pos.Y, 0);
                    EXPECT_LE(pos.Y, 35);
                }
            }
            if (player.Number == 1)
                continue;
            // Ball at the opponent's end (zone 7) against the ball at ours (zone 4).
            EXPECT_GT(player.WithBall[7].Y, player.WithBall[4].Y);
            EXPECT_GT(player.WithoutBall[7].Y, player.WithoutBall[4].Y);
            EXPECT_GE(player.WithBall[5].Y, player.WithoutBall[5].Y);
        }
        // Loading changes nothing on disk.
        EXPECT_EQ(ReadFile(path), before);
        // The pattern in the bytes the editor does not own is readable.
        EXPECT_EQ(std::string(before.begin(), before.begin() + 16), "PITCHWRIGHT DEMO");
    }
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DEMO-PREFIX GENERATOR\n", argv[0]);
        return 2;
    }
    DemoPrefix = argv[1];
    Generator = argv[2];
    return RUN_ALL_TESTS();
}
