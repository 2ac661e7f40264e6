// The tactic codec: every instruction code decoded and encoded, Load then Save
// over random files against a model of the format, and failures anywhere.
#include "TestFiles.h"
#include "tactic/Cm_codes.h"

#include <gtest/gtest.h>

#include <array>

using namespace pwtest;

namespace {

// Offsets from the file format, for player slot n (1..11) and ball zone z.
const auto WordA = [](size_t n) { return 1365 + 8 * n; };
const auto WordB = [](size_t n) { return 1369 + 8 * n; };
const auto WithBall = [](size_t n, size_t z) { return 265 + 96 * n + 4 * z; };
const auto WithoutBall = [](size_t n, size_t z) { return 217 + 96 * n + 4 * z; };
constexpr size_t TeamWord = 1369, RegionStart = 313, RegionEnd = 1461;

template <typename T>
std::string Join(const T& texts, size_t from = 0, size_t to = 0) {
    std::string joined;
    for (size_t i = from; i < (to ? to : texts.size()); ++i)
        joined += (joined.empty() ? "" : " ") + texts[i];
    return joined;
}

// Together the rows hold every code of every field, flags alone and over
// unknown values, unknown values, and pairs with one, both or no bits set.
// Encoded* are the words written over a file of zeros: an unknown value is
// written as the code it was read from, wherever the tactic is written.
const struct {
    size_t Slot;
    uint32_t A, B, Team, EncodedA, EncodedB, EncodedTeam;
    const char *Player, *TeamTexts; // Instr[1..13], TeamInstr
} Rows[] = {
    {1, 0x15552221, 0xABCDEF0A, 0xABC0AA91, 0x15552221, 0xA, 0xAA91,
     "Team Team Team Team Normal Normal No No No No No No No",
     "Defensive Mixed Normal No No No No"},
    {6, 0x2AAA4442, 0x12345675, 0xFFFD5522, 0x2AAA4442, 0x5, 0x15522,
     "Mixed Left Normal No Forward Back Yes Yes Yes Yes Yes Yes Yes",
     "Attacking Short Easy Yes Yes Yes Yes"},
    {11, 0xE6608884, 0xFFFFFFF9, 0x23344, 0xE6608884, 0x9, 0x23344,
     "Short Center Easy Yes Back Forward Yes No Yes No Yes Yes No",
     "Normal Direct Hard Yes No Yes No"},
    {2, 0xD99F7108, 0x6, 0x1CCB8, 0xD9907108, 0x6, 0x1CCB8,
     "Direct Right Hard ???? Back Forward No Yes No Yes No No Yes",
     "????? Long ????? No Yes No Yes"},
    {9, 0x333F1810, 0xF, 0x1980, 0x266F1810, 0x5, 0x3300,
     "Long ???? ???? ???? ???? ???? Yes No Yes No Yes Yes Yes", "????? ????? ????? Yes No Yes No"},
};

} // namespace

TEST(Codec, DecodesAndEncodesEveryCode) {
    for (const auto& row : Rows) {
        const size_t n = row.Slot;
        TBytes bytes = RandomBytes(1461, n);
        for (const auto& [at, word] : {std::pair{WordA(n), row.A},
                                       {WordB(n), row.B},
                                       {TeamWord, row.Team},
                                       {WithBall(n, n), 0xAB12CD34u}})
            PutWord(bytes, at, word);
        TCmTactic tactic;
        TCmPlayer& player = tactic.Players[n - 1];
        EXPECT_TRUE(player.NumberText == std::to_string(n) && player.WithBall[n] == (TCmPos{0, 0}));
        player.Instr[14] = "Man"; // kept in memory only
        TCmMemoryFile file(bytes);
        ASSERT_TRUE(tactic.Load(file));
        EXPECT_EQ(Join(player.Instr, 1, 14), row.Player) << n;
        EXPECT_EQ(Join(tactic.TeamInstr), row.TeamTexts) << n;
        EXPECT_EQ(player.Instr[14], "Man");
        EXPECT_EQ(player.WithBall[n], (TCmPos{0x34, 0x12}));

        player.WithoutBall[0] = {300, -1}; // only the low byte of each is stored
        TCmMemoryFile zeros(TBytes(1461));
        ASSERT_TRUE(tactic.Save(zeros));
        const auto word = [&](size_t at) { return GetWord(zeros.Data(), at); };
        EXPECT_EQ(
            std::vector({word(WordA(n)), word(WordB(n)), word(TeamWord), word(WithBall(n, n)),
                         word(WithoutBall(n, 0))}),
            std::vector({row.EncodedA, row.EncodedB, row.EncodedTeam, 0x00120034u, 0x00FF002Cu}))
            << n;
    }
}

