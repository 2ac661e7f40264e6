// The checked save: the reserve copy is whole before the tactic is written,
// and whatever fails leaves both files as they were and says why.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pwtest;
using E = TCmError;

namespace {

// A loaded and edited tactic, an earlier reserve copy of it and another tactic.
struct TFolder {
    explicit TFolder(const fs::path& root = {}, const std::string& name = "my442.tct",
                     const std::string& reserve = "MY442.old")
        : Root(root.empty() ? Dir.Path() : root)
        , Tactic(Utf8(Root / FromUtf8(name)))
        , Reserve(Utf8(Root / FromUtf8(reserve))) {
        WriteFile(Tactic, Original);
        WriteFile(Reserve, RandomBytes(40, 1));
        WriteFile(Other, RandomBytes(1500, 18));
        EXPECT_TRUE(Loaded.Load(Tactic, Stamp));
        Loaded.Players[3].WithBall[7] = {20, 30};
        Loaded.Players[3].Instr[2] = "Left";
    }

    // The window's steps without the question. Each runs even after a
    // failure, which must make it do nothing; the first failure counts.
    TCmFailure Save() {
        TCmSaveSession save;
        TCmFailure first;
        const auto step = [&](bool ok) {
            if (!ok && first.Error == E::None)
                first = save.LastFailure();
        };
        step(save.Open(Tactic, Stamp));
        step(save.MakeReserveCopy(Reserve));
        step(save.Write(Loaded, Stamp));
        return first;
    }

    TBytes Encoded() const {
        TCmTactic tactic = Loaded;
        TCmMemoryFile file(Original);
        EXPECT_TRUE(tactic.Save(file));
        return file.Data();
    }

    // Every regular file, so that a temporary left behind shows too.
    std::map<std::string, TBytes> Files() const {
        std::map<std::string, TBytes> files;
        for (const auto& entry : fs::directory_iterator(Root))
            if (entry.is_regular_file() && !entry.is_symlink())
                files[Utf8(entry.path().filename())] = ReadFile(Utf8(entry.path()));
        return files;
    }

    TTempDir Dir;
    fs::path Root;
    const TBytes Original = RandomBytes(1500, 17);
    std::string Tactic, Reserve, Other = Utf8(Root / "other.tct");
    TCmTactic Loaded;
    TCmFileStamp Stamp;
    TCmDiskFile Holder;
    bool Held = false;
};

#ifndef _WIN32
// Descriptor 0 free for the next file opened, as in a program started
// without stdin, and free again afterwards.
struct TNoStdin {
    TNoStdin() { ::close(0); }
    ~TNoStdin() {
        EXPECT_EQ(::fcntl(0, F_GETFD), -1) << "descriptor 0 left open";
        ::dup2(Saved, 0), ::close(Saved);
    }
    int Saved = ::dup(0);
};
#endif

} // namespace

