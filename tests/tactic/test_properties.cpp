// Properties over many random tactic files: a Load then Save without edits
// changes only what normalisation allows, and doing it twice changes nothing
// more. The expected words are worked out here from the format alone.

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <random>

using namespace pwtest;

namespace {

constexpr int FileCount = 300;
constexpr uint32_t Seed = 20010101;

uint32_t Bit(int n) {
    return uint32_t{1} << n;
}

// A Yes/No pair after saving: exactly one of its bits, the "Yes" one when it was set.
uint32_t Pair(uint32_t word, int yesBit, int noBit) {
    return (word & Bit(yesBit)) != 0 ? Bit(yesBit) : Bit(noBit);
}

// A set-piece field (two bits at low, a flag bit): values 1 and 2 stay, else
// a set flag wins alone, else the field is unknown and kept.
uint32_t SetPiece(uint32_t word, int low, int flag) {
    const uint32_t value = (word >> low) & 3;
    if (value == 1 || value == 2)
        return value << low;
    if ((word & Bit(flag)) != 0)
        return Bit(flag);
    return word & (uint32_t{3} << low);
}

uint32_t ExpectedWordA(uint32_t old) {
    // Passing, PassTo, Tackling, Pressing: a known code is rewritten as itself
    // and an unknown one is kept, so these bits never change.
    uint32_t word = old & 0xFFFF;
    word |= SetPiece(old, 16, 30) | SetPiece(old, 18, 31);
    for (int yes = 21; yes <= 29; yes += 2)
        word |= Pair(old, yes, yes - 1);
    return word;
}

uint32_t ExpectedWordB(uint32_t old) {
    return (old & ~0xFu) | Pair(old, 0, 1) | Pair(old, 2, 3);
}

uint32_t ExpectedTeam(uint32_t old) {
    uint32_t word =
        old & (0xFFFC0000 | 0x38000 | 0x7F); // game's bits, Mentality, Passing, Tackling
    for (int yes = 8; yes <= 14; yes += 2)
        word |= Pair(old, yes, yes - 1);
    return word;
}

uint32_t ExpectedPosition(uint32_t old) {
    return old & 0x00FF00FF;
}

uint32_t ExpectedWordAt(size_t offset, uint32_t old) {
    if (offset < TeamWordAt)
        return ExpectedPosition(old);
    if (offset == TeamWordAt)
        return ExpectedTeam(old);
    return (offset - WordAAt(1)) % 8 == 0 ? ExpectedWordA(old) : ExpectedWordB(old);
}

// Random bytes, with instruction words that often hold valid codes so that
// both the known and the unknown paths are taken.
TBytes RandomTactic(std::mt19937& random) {
    std::uniform_int_distribution<size_t> size(1461, 4096);
    TBytes bytes = RandomBytes(size(random), random());
    const auto oneOf = [&](std::initializer_list<uint32_t> codes) {
        return *(codes.begin() + random() % codes.size());
    };
    for (int n = 1; n <= 11; ++n) {
        if (random() % 2 == 0)
            continue;
        uint32_t wordA = random() & 0xFFF00000; // pairs and flags stay random
        wordA |= oneOf({0x1, 0x2, 0x4, 0x8, 0x10, 0x3});
        wordA |= oneOf({0x20, 0x40, 0x80, 0x100, 0x0});
        wordA |= oneOf({0x200, 0x400, 0x800, 0x1000, 0x1800});
        wordA |= oneOf({0x2000, 0x4000, 0x8000, 0x6000});
        wordA |= oneOf({0x10000, 0x20000, 0x30000, 0x0});
        wordA |= oneOf({0x40000, 0x80000, 0xC0000, 0x0});
        PutWord(bytes, WordAAt(n), wordA);
    }
    if (random() % 2 == 0) {
        uint32_t team = random() & 0xFFFC7F80;
        team |= oneOf({0x8000, 0x10000, 0x20000, 0x18000});
        team |= oneOf({0x1, 0x2, 0x4, 0x8, 0x0});
        team |= oneOf({0x10, 0x20, 0x40, 0x30});
        PutWord(bytes, TeamWordAt, team);
    }
    return bytes;
}

TBytes LoadAndSave(const TBytes& bytes) {
    TMemoryFile file(bytes);
    TCmTactic tactic;
    EXPECT_TRUE(tactic.Load(file));
    EXPECT_TRUE(tactic.Save(file));
    return file.Data();
}

TBytes LoadAndSaveOnDisk(const TTempDir& dir, const TBytes& bytes) {
    const std::string path = dir.File("random.tct");
    WriteFile(path, bytes);
    TCmTactic tactic;
    EXPECT_TRUE(tactic.Load(path));
    EXPECT_TRUE(tactic.Save(path));
    return ReadFile(path);
}

} // namespace

TEST(Properties, LoadSaveChangesOnlyWhatNormalisationAllows) {
    std::mt19937 random(Seed);
    TTempDir dir;
    for (int round = 0; round < FileCount; ++round) {
        const TBytes before = RandomTactic(random);
        const TBytes after = round % 25 == 0 ? LoadAndSaveOnDisk(dir, before) : LoadAndSave(before);
        ASSERT_EQ(after.size(), before.size());
        ASSERT_TRUE(std::equal(before.begin(), before.begin() + FirstOwnByte, after.begin()))
            << round;
        ASSERT_TRUE(std::equal(before.begin() + LastOwnByte + 1, before.end(),
                               after.begin() + LastOwnByte + 1))
            << round;
        for (size_t at = FirstOwnByte; at <= LastOwnByte; at += 4)
            ASSERT_EQ(GetWord(after, at), ExpectedWordAt(at, GetWord(before, at)))
                << "file " << round << ", word at " << at << std::hex << ", was 0x"
                << GetWord(before, at);
    }
}

TEST(Properties, SecondLoadSaveIsByteForByteTheFirst) {
    std::mt19937 random(Seed + 1);
    for (int round = 0; round < FileCount; ++round) {
        const TBytes once = LoadAndSave(RandomTactic(random));
        ASSERT_EQ(LoadAndSave(once), once) << round;
    }
}