// Every team value offered is written as the codec reads it back, into its own field alone:
// the game's bits and the other fields stay, an unknown mentality and tackling code too,
// and one picked back to "?????" is the code the tactic was read with.
TEST(Codec, EveryOfferedTeamValueRoundTrips) {
    using namespace cm_codes;
    for (int index = 0; index < TCmTactic::TeamInstrCount; ++index)
        for (const std::string_view value : TeamInstrValues(index)) {
            TBytes bytes = RandomBytes(1461, static_cast<uint32_t>(index * 8 + value.size()));
            PutWord(bytes, TeamWord, (GetWord(bytes, TeamWord) & ~0x38070u) | 0x18030u);
            TCmTactic tactic;
            TCmMemoryFile unedited(bytes), edited(bytes);
            ASSERT_TRUE(tactic.Load(edited) && tactic.Save(unedited));
            const uint32_t before = GetWord(unedited.Data(), TeamWord);
            auto expected = tactic.TeamInstr;
            tactic.TeamInstr[index] = expected[index] = value;
            ASSERT_TRUE(tactic.Save(edited));
            if (index < TeamFirstPair) {
                // Undone to "?????" after that save: the code read is written again.
                tactic.TeamInstr[index] = TeamNoMatch;
                ASSERT_TRUE(tactic.Save(edited));
                EXPECT_EQ(GetWord(edited.Data(), TeamWord), before) << index << value;
                tactic.TeamInstr[index] = value;
                ASSERT_TRUE(tactic.Save(edited));
            }
            ASSERT_TRUE(tactic.Load(edited));
            EXPECT_EQ(tactic.TeamInstr, expected) << index << " " << value;
            const uint32_t field = index < TeamFirstPair ? FieldBits(TeamChoices[index])
                                                         : 0x180u << 2 * (index - TeamFirstPair);
            EXPECT_EQ(before & 0x38070u, 0x18030u);
            EXPECT_EQ((GetWord(edited.Data(), TeamWord) ^ before) & ~field, 0u) << index << value;
        }
}

namespace {

// What a Load then Save without edits must leave of each word of the region:
// known codes are rewritten as themselves and unknown ones kept, a set flag
// over an unknown set-piece value wins alone, a Yes/No pair keeps exactly one
// bit (the Yes bit when it was set), the game's bits stay, and a position
// keeps bytes 0 and 2.
uint32_t Pair(uint32_t word, int yes, int no) {
    return word >> yes & 1 ? 1u << yes : 1u << no;
}

uint32_t SetPiece(uint32_t word, int low, int flag) {
    const uint32_t value = word >> low & 3;
    if (value == 1 || value == 2 || !(word >> flag & 1))
        return value << low;
    return 1u << flag;
}

uint32_t Expected(size_t at, uint32_t old) {
    uint32_t word = 0;
    if (at < TeamWord)
        return old & 0x00FF00FF;
    if (at == TeamWord) {
        word = old & 0xFFFF807F;
        for (int yes = 8; yes <= 14; yes += 2)
            word |= Pair(old, yes, yes - 1);
    } else if ((at - WordA(1)) % 8 == 0) {
        word = (old & 0xFFFF) | SetPiece(old, 16, 30) | SetPiece(old, 18, 31);
        for (int yes = 21; yes <= 29; yes += 2)
            word |= Pair(old, yes, yes - 1);
    } else {
        word = (old & ~0xFu) | Pair(old, 0, 1) | Pair(old, 2, 3);
    }
    return word;
}

} // namespace

