// The checked save of the main tactic: the file is still the loaded tactic,
// the reserve copy is whole before the tactic is written, and whatever fails
// leaves the tactic and the earlier reserve copy as they were.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pwtest;
namespace fs = std::filesystem;

namespace {

const TBytes EarlierReserve = MakeBytes(40);

// A folder with a loaded tactic, an earlier reserve copy of it and another
// tactic beside it.
struct TSaveFolder {
    explicit TSaveFolder(const fs::path& root = {})
        : Root(root.empty() ? Dir.Path() : root) {
        WriteFile(Tactic, Original);
        WriteFile(Reserve, EarlierReserve);
        WriteFile(Other, OtherBytes);
        EXPECT_TRUE(Loaded.Load(Tactic, Stamp));
        Loaded.Players[3].WithBall[7] = {20, 30};
        Loaded.Players[3].Instr[2] = "Left";
    }

    // Open, reserve copy, write: the window's order, without the question.
    TCmFailure Save() {
        TCmSaveSession save;
        if (save.Open(Tactic, Stamp) && save.MakeReserveCopy(Reserve) && save.Write(Loaded, Stamp))
            return {};
        return save.LastFailure();
    }

    // What the folder holds besides the three files.
    std::vector<std::string> Strays() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Root))
            if (entry.path().filename() != "my442.tct" && entry.path().filename() != "MY442.old" &&
                entry.path().filename() != "other.tct")
                names.push_back(entry.path().filename().string());
        return names;
    }

    void ExpectUntouched() const {
        EXPECT_EQ(ReadFile(Reserve), EarlierReserve);
        EXPECT_EQ(ReadFile(Other), OtherBytes);
        EXPECT_TRUE(Strays().empty());
    }

    TTempDir Dir;
    fs::path Root;
    const TBytes Original = RandomBytes(1500, 17);
    const TBytes OtherBytes = RandomBytes(1500, 18);
    std::string Tactic = Utf8(Root / "my442.tct");
    std::string Reserve = Utf8(Root / "MY442.old");
    std::string Other = Utf8(Root / "other.tct");
    TCmTactic Loaded;
    TCmFileStamp Stamp;
};

// The bytes a save of `tactic` into `original` must give.
TBytes Encoded(TCmTactic tactic, const TBytes& original) {
    TCmMemoryFile file(original);
    EXPECT_TRUE(tactic.Save(file));
    return file.Data();
}

} // namespace

TEST(Save, CopiesTheFileAsItWasThenWritesTheTactic) {
    TSaveFolder folder;
#ifndef _WIN32
    ASSERT_EQ(::chmod(folder.Tactic.c_str(), 0640), 0);
#endif
    ASSERT_EQ(folder.Save().Error, TCmError::None);
    EXPECT_EQ(ReadFile(folder.Reserve), folder.Original);
    EXPECT_EQ(ReadFile(folder.Tactic), Encoded(folder.Loaded, folder.Original));
    EXPECT_EQ(fs::status(folder.Reserve).permissions(), fs::status(folder.Tactic).permissions());
    EXPECT_TRUE(folder.Strays().empty());

    // The stamp follows the save: the next one sees no change by another
    // program and copies the file as it now is.
    const TBytes saved = ReadFile(folder.Tactic);
    TCmSaveSession again;
    ASSERT_TRUE(again.Open(folder.Tactic, folder.Stamp));
    EXPECT_FALSE(again.ChangedSinceLoad());
    ASSERT_TRUE(again.MakeReserveCopy(folder.Reserve) && again.Write(folder.Loaded, folder.Stamp));
    EXPECT_EQ(ReadFile(folder.Reserve), saved);
}

TEST(Save, NoticesWhatAnotherProgramChanged) {
    struct TCase {
        const char* Name;
        std::function<void(TSaveFolder&)> Change;
        bool Changed;
    };
    const std::vector<TCase> cases = {
        {"nothing", [](TSaveFolder&) {}, false},
        {"a byte outside the editor's region",
         [](TSaveFolder& f) {
             TBytes bytes = f.Original;
             bytes[312] ^= 1;
             bytes[1461] ^= 1;
             WriteFile(f.Tactic, bytes);
         },
         false},
        {"a byte of the region",
         [](TSaveFolder& f) {
             TBytes bytes = f.Original;
             bytes[1460] ^= 1;
             WriteFile(f.Tactic, bytes);
         },
         true},
        {"saved anew under its name",
         [](TSaveFolder& f) {
             WriteFile(f.Tactic + ".new", f.Original);
             fs::rename(f.Tactic + ".new", f.Tactic);
         },
         true},
    };
    for (const TCase& c : cases) {
        TSaveFolder folder;
        c.Change(folder);
        TCmSaveSession save;
        ASSERT_TRUE(save.Open(folder.Tactic, folder.Stamp)) << c.Name;
        EXPECT_EQ(save.ChangedSinceLoad(), c.Changed) << c.Name;
    }
}

