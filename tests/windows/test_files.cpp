// Tactic files on the real Windows file API. Load and Save hold the file with
// share mode 0, so no other program sees it half-written, and a file that
// another program holds is left alone. CreateFileW stands in for the others.
#include "TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace pwtest;

namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Another program's handle on an existing file, closed when the object goes.
struct TOtherOpener {
    TOtherOpener(const std::string& name, DWORD access, DWORD share)
        : Handle(CreateFileW(FromUtf8(name).c_str(), access, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr))
        , Error(Handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS) {}
    ~TOtherOpener() {
        if (Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
    }
    HANDLE Handle;
    DWORD Error;
};

// Nobody holds the file: it opens for everything, without sharing.
bool IsFree(const std::string& name) {
    return TOtherOpener(name, GENERIC_READ | GENERIC_WRITE | DELETE, 0).Error == ERROR_SUCCESS;
}

// Load and Save both refuse and leave the tactic in memory as it was.
void ExpectLocked(const std::string& name) {
    const TCmTactic marked = MarkedTactic();
    TCmTactic tactic = marked;
    EXPECT_FALSE(tactic.Load(name));
    EXPECT_EQ(tactic.LastError(), TCmError::Locked);
    EXPECT_FALSE(tactic.Save(name));
    EXPECT_EQ(tactic.LastError(), TCmError::Locked);
    EXPECT_TRUE(SameTactic(tactic, marked));
}

} // namespace

TEST(Sharing, AHeldFileIsRefusedBothWaysAndReleased) {
    TTempDir dir;
    const std::string path = dir.File("shared.tct"), shortFile = dir.File("short.tct");
    const TBytes bytes = RandomBytes(1600, 11);
    WriteFile(path, bytes);
    // Whatever another program's handle shares, our share mode 0 denies what it already has.
    for (const DWORD share : {DWORD{0}, ShareAll})
        for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_READ | GENERIC_WRITE}}) {
            const TOtherOpener holder(path, access, share);
            ASSERT_EQ(holder.Error, static_cast<DWORD>(ERROR_SUCCESS));
            ExpectLocked(path);
        }
    // While Load (reading) or Save (reading and writing) holds it, every other opener fails.
    for (const auto mode : {TCmDiskFile::TMode::Read, TCmDiskFile::TMode::ReadWrite}) {
        TCmDiskFile file;
        ASSERT_TRUE(file.Open(path, mode, TCmTactic::MinimumFileSize));
        for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}, DWORD{DELETE}})
            EXPECT_EQ(TOtherOpener(path, access, ShareAll).Error,
                      static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        ExpectLocked(path); // a second Pitchwright
        file.Close();
        EXPECT_TRUE(IsFree(path)) << "not released by Close";
    }
    EXPECT_EQ(ReadFile(path), bytes);
    // Once let go, both work again and let go in turn, a refusal after the open too.
    TCmTactic tactic;
    EXPECT_TRUE(tactic.Load(path) && IsFree(path) && tactic.Save(path) && IsFree(path));
    WriteFile(shortFile, TBytes(100));
    EXPECT_FALSE(tactic.Load(shortFile));
    EXPECT_TRUE(IsFree(shortFile));
}
