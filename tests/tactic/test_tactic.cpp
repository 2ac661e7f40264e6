// The tactic object: team word, whole-file behaviour on disk, and the ways a
// Load or Save must refuse without changing anything.

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pwtest;
namespace fs = std::filesystem;

namespace {

using TTeam = std::array<std::string, TCmTactic::TeamInstrCount>;

TTeam LoadTeam(uint32_t teamWord) {
    TCmTactic tactic;
    TMemoryFile file(MakeBytes(1461, {{TeamWordAt, teamWord}}));
    EXPECT_TRUE(tactic.Load(file));
    return tactic.TeamInstr;
}

// Bytes outside the codec's range, and the size, are the same in both.
void ExpectOutsideUnchanged(const TBytes& before, const TBytes& after) {
    ASSERT_EQ(before.size(), after.size());
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + FirstOwnByte, after.begin()));
    EXPECT_TRUE(std::equal(before.begin() + LastOwnByte + 1, before.end(),
                           after.begin() + LastOwnByte + 1));
}

} // namespace

TEST(Tactic, StartsNumberedAndEmpty) {
    const TCmTactic tactic;
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        EXPECT_EQ(tactic.Players[i].Number, i + 1);
        EXPECT_EQ(tactic.Players[i].NumberText, std::to_string(i + 1));
        for (const TCmPos& pos : tactic.Players[i].WithBall)
            EXPECT_EQ(pos, (TCmPos{0, 0}));
        for (const TCmPos& pos : tactic.Players[i].WithoutBall)
            EXPECT_EQ(pos, (TCmPos{0, 0}));
    }
    EXPECT_EQ(tactic.TeamInstr, TTeam{});
}

TEST(Tactic, DecodesTheTeamWord) {
    EXPECT_EQ(LoadTeam(0x00020000), (TTeam{"Normal", "?????", "?????", "No", "No", "No", "No"}));
    EXPECT_EQ(LoadTeam(0), (TTeam{"?????", "?????", "?????", "No", "No", "No", "No"}));
    EXPECT_EQ(LoadTeam(0x18000 | 0x8 | 0x20)[0], "?????"); // Mentality value 3
    EXPECT_EQ(LoadTeam(0xFFFC0000 | 0x8000 | 0x2 | 0x40 | 0x100 | 0x200 | 0x1800 | 0x4000),
              (TTeam{"Defensive", "Short", "Hard", "Yes", "No", "Yes", "Yes"}));
}

TEST(Tactic, TeamWordKeepsTheGamesBitsAndUnknownFields) {
    // Mentality 7, Passing 3 and Tackling 3 are unknown; Pressing has both
    // bits, Offside trap neither.
    const uint32_t old = 0xABCC0000 | 0x38000 | 0x3 | 0x30 | 0x180 | 0x1000 | 0x4000;
    TCmTactic tactic;
    TMemoryFile file(MakeBytes(1461, {{TeamWordAt, old}}));
    ASSERT_TRUE(tactic.Load(file));
    ASSERT_TRUE(tactic.Save(file));
    EXPECT_EQ(GetWord(file.Data(), TeamWordAt),
              0xABCC0000 | 0x38000 | 0x3 | 0x30 | 0x100 | 0x200 | 0x1000 | 0x4000);

    tactic.TeamInstr[0] = "Attacking";
    tactic.TeamInstr[1] = "Long";
    ASSERT_TRUE(tactic.Save(file));
    EXPECT_EQ(GetWord(file.Data(), TeamWordAt) & 0x3800F, 0x10008u);
}

// The shortest file the codec takes, a CM 01/02 tactic (1476 bytes, the same
// layout) and a longer one: all keep their size and every byte outside the codec's.
TEST(Tactic, SaveOnDiskChangesOnlyTheCodecsBytesAndReloadsTheEdits) {
    for (const size_t size : {size_t{1461}, size_t{1476}, size_t{3000}}) {
        SCOPED_TRACE(size);
        TTempDir dir;
        const std::string path = dir.File("edit.tct");
        const TBytes original = RandomBytes(size, 42);
        WriteFile(path, original);

        TCmTactic tactic;
        ASSERT_TRUE(tactic.Load(path));
        tactic.Players[0].WithBall[5] = {26, 35};
        tactic.Players[10].WithoutBall[11] = {0, 0};
        tactic.Players[4].Instr[1] = "Long";
        tactic.Players[4].Instr[13] = "Yes";
        tactic.Players[4].Instr[14] = "Man"; // memory only
        ASSERT_TRUE(tactic.Save(path));
        EXPECT_EQ(tactic.LastError(), TCmTactic::TError::None);
        ExpectOutsideUnchanged(original, ReadFile(path));

        TCmTactic reloaded;
        ASSERT_TRUE(reloaded.Load(path));
        tactic.Players[4].Instr[14].clear();
        EXPECT_TRUE(SameTactic(tactic, reloaded));
    }
}

