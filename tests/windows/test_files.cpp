// Tactic files on the real Windows file API. Load and Save hold the file with
// share mode 0, so no other program (the game, a text editor, a second
// Pitchwright) sees it half-written, and a file that another program holds is
// left alone. Other programs are stood in for by CreateFileW calls here.

#include "TestFiles.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace pwtest;
namespace fs = std::filesystem;

namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring Wide(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// Another program's handle on an existing file, closed when the object goes.
class TOtherOpener {
public:
    TOtherOpener(const std::string& fileName, DWORD access, DWORD share)
        : Handle(CreateFileW(Wide(fileName).c_str(), access, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr))
        , Error(Handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS) {}
    ~TOtherOpener() {
        if (IsOpen())
            CloseHandle(Handle);
    }
    TOtherOpener(const TOtherOpener&) = delete;
    TOtherOpener& operator=(const TOtherOpener&) = delete;

    bool IsOpen() const { return Handle != INVALID_HANDLE_VALUE; }

    HANDLE Handle;
    DWORD Error;
};

// Nobody holds the file: it opens for everything, without sharing.
bool IsFree(const std::string& fileName) {
    return TOtherOpener(fileName, GENERIC_READ | GENERIC_WRITE | DELETE, 0).IsOpen();
}

class Sharing : public testing::Test {
protected:
    void SetUp() override { WriteFile(Path, Bytes); }

    // Load and Save both refuse as "cannot open" and leave the tactic in memory as it was.
    void ExpectRefused() const {
        TCmTactic tactic = Marked;
        EXPECT_FALSE(tactic.Load(Path));
        EXPECT_EQ(tactic.LastError(), TCmTactic::TError::Locked);
        EXPECT_FALSE(tactic.Save(Path));
        EXPECT_EQ(tactic.LastError(), TCmTactic::TError::Locked);
        EXPECT_TRUE(SameTactic(tactic, Marked));
    }

    TTempDir Dir;
    const std::string Path = Dir.File("shared.tct");
    const TBytes Bytes = RandomBytes(1600, 11);
    const TCmTactic Marked = MarkedTactic();
};

} // namespace

TEST_F(Sharing, OpenTacticFileRefusesEveryOtherOpener) {
    // Load opens for reading, Save for reading and writing.
    for (const auto mode : {TCmDiskFile::TMode::Read, TCmDiskFile::TMode::ReadWrite}) {
        TCmDiskFile file;
        ASSERT_TRUE(file.Open(Path, mode, TCmTactic::MinimumFileSize));
        for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}, DWORD{DELETE}}) {
            const TOtherOpener other(Path, access, ShareAll);
            EXPECT_FALSE(other.IsOpen()) << access;
            EXPECT_EQ(other.Error, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << access;
        }
        ExpectRefused(); // a second Pitchwright
        file.Close();
        EXPECT_TRUE(IsFree(Path)) << "not released by Close";
    }
    EXPECT_EQ(ReadFile(Path), Bytes);
}

TEST_F(Sharing, FileHeldByAnotherProgramIsLeftAlone) {
    // Whatever the other handle shares, our share mode 0 denies what it already has.
    for (const DWORD share : {DWORD{0}, ShareAll}) {
        for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_READ | GENERIC_WRITE}}) {
            const TOtherOpener holder(Path, access, share);
            ASSERT_TRUE(holder.IsOpen());
            ExpectRefused();
        }
        EXPECT_EQ(ReadFile(Path), Bytes);
    }
    // Once the other program lets go, both work again, and let go in turn.
    TCmTactic tactic;
    EXPECT_TRUE(tactic.Load(Path));
    EXPECT_TRUE(IsFree(Path)) << "after Load";
    EXPECT_TRUE(tactic.Save(Path));
    EXPECT_TRUE(IsFree(Path)) << "after Save";
    // Refused after the file was opened: the handle goes all the same.
    const std::string shortFile = Dir.File("short.tct");
    WriteFile(shortFile, MakeBytes(100));
    EXPECT_FALSE(tactic.Load(shortFile));
    EXPECT_TRUE(IsFree(shortFile));
}

TEST(WindowsFiles, Utf8NamesReachTheFileTheyName) {
    // Through an ANSI code page these characters would be lost or replaced.
    TTempDir dir;
    const fs::path wide = dir.Path() / L"Taktik Fu\u00dfball \u26bd \U0001F600.tct";
    const std::string path = Utf8(wide);
    WriteFile(path, MakeBytes(1461));
    ASSERT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
    TCmTactic tactic;
    ASSERT_TRUE(tactic.Load(path));
    tactic.Players[2].WithBall[3] = {12, 34};
    ASSERT_TRUE(tactic.Save(path));
    TCmTactic reloaded;
    ASSERT_TRUE(reloaded.Load(path));
    EXPECT_TRUE(SameTactic(tactic, reloaded));
    // Not UTF-8 at all: refused, not guessed at.
    EXPECT_FALSE(tactic.Load(Utf8(dir.Path()) + "\\Fu\xdf"
                                                "ball.tct"));
    EXPECT_EQ(tactic.LastError(), TCmTactic::TError::CannotOpen);
}

TEST(WindowsFiles, DevicesAreNoTactic) {
    for (const char* device : {"NUL", R"(\\.\NUL)"}) {
        TCmTactic tactic;
        EXPECT_FALSE(tactic.Load(device)) << device;
        EXPECT_EQ(tactic.LastError(), TCmTactic::TError::NotAFile) << device;
        EXPECT_FALSE(tactic.Save(device)) << device;
    }
}