TEST(Save, RefusesAFileThatIsNoLongerTheLoadedTactic) {
    struct TCase {
        const char* Name;
        std::function<void(TSaveFolder&)> Change;
        TCmError Error;
    };
    std::vector<TCase> cases = {
        {"deleted", [](TSaveFolder& f) { fs::remove(f.Tactic); }, TCmError::CannotOpen},
        {"truncated", [](TSaveFolder& f) { fs::resize_file(f.Tactic, 1000); }, TCmError::TooShort},
        {"shortened", [](TSaveFolder& f) { fs::resize_file(f.Tactic, 1461); }, TCmError::Resized},
        {"grown", [](TSaveFolder& f) { fs::resize_file(f.Tactic, 1600); }, TCmError::Resized},
        {"a folder now",
         [](TSaveFolder& f) {
             fs::remove(f.Tactic);
             fs::create_directory(f.Tactic);
         },
         TCmError::NotAFile},
    };
#ifndef _WIN32
    const auto linkTo = [](const char* target) {
        return [target](TSaveFolder& f) {
            const std::string to = std::string(target) == "other" ? f.Other : target;
            fs::remove(f.Tactic);
            fs::create_symlink(to, f.Tactic);
        };
    };
    cases.push_back({"a link to another tactic", linkTo("other"), TCmError::Replaced});
    cases.push_back({"a link to /dev/zero", linkTo("/dev/zero"), TCmError::NotAFile});
    cases.push_back({"a FIFO",
                     [](TSaveFolder& f) {
                         fs::remove(f.Tactic);
                         ASSERT_EQ(::mkfifo(f.Tactic.c_str(), 0600), 0);
                     },
                     TCmError::NotAFile});
#endif
    for (const TCase& c : cases) {
        TSaveFolder folder;
        c.Change(folder);
        TCmSaveSession save;
        EXPECT_FALSE(save.Open(folder.Tactic, folder.Stamp)) << c.Name;
        EXPECT_EQ(save.LastFailure().Error, c.Error) << c.Name;
        // A session that failed to open writes nothing, copies nothing.
        EXPECT_FALSE(save.MakeReserveCopy(folder.Reserve)) << c.Name;
        EXPECT_FALSE(save.Write(folder.Loaded, folder.Stamp)) << c.Name;
        folder.ExpectUntouched();
    }
}

TEST(Save, FailedReserveCopyKeepsTheEarlierOneAndWritesNothing) {
    {
        // A folder where the copy would go cannot be replaced by it.
        TSaveFolder folder;
        fs::remove(folder.Reserve);
        fs::create_directory(folder.Reserve);
        EXPECT_EQ(folder.Save().Error, TCmError::ReserveFailed);
        EXPECT_EQ(ReadFile(folder.Tactic), folder.Original);
        EXPECT_TRUE(fs::is_empty(folder.Reserve));
    }
    {
        // A name that leads back to the tactic itself.
        TSaveFolder folder;
        fs::remove(folder.Reserve);
        fs::create_hard_link(folder.Tactic, folder.Reserve);
        EXPECT_EQ(folder.Save().Error, TCmError::ReserveIsTactic);
        EXPECT_EQ(ReadFile(folder.Tactic), folder.Original);
    }
}

TEST(Save, WorksForLongAndShortNames) {
    // The temporary's own name is short, so it fits wherever the reserve
    // copy's name fits: beside a 255-byte name, and beside ".old" alone.
    for (const std::string& name : {std::string(251, 'a') + ".tct", std::string("a.t")}) {
        TSaveFolder folder;
        const std::string tactic = Utf8(folder.Root / name);
        const std::string reserve =
            Utf8(folder.Root / (name.size() < 4 ? ".old" : std::string(251, 'A') + ".old"));
        WriteFile(tactic, folder.Original);
        TCmTactic loaded;
        TCmFileStamp stamp;
        ASSERT_TRUE(loaded.Load(tactic, stamp)) << name;
        TCmSaveSession save;
        EXPECT_TRUE(save.Open(tactic, stamp) && save.MakeReserveCopy(reserve) &&
                    save.Write(loaded, stamp))
            << name << ": " << static_cast<int>(save.LastFailure().Error);
        EXPECT_EQ(ReadFile(reserve), folder.Original) << name;
    }
}

TEST(Save, HeldFileIsLeftAlone) {
    TSaveFolder folder;
    TCmDiskFile holder; // another Pitchwright saving it right now
    ASSERT_TRUE(holder.Open(folder.Tactic, TCmDiskFile::TMode::Read, 1461));
    EXPECT_EQ(folder.Save().Error, TCmError::Locked);
    holder.Close();
    EXPECT_EQ(ReadFile(folder.Tactic), folder.Original);
    folder.ExpectUntouched();
}