TEST(Tactic, RefusedFilesChangeNothing) {
    // Too short (empty, truncated), a folder, a missing file: both operations
    // refuse, the tactic keeps its texts and positions, nothing is created or grown.
    TTempDir dir;
    const TCmTactic marked = MarkedTactic();
    std::vector<std::pair<std::string, TCmTactic::TError>> cases;
    for (size_t size : {0, 1, 313, 1460}) {
        cases.push_back(
            {dir.File("short" + std::to_string(size) + ".tct"), TCmTactic::TError::TooShort});
        WriteFile(cases.back().first, MakeBytes(size));
    }
    fs::create_directory(dir.File("folder.tct"));
    cases.push_back({dir.File("folder.tct"), TCmTactic::TError::NotAFile});
    cases.push_back({dir.File("missing.tct"), TCmTactic::TError::CannotOpen});
    cases.push_back({std::string("ok\0.tct", 7), TCmTactic::TError::CannotOpen});
#ifndef _WIN32
    // Special files are refused at once: a blocking open of a FIFO would hang.
    ASSERT_EQ(::mkfifo(dir.File("pipe.tct").c_str(), 0600), 0);
    cases.push_back({dir.File("pipe.tct"), TCmTactic::TError::NotAFile});
    cases.push_back({"/dev/zero", TCmTactic::TError::NotAFile});
#endif
    for (const auto& [path, error] : cases) {
        const bool regular = fs::is_regular_file(path);
        const TBytes before = regular ? ReadFile(path) : TBytes();
        TCmTactic tactic = marked;
        EXPECT_FALSE(tactic.Load(path)) << path;
        EXPECT_EQ(tactic.LastError(), error) << path;
        EXPECT_FALSE(tactic.Save(path)) << path;
        EXPECT_EQ(tactic.LastError(), error) << path;
        EXPECT_TRUE(SameTactic(tactic, marked)) << path;
        if (regular) {
            EXPECT_EQ(ReadFile(path), before) << path;
        }
    }
    EXPECT_FALSE(fs::exists(dir.File("missing.tct")));
    EXPECT_TRUE(fs::is_empty(dir.File("folder.tct")));
}

TEST(Tactic, FailedLoadAnywhereLeavesTheTacticAsItWas) {
    const TBytes bytes = RandomBytes(1461, 3);
    const TCmTactic marked = MarkedTactic();
    TMemoryFile probe(bytes);
    TCmTactic full;
    ASSERT_TRUE(full.Load(probe));
    ASSERT_EQ(probe.BytesMoved(), 1148u); // every byte 313..1460 exactly once

    for (size_t after = 0; after < probe.BytesMoved(); ++after) {
        TCmTactic tactic = marked;
        TMemoryFile file(bytes);
        file.FailAfterBytes = after;
        ASSERT_FALSE(tactic.Load(file)) << after;
        EXPECT_EQ(tactic.LastError(), TCmTactic::TError::ReadFailed);
        ASSERT_TRUE(SameTactic(tactic, marked)) << "fault after " << after << " bytes";
    }
    for (size_t seek = 1; seek <= probe.Seeks(); ++seek) {
        TCmTactic tactic = marked;
        TMemoryFile file(bytes);
        file.FailOnSeek = seek;
        ASSERT_FALSE(tactic.Load(file)) << seek;
        ASSERT_TRUE(SameTactic(tactic, marked)) << "fault on seek " << seek;
    }
}

TEST(Tactic, FailedSaveReportsFailureAndStaysInsideTheCodecsBytes) {
    const TBytes bytes = RandomBytes(1600, 5);
    TCmTactic tactic;
    TMemoryFile source(bytes);
    ASSERT_TRUE(tactic.Load(source));
    const TCmTactic loaded = tactic;
    TMemoryFile probe(bytes);
    ASSERT_TRUE(tactic.Save(probe));
    for (size_t after = 0; after < probe.BytesMoved(); after += 3) {
        TMemoryFile file(bytes);
        file.FailAfterBytes = after;
        ASSERT_FALSE(tactic.Save(file)) << after;
        EXPECT_EQ(tactic.LastError(), TCmTactic::TError::WriteFailed);
        ExpectOutsideUnchanged(bytes, file.Data());
    }
    EXPECT_TRUE(SameTactic(tactic, loaded));
}

TEST(Tactic, FileHeldByAnotherOpenerIsNotTouched) {
    TTempDir dir;
    const std::string path = dir.File("held.tct");
    const TBytes bytes = RandomBytes(1461, 9);
    WriteFile(path, bytes);
    const TCmTactic marked = MarkedTactic();
    {
        TCmDiskFile holder; // as a second Pitchwright would hold it
        ASSERT_TRUE(holder.Open(path, TCmDiskFile::TMode::Read, 1461));
        TCmTactic tactic = marked;
        EXPECT_FALSE(tactic.Load(path));
        EXPECT_EQ(tactic.LastError(), TCmTactic::TError::Locked);
        EXPECT_FALSE(tactic.Save(path));
        EXPECT_TRUE(SameTactic(tactic, marked));
    }
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    TCmTactic tactic = marked;
    EXPECT_FALSE(tactic.Load(path));
    EXPECT_FALSE(tactic.Save(path));
    EXPECT_EQ(tactic.LastError(), TCmTactic::TError::Locked);
    EXPECT_TRUE(SameTactic(tactic, marked));
    ::close(fd);
    EXPECT_TRUE(tactic.Load(path)); // released with the lock
#endif
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST(Tactic, MemoryFileKeepsTheRulesOfADiskFile) {
    // The fuzzer and the benchmarks stand in TCmMemoryFile for the disk.
    const TBytes bytes = RandomBytes(1500, 21);
    TCmMemoryFile memory(bytes);
    TTempDir dir;
    const std::string path = dir.File("same.tct");
    WriteFile(path, bytes);
    TCmTactic fromMemory;
    TCmTactic fromDisk;
    ASSERT_TRUE(fromMemory.Load(memory) && fromDisk.Load(path));
    EXPECT_TRUE(SameTactic(fromMemory, fromDisk));
    ASSERT_TRUE(fromMemory.Save(memory) && fromDisk.Save(path));
    EXPECT_EQ(memory.Data(), ReadFile(path));
    // Nothing past the end.
    uint32_t word = 0;
    EXPECT_TRUE(memory.Seek(1498));
    EXPECT_FALSE(memory.ReadWord(word) || memory.WriteWord(0) || memory.Seek(1501));
    EXPECT_EQ(memory.Data().size(), 1500u);
}