// The temporary's own name is short, so it fits wherever the reserve copy's
// name fits: beside a 255-byte name, and beside ".old" alone.
TEST(Save, CopiesTheFileAsItWasThenWritesTheTactic) {
    for (const auto& [name, reserve] : std::vector<std::pair<std::string, std::string>>{
             {"Fu\u00dfball \u26bd \U0001F600.tct", "FU\u00dfBALL.old"},
             {"a.t", ".old"},
             {std::string(251, 'a') + ".tct", std::string(251, 'A') + ".old"}}) {
        TFolder folder({}, name, reserve);
        fs::permissions(FromUtf8(folder.Tactic),
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        {
#ifndef _WIN32
            const TNoStdin noStdin; // the tactic gets descriptor 0
#endif
            ASSERT_EQ(folder.Save().Error, E::None) << name;
        }
        EXPECT_EQ(ReadFile(folder.Reserve), folder.Original);
        EXPECT_EQ(ReadFile(folder.Tactic), folder.Encoded());
        EXPECT_EQ(fs::status(FromUtf8(folder.Reserve)).permissions(),
                  fs::status(FromUtf8(folder.Tactic)).permissions());
#ifndef _WIN32
        // The stamp follows the save: the next one sees no change by another
        // program and copies the file as it now is.
        TCmSaveSession again;
        ASSERT_TRUE(again.Open(folder.Tactic, folder.Stamp) && !again.ChangedSinceLoad());
        bool copied = false;
        {
            const TNoStdin noStdin; // the temporary gets descriptor 0
            copied = again.MakeReserveCopy(folder.Reserve);
        }
        EXPECT_TRUE(copied && again.Write(folder.Loaded, folder.Stamp));
        EXPECT_EQ(ReadFile(folder.Reserve), folder.Encoded());
#endif
        EXPECT_EQ(folder.Files().size(), 3u) << "a temporary left";
    }
}

// Each row changes the folder after the load. Where the save then fails, the
// plain Load and Save refuse it too and nothing in the folder changes.
TEST(Save, RefusesWhatIsNoLongerTheLoadedTacticOrItsReserve) {
    const auto replace = [](std::function<void(TFolder&, const fs::path&)> make) {
        return [make](TFolder& f) { fs::remove(FromUtf8(f.Tactic)), make(f, FromUtf8(f.Tactic)); };
    };
    const auto size = [](uintmax_t size) {
        return [size](TFolder& f) { fs::resize_file(FromUtf8(f.Tactic), size); };
    };
    const auto flip = [](size_t from, size_t to) {
        return [from, to](TFolder& f) {
            TBytes bytes = f.Original;
            bytes[from] ^= 1, bytes[to] ^= 1;
            WriteFile(f.Tactic, bytes);
        };
    };
    const struct {
        const char* Name;
        std::function<void(TFolder&)> Change;
        TCmError LoadError, SaveError;
        bool Changed = false; // the question about another program's change
    } cases[] = {
        {"bytes outside the region", flip(312, 1461), E::None, E::None},
        {"a byte of the region", flip(313, 1460), E::None, E::None, true},
        {"saved anew under its name",
         [](TFolder& f) {
             WriteFile(f.Other + ".new", f.Original);
             fs::rename(FromUtf8(f.Other + ".new"), FromUtf8(f.Tactic));
         },
         E::None, E::None, true},
        {"deleted", replace([](TFolder&, auto&) {}), E::CannotOpen, E::CannotOpen},
        {"empty", size(0), E::TooShort, E::TooShort},
        {"a byte short", size(1460), E::TooShort, E::TooShort},
        {"shortened", size(1461), E::None, E::Resized},
        {"grown", size(1600), E::None, E::Resized},
        {"a folder", replace([](TFolder&, auto& p) { fs::create_directory(p); }), E::NotAFile,
         E::NotAFile},
        {"a NUL in the name", [](TFolder& f) { f.Tactic += '\0'; }, E::CannotOpen, E::CannotOpen},
        // Refused, not guessed at: through an ANSI code page it could name another file.
        {"a name that is no UTF-8", [](TFolder& f) { f.Tactic = Utf8(f.Root) + "/Fu\xdf.tct"; },
         E::CannotOpen, E::CannotOpen},
        {"held by another opener", [](TFolder& f) { f.Held = true; }, E::Locked, E::Locked},
        {"reserve is a folder",
         [](TFolder& f) {
             fs::remove(FromUtf8(f.Reserve)), fs::create_directory(FromUtf8(f.Reserve));
         },
         E::None, E::ReserveFailed},
        {"reserve is the tactic",
         [](TFolder& f) {
             fs::remove(FromUtf8(f.Reserve));
             fs::create_hard_link(FromUtf8(f.Tactic), FromUtf8(f.Reserve));
         },
         E::None, E::ReserveIsTactic},
#ifdef _WIN32
        {"a device", [](TFolder& f) { f.Tactic = "NUL"; }, E::NotAFile, E::NotAFile},
        {"a device by its full name", [](TFolder& f) { f.Tactic = R"(\\.\NUL)"; }, E::NotAFile,
         E::NotAFile},
#else
        {"a link to another tactic",
         replace([](TFolder& f, auto& p) { fs::create_symlink(f.Other, p); }), E::None,
         E::Replaced},
        {"a link to a device",
         replace([](TFolder&, auto& p) { fs::create_symlink("/dev/zero", p); }), E::NotAFile,
         E::NotAFile},
        {"a FIFO", replace([](TFolder&, auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }),
         E::NotAFile, E::NotAFile},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFolder folder;
        c.Change(folder);
        const auto before = folder.Files();
        // Held after the look at the files, which it would deny on Windows.
        ASSERT_TRUE(!folder.Held || folder.Holder.Open(folder.Tactic, TCmDiskFile::TMode::Read, 0));
        const auto changed = [&] {
            TCmSaveSession session;
            return session.Open(folder.Tactic, folder.Stamp) && session.ChangedSinceLoad();
        };
        EXPECT_EQ(changed(), c.Changed);
        if (c.SaveError == E::None)
            continue;
        EXPECT_EQ(folder.Save().Error, c.SaveError);
        if (c.LoadError != E::None) {
            const TCmTactic marked = MarkedTactic();
            TCmTactic tactic = marked;
            EXPECT_FALSE(tactic.Load(folder.Tactic));
            EXPECT_EQ(tactic.LastError(), c.LoadError);
            EXPECT_FALSE(tactic.Save(folder.Tactic));
            EXPECT_TRUE(SameTactic(tactic, marked));
        }
        folder.Holder.Close();
        EXPECT_EQ(folder.Files(), before);
    }
}

#ifndef _WIN32

TEST(Save, LinkToTheLoadedFileIsWrittenThrough) {
    TFolder folder;
    const std::string link = Utf8(folder.Root / "link.tct");
    fs::create_symlink(folder.Tactic, link);
    ASSERT_TRUE(folder.Loaded.Load(link, folder.Stamp));
    folder.Loaded.Players[0].Instr[1] = "Long";
    TCmSaveSession save;
    ASSERT_TRUE(save.Open(link, folder.Stamp) && save.Write(folder.Loaded, folder.Stamp));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(folder.Tactic), folder.Encoded());
}