// Random files of 1461 to 4096 bytes; every 25th goes through the disk.
TEST(Codec, LoadThenSaveChangesOnlyWhatTheFormatNormalises) {
    std::mt19937 random(20010101);
    TTempDir dir;
    for (int round = 0; round < 300; ++round) {
        const TBytes before = RandomBytes(1461 + random() % 2636, random());
        TCmTactic tactic;
        TBytes after;
        if (round % 25 == 0) {
            WriteFile(dir.File("random.tct"), before);
            ASSERT_TRUE(tactic.Load(dir.File("random.tct")) && tactic.Save(dir.File("random.tct")));
            after = ReadFile(dir.File("random.tct"));
        } else {
            TCmMemoryFile file(before);
            ASSERT_TRUE(tactic.Load(file) && tactic.Save(file));
            after = file.Data();
        }
        TBytes expected = before;
        for (size_t at = RegionStart; at < RegionEnd; at += 4)
            PutWord(expected, at, Expected(at, GetWord(before, at)));
        ASSERT_EQ(after, expected) << "file " << round;
    }
}

// A load that fails at any one access leaves the tactic as it was; a save
// that fails at any one access says so.
TEST(Codec, FailureAtAnyAccessIsReported) {
    const TBytes bytes = RandomBytes(1461, 3);
    const TCmTactic marked = MarkedTactic();
    TFaultyFile clean(bytes, SIZE_MAX);
    TCmTactic tactic = marked;
    ASSERT_TRUE(tactic.Load(clean) && tactic.Save(clean));
    for (size_t failAt = 0; failAt < clean.Accesses; ++failAt) {
        TFaultyFile file(bytes, failAt);
        tactic = marked;
        const bool done = tactic.Load(file) && tactic.Save(file);
        ASSERT_FALSE(done) << "failure at access " << failAt << " passed over";
        if (tactic.LastError() == TCmError::ReadFailed) {
            ASSERT_TRUE(SameTactic(tactic, marked)) << "load failed at access " << failAt;
        } else {
            ASSERT_EQ(tactic.LastError(), TCmError::WriteFailed) << failAt;
        }
    }
}

// Only slots 1 to 11 lie inside the editor's bytes: a Load or Save that cannot
// code the tactic says so.
TEST(Codec, PlayerSlotOutsideTheFileIsRefused) {
    TTempDir dir;
    const TBytes bytes = RandomBytes(1461, 4);
    WriteFile(dir.File("t.tct"), bytes);
    for (const int n : {0, 12}) {
        TCmTactic tactic;
        tactic.Players[0].Init(n);
        EXPECT_FALSE(tactic.Load(dir.File("t.tct")));
        EXPECT_EQ(tactic.LastError(), TCmError::ReadFailed);
        EXPECT_FALSE(tactic.Save(dir.File("t.tct")));
        EXPECT_EQ(tactic.LastError(), TCmError::WriteFailed);
    }
    EXPECT_EQ(ReadFile(dir.File("t.tct")), bytes);
}

TEST(Codec, MemoryFileStaysInsideItsBytes) {
    TCmMemoryFile file(TBytes(8), 100);
    uint32_t word = 0;
    EXPECT_FALSE(file.Seek(99) || file.Seek(109));
    EXPECT_TRUE(file.Seek(108) && file.Seek(104) && file.ReadWord(word));
    EXPECT_FALSE(file.ReadWord(word) || file.WriteWord(1));
    EXPECT_TRUE(file.Seek(101) && file.WriteWord(0x01020304));
    EXPECT_EQ(file.Data(), (TBytes{0, 4, 3, 2, 1, 0, 0, 0}));
}
