// The player record's codec against an in-memory file: golden words, the
// order of access, and what survives a write.

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace pwtest;

namespace {

using TTexts = std::array<std::string, 14>; // Instr[0..13]; [0] unused

TCmPlayer ReadPlayer(int n, const TBytes& bytes) {
    TCmPlayer player;
    player.Init(n);
    TMemoryFile file(bytes);
    EXPECT_TRUE(player.Read(file));
    return player;
}

TTexts TextsOf(const TCmPlayer& player) {
    TTexts texts;
    for (int i = 1; i < 14; ++i)
        texts[i] = player.Instr[i];
    return texts;
}

// Reads player n's words from bytes, writes the player back unchanged and
// returns the resulting file.
TBytes RoundTrip(int n, const TBytes& bytes) {
    TCmPlayer player = ReadPlayer(n, bytes);
    TMemoryFile file(bytes);
    EXPECT_TRUE(player.Write(file));
    return file.Data();
}

// Passing "Team" and every Yes/No pair at "No": a word A that is all known.
constexpr uint32_t PlainA = 0x1 | 0x20 | 0x200 | 0x2000 | 0x10000 | 0x40000 | 0x15500000;

} // namespace

TEST(PlayerRead, DecodesEveryFieldOfBothWords) {
    const uint32_t wordA = 0x8 | 0x80 | 0x800 | 0x8000 | 0x40000000 | 0x80000 | 0x200000 |
                           0x400000 | 0x2000000 | 0x4000000 | 0x20000000;
    const TBytes bytes = MakeBytes(1461, {{WordAAt(4), wordA}, {WordBAt(4), 0xFFFFFFF6}});
    EXPECT_EQ(TextsOf(ReadPlayer(4, bytes)),
              (TTexts{"", "Direct", "Center", "Easy", "Yes", "Back", "Back", "Yes", "No", "Yes",
                      "No", "Yes", "No", "Yes"}));

    const TBytes zero = MakeBytes(1461, {{WordAAt(1), 0}, {WordBAt(1), 0}});
    EXPECT_EQ(TextsOf(ReadPlayer(1, zero)),
              (TTexts{"", "????", "????", "????", "????", "????", "????", "No", "No", "No", "No",
                      "No", "No", "No"}));
}

TEST(PlayerRead, PositionWordsTakeBytesZeroAndTwo) {
    TBytes bytes = MakeBytes(1461, {{WithBallAt(2, 0), 0xAB12CD34}, {WithoutBallAt(2, 11), 0}});
    const TCmPlayer player = ReadPlayer(2, bytes);
    EXPECT_EQ(player.WithBall[0], (TCmPos{52, 18}));
    EXPECT_EQ(player.WithoutBall[11], (TCmPos{0, 0}));

    const TBytes written = RoundTrip(2, bytes);
    const size_t at = WithBallAt(2, 0);
    EXPECT_EQ((TBytes{written.begin() + at, written.begin() + at + 4}),
              (TBytes{0x34, 0x00, 0x12, 0x00}));
}

TEST(PlayerWrite, PositionsKeepOnlyTheirLowByte) {
    TCmPlayer player;
    player.Init(11);
    player.WithBall[3] = {26, 35};
    player.WithoutBall[0] = {300, -1}; // outside a byte: must not spill into bytes 1 and 3
    TMemoryFile file(MakeBytes(1461));
    ASSERT_TRUE(player.Write(file));
    EXPECT_EQ(GetWord(file.Data(), WithBallAt(11, 3)), 0x0023001Au);
    EXPECT_EQ(GetWord(file.Data(), WithoutBallAt(11, 0)), 0x00FF002Cu);
}

TEST(PlayerWrite, SetPieceHighBitsDecideOnlyWhenTheFieldMatchesNothing) {
    struct TCase {
        uint32_t Bits;
        const char* Att;
        const char* Def;
        uint32_t Written;
    };
    const TCase cases[] = {
        {0x30000 | 0x40000000 | 0x40000, "Back", "Normal", 0x40000000 | 0x40000},
        {0x10000 | 0x40000000 | 0x80000 | 0x80000000, "Normal", "Back", 0x10000 | 0x80000},
        {0x00000 | 0x40000000 | 0xC0000 | 0x80000000, "Back", "Forward", 0x40000000 | 0x80000000},
        // Unknown values keep their bits.
        {0x30000 | 0xC0000, "????", "????", 0x30000 | 0xC0000},
    };
    for (const TCase& c : cases) {
        const uint32_t wordA = (PlainA & ~0xC00F0000u) | c.Bits;
        const TBytes bytes = MakeBytes(1461, {{WordAAt(6), wordA}});
        const TCmPlayer player = ReadPlayer(6, bytes);
        EXPECT_EQ(player.Instr[5], c.Att) << std::hex << c.Bits;
        EXPECT_EQ(player.Instr[6], c.Def) << std::hex << c.Bits;
        EXPECT_EQ(GetWord(RoundTrip(6, bytes), WordAAt(6)) & 0xC00F0000u, c.Written)
            << std::hex << c.Bits;
    }
}