// A file size limit below the region's end cuts the write short, as a failing
// disk would: the checked save and the plain one both report it.
TEST(Save, FailedWriteKeepsTheReserveCopyForTheNextSave) {
    TFolder folder;
    TCmSaveSession save;
    ASSERT_TRUE(save.Open(folder.Tactic, folder.Stamp) && save.MakeReserveCopy(folder.Reserve));
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit low = before;
    low.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    const bool written = save.Write(folder.Loaded, folder.Stamp);
    const bool plainWritten = folder.Loaded.Save(folder.Other);
    const TCmFailure plain = folder.Loaded.LastFailure();
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written || plainWritten);
    EXPECT_EQ(save.LastFailure().Error, E::WriteFailed);
    EXPECT_EQ(save.LastFailure().System, EFBIG);
    EXPECT_EQ(plain.Error, E::WriteFailed);
    EXPECT_TRUE(folder.Stamp.KeepReserve);
    // The damage is our own: the next save neither asks nor copies it.
    TCmSaveSession retry;
    ASSERT_TRUE(retry.Open(folder.Tactic, folder.Stamp) && !retry.ChangedSinceLoad());
    ASSERT_TRUE(retry.Write(folder.Loaded, folder.Stamp));
    EXPECT_FALSE(folder.Stamp.KeepReserve);
    EXPECT_EQ(ReadFile(folder.Tactic), folder.Encoded());
    EXPECT_EQ(ReadFile(folder.Reserve), folder.Original);
}

// A small file system of our own, where the machine lets us mount one.
struct TSmallDisk {
    explicit TSmallDisk(const char* options)
        : Mounted(::mount("pw-test", Dir.Path().c_str(), "tmpfs", 0, options) == 0) {}
    ~TSmallDisk() {
        if (Mounted)
            ::umount2(Dir.Path().c_str(), MNT_DETACH);
    }
    TTempDir Dir;
    bool Mounted;
};

TEST(Save, FullOrReadOnlyDiskLosesNothing) {
    TSmallDisk disk("size=16k");
    if (!disk.Mounted)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): full disk not tested";
    TFolder folder(disk.Dir.Path());
    for (int i = 0; i < 16; ++i) // fill what is left, so that the reserve copy finds no room
        std::ofstream(folder.Root / ("fill" + std::to_string(i))) << std::string(1500, 'f');
    const auto expect = [&](E error, int system) {
        const auto before = folder.Files();
        const TCmFailure failure = folder.Save();
        EXPECT_EQ(failure.Error, error);
        EXPECT_EQ(failure.System, system);
        EXPECT_EQ(folder.Files(), before);
    };
    expect(E::ReserveFailed, ENOSPC);
    // A folder that cannot take the copy, while the tactic in it can still be
    // written: the tactic is bound from a writable disk into a read-only one.
    TSmallDisk writable("size=64k");
    ASSERT_TRUE(writable.Mounted);
    const std::string source = Utf8(writable.Dir.Path() / "my442.tct");
    WriteFile(source, folder.Original);
    ASSERT_EQ(::mount(source.c_str(), folder.Tactic.c_str(), nullptr, MS_BIND, nullptr), 0);
    ASSERT_EQ(::mount(nullptr, disk.Dir.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr),
              0);
    expect(E::ReserveFailed, EROFS);
    ASSERT_EQ(::umount2(folder.Tactic.c_str(), MNT_DETACH), 0);
    expect(E::CannotOpen, EROFS); // the tactic itself on a read-only disk
}

#endif

// "probe TACTIC RESERVE": one edited save as the window makes it, which the
// kill test stops at each of its writes.
int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "probe") {
        TCmTactic tactic;
        TCmFileStamp stamp;
        TCmSaveSession save;
        if (!tactic.Load(argv[2], stamp))
            return 3;
        tactic.Players[5].Instr[1] = "Long";
        tactic.Players[0].WithBall[0] = {26, 35};
        return save.Open(argv[2], stamp) && save.MakeReserveCopy(argv[3]) &&
                       save.Write(tactic, stamp)
                   ? 0
                   : 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