#ifndef _WIN32

TEST(Save, LinkToTheLoadedFileIsWrittenThrough) {
    TSaveFolder folder;
    const std::string link = Utf8(folder.Root / "link.tct");
    fs::create_symlink(folder.Tactic, link);
    TCmTactic tactic;
    TCmFileStamp stamp;
    ASSERT_TRUE(tactic.Load(link, stamp));
    tactic.Players[0].Instr[1] = "Long";
    TCmSaveSession save;
    ASSERT_TRUE(save.Open(link, stamp) && save.Write(tactic, stamp));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(folder.Tactic), Encoded(tactic, folder.Original));
}

TEST(Save, FailedWriteKeepsTheReserveCopyForTheNextSave) {
    // A file size limit below the region's end cuts the write short, as a
    // failing disk would.
    TSaveFolder folder;
    TCmSaveSession save;
    ASSERT_TRUE(save.Open(folder.Tactic, folder.Stamp) && save.MakeReserveCopy(folder.Reserve));
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit low = before;
    low.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    const bool written = save.Write(folder.Loaded, folder.Stamp);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(save.LastFailure().Error, TCmError::WriteFailed);
    EXPECT_TRUE(folder.Stamp.KeepReserve);
    EXPECT_EQ(ReadFile(folder.Reserve), folder.Original);
    // The damage is our own: the next save neither asks nor copies it.
    TCmSaveSession retry;
    ASSERT_TRUE(retry.Open(folder.Tactic, folder.Stamp));
    EXPECT_FALSE(retry.ChangedSinceLoad());
    ASSERT_TRUE(retry.Write(folder.Loaded, folder.Stamp));
    EXPECT_FALSE(folder.Stamp.KeepReserve);
    EXPECT_EQ(ReadFile(folder.Tactic), Encoded(folder.Loaded, folder.Original));
    EXPECT_EQ(ReadFile(folder.Reserve), folder.Original);
}

// A small file system of our own, where the machine lets us mount one.
class TSmallDisk {
public:
    explicit TSmallDisk(const std::string& options) {
        Mounted = ::mount("pw-test", Dir.Path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~TSmallDisk() {
        if (Mounted)
            ::umount2(Dir.Path().c_str(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted = false;
    TTempDir Dir;
};

TEST(Save, FullOrReadOnlyDiskLosesNothing) {
    TSmallDisk disk("size=16k");
    if (!disk.Mounted)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): full disk not tested";
    TSaveFolder folder(disk.Dir.Path());
    // Fill what is left, so that the reserve copy finds no room.
    for (int i = 0; i < 16; ++i) {
        std::FILE* filler =
            std::fopen(Utf8(folder.Root / ("fill" + std::to_string(i))).c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        std::fwrite(folder.Original.data(), 1, folder.Original.size(), filler);
        std::fclose(filler);
    }
    const TCmFailure full = folder.Save();
    EXPECT_EQ(full.Error, TCmError::ReserveFailed);
    EXPECT_EQ(full.System, ENOSPC);
    EXPECT_EQ(ReadFile(folder.Tactic), folder.Original);
    EXPECT_EQ(ReadFile(folder.Reserve), EarlierReserve);
    for (const auto& entry : fs::directory_iterator(folder.Root))
        EXPECT_NE(entry.path().filename().string().rfind("~pw", 0), 0u) << entry.path();

    // A folder that cannot take the copy, while the tactic in it can still be
    // written: the tactic is bound from a writable disk into a read-only one.
    TSmallDisk writable("size=64k");
    ASSERT_TRUE(writable.Mounted);
    const std::string source = Utf8(writable.Dir.Path() / "my442.tct");
    WriteFile(source, folder.Original);
    ASSERT_EQ(::mount(source.c_str(), folder.Tactic.c_str(), nullptr, MS_BIND, nullptr), 0);
    ASSERT_EQ(::mount(nullptr, disk.Dir.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr),
              0);
    const TCmFailure readOnlyFolder = folder.Save();
    EXPECT_EQ(readOnlyFolder.Error, TCmError::ReserveFailed);
    EXPECT_EQ(readOnlyFolder.System, EROFS);
    EXPECT_EQ(ReadFile(source), folder.Original);
    ASSERT_EQ(::umount2(folder.Tactic.c_str(), MNT_DETACH), 0);

    // The tactic itself on a read-only disk.
    const TCmFailure readOnly = folder.Save();
    EXPECT_EQ(readOnly.Error, TCmError::CannotOpen);
    EXPECT_EQ(readOnly.System, EROFS);
    EXPECT_EQ(ReadFile(folder.Tactic), folder.Original);
    EXPECT_EQ(ReadFile(folder.Reserve), EarlierReserve);
}

#endif