TEST(PlayerWrite, UnknownTextsKeepTheirOldBitsAndPairsAlwaysGetOneBit) {
    // Passing value 3 and Pressing value 3 are no codes; PassTo is "Left" in the file.
    const uint32_t oldA = 0x3 | 0x40 | 0x200 | 0x6000 | 0x10000 | 0x40000 | 0x00300000;
    TCmPlayer player = ReadPlayer(5, MakeBytes(1461, {{WordAAt(5), oldA}}));
    ASSERT_EQ(player.Instr[1], "????");
    ASSERT_EQ(player.Instr[4], "????");
    player.Instr[2] = "Right";
    player.Instr[3] = "hard"; // case matters: not "Hard"
    player.Instr[7] = "";     // FreeRole: anything but "Yes" is "No"
    player.Instr[8] = "Yes";

    TMemoryFile file(MakeBytes(1461, {{WordAAt(5), oldA}}));
    ASSERT_TRUE(player.Write(file));
    const uint32_t wordA = GetWord(file.Data(), WordAAt(5));
    EXPECT_EQ(wordA & 0x1F, 0x3u);     // unknown Passing kept
    EXPECT_EQ(wordA & 0x1E0, 0x100u);  // Right alone, the old Left is gone
    EXPECT_EQ(wordA & 0x1E00, 0x200u); // unmatched text: the file's "Team" stays
    EXPECT_EQ(wordA & 0xE000, 0x6000u);
    EXPECT_EQ(wordA & 0x300000, 0x100000u);
    EXPECT_EQ(wordA & 0xC00000, 0x800000u);
}

TEST(PlayerWrite, WordBKeepsTheGamesBitsAndCanonicalisesPairs) {
    const TBytes bytes = MakeBytes(1461, {{WordBAt(9), 0xDEADBEEF}, {WordBAt(10), 0x12345670}});
    EXPECT_EQ(GetWord(RoundTrip(9, bytes), WordBAt(9)),
              0xDEADBEE5u); // both bits of each pair set: Yes
    EXPECT_EQ(GetWord(RoundTrip(10, bytes), WordBAt(10)), 0x1234567Au); // both clear: No
}

TEST(PlayerCodec, TouchesOnlyItsOwnSlotInTheGivenOrder) {
    using TOp = TMemoryFile::TOp;
    std::vector<TMemoryFile::TAccess> expectRead = {{TOp::Seek, 1373},
                                                    {TOp::Read, 1373},
                                                    {TOp::Seek, 1377},
                                                    {TOp::Read, 1377},
                                                    {TOp::Seek, 361}};
    for (int z = 0; z < 12; ++z)
        expectRead.push_back({TOp::Read, 361 + 4 * z});
    expectRead.push_back({TOp::Seek, 313});
    for (int z = 0; z < 12; ++z)
        expectRead.push_back({TOp::Read, 313 + 4 * z});

    std::vector<TMemoryFile::TAccess> expectWrite = {
        {TOp::Seek, 1373},  {TOp::Read, 1373},  {TOp::Seek, 1373},
        {TOp::Write, 1373}, {TOp::Seek, 1377},  {TOp::Read, 1377},
        {TOp::Seek, 1377},  {TOp::Write, 1377}, {TOp::Seek, 361}};
    for (int z = 0; z < 12; ++z)
        expectWrite.push_back({TOp::Write, 361 + 4 * z});
    expectWrite.push_back({TOp::Seek, 313});
    for (int z = 0; z < 12; ++z)
        expectWrite.push_back({TOp::Write, 313 + 4 * z});

    TCmPlayer player;
    player.Init(1);
    TMemoryFile reading(RandomBytes(1461, 1));
    ASSERT_TRUE(player.Read(reading));
    EXPECT_EQ(reading.Log(), expectRead);
    TMemoryFile writing(RandomBytes(1461, 1));
    ASSERT_TRUE(player.Write(writing));
    EXPECT_EQ(writing.Log(), expectWrite);
}

TEST(PlayerCodec, LeavesTextsOutsideTheFileAlone) {
    TCmPlayer player;
    player.Init(3);
    player.Instr[0] = "zero";
    player.Instr[14] = "Marking text";
    for (int round = 0; round < 3; ++round) {
        TMemoryFile file(RandomBytes(1461, round));
        ASSERT_TRUE(player.Read(file));
        ASSERT_TRUE(player.Write(file));
    }
    EXPECT_EQ(player.Instr[0], "zero");
    EXPECT_EQ(player.Instr[14], "Marking text");
    EXPECT_EQ(player.NumberText, "3");
}

TEST(PlayerCodec, RefusesASlotOutsideOneToEleven) {
    for (int n : {0, 12, -1}) {
        TCmPlayer player;
        player.Init(n);
        TMemoryFile file(MakeBytes(2000));
        EXPECT_FALSE(player.Read(file));
        EXPECT_FALSE(player.Write(file));
        EXPECT_TRUE(file.Log().empty()) << n;
        EXPECT_EQ(file.Data(), MakeBytes(2000));
    }
}
