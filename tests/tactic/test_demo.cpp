// The bundled demo installation: the lookup finds it, its tactics are exactly
// what the generator writes, and they hold known codes and move with the ball.
#include "Cm_info.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace pwtest;

namespace {
std::string Prefix, Generator; // given by ctest
}

TEST(Demo, LookupFindsTheGeneratorsTactics) {
    TCmInfo info;
    ASSERT_TRUE(info.ReadFromWinePrefix(Prefix));
    EXPECT_EQ(info.Version, "1.0");
    EXPECT_EQ(fs::path(info.Location), fs::canonical(fs::path(Prefix) / "drive_c/CM0001"));
    TTempDir dir;
    ASSERT_EQ(std::system(("\"" + Generator + "\" \"" + Utf8(dir.Path()) + "\"").c_str()), 0);
    for (const char* name : {"442.tct", "433.tct", "532.tct"}) {
        SCOPED_TRACE(name);
        const std::string path = Utf8(fs::path(info.TacticsFolder()) / name);
        EXPECT_EQ(ReadFile(path), ReadFile(dir.File(name)))
            << "rebuild the demo-tactics target and commit the result";
        TCmTactic tactic;
        ASSERT_TRUE(tactic.Load(path));
        std::string texts;
        for (const std::string& text : tactic.TeamInstr)
            texts += text;
        for (const TCmPlayer& player : tactic.Players) {
            for (int c = 1; c <= 13; ++c)
                texts += player.Instr[c];
            // Ball at the opponent's end (zone 7) against the ball at ours (zone 4).
            EXPECT_TRUE(player.Number == 1 || (player.WithBall[7].Y > player.WithBall[4].Y &&
                                               player.WithoutBall[7].Y > player.WithoutBall[4].Y));
        }
        EXPECT_EQ(texts.find('?'), std::string::npos);
    }
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3)
        return std::fprintf(stderr, "usage: %s DEMO-PREFIX GENERATOR\n", argv[0]), 2;
    Prefix = argv[1];
    Generator = argv[2];
    return RUN_ALL_TESTS();
}
