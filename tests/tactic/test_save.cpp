// The checked save: the reserve copy is whole before the tactic is written,
// and whatever fails leaves both files as they were and says why.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <tuple>

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
    // Descriptor 0 is free from step `freeStdin` on.
    TCmFailure Save(const std::string& name = {}, int freeStdin = -1);

    TBytes Encoded() const {
        TCmTactic tactic = Loaded;
        TCmMemoryFile file(Original);
        EXPECT_TRUE(tactic.Save(file));
        return file.Data();
    }

    // Every regular file, so that a temporary left behind shows too.
    std::map<std::string, TBytes> Files(const fs::path& root = {}) const {
        std::map<std::string, TBytes> files;
        for (const auto& entry : fs::directory_iterator(root.empty() ? Root : root))
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
    std::function<void()> Asked; // runs where the window asks its questions
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
#else
struct TNoStdin {};
#endif

TCmFailure TFolder::Save(const std::string& name, int freeStdin) {
    TCmSaveSession save;
    TCmFailure first;
    std::optional<TNoStdin> noStdin;
    const std::function<bool()> steps[] = {
        [&] {
            return save.Open(name.empty() ? Tactic : name, Stamp) && (!Asked || (Asked(), true));
        },
        [&] { return save.MakeReserveCopy(Reserve); }, [&] { return save.Write(Loaded, Stamp); }};
    for (int i = 0; i < 3; ++i) {
        if (i == freeStdin)
            noStdin.emplace();
        if (!steps[i]() && first.Error == E::None)
            first = save.LastFailure();
    }
    return first;
}

} // namespace

// The temporary's own name is short, so it fits wherever the reserve copy's
// name fits: beside a 255-byte name, and beside ".old" alone. The stamp
// follows the save: the next one sees no change by another program and
// copies the file as it now is. A link to the loaded file is written through.
TEST(Save, CopiesTheFileAsItWasThenWritesTheTactic) {
    for (const auto& [name, reserve] : std::vector<std::pair<std::string, std::string>>{
             {"Fu\u00dfball \u26bd \U0001F600.tct", "FU\u00dfBALL.old"},
             {"a.t", ".old"},
             {std::string(251, 'a') + ".tct", std::string(251, 'A') + ".old"}}) {
        TFolder folder({}, name, reserve);
        fs::permissions(FromUtf8(folder.Tactic),
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        for (int save = 0; save < 2; ++save) {
            const TBytes before = ReadFile(folder.Tactic);
            // Descriptor 0 goes to the tactic, then to the temporary.
            ASSERT_EQ(folder.Save({}, save).Error, E::None) << name;
            EXPECT_EQ(ReadFile(folder.Reserve), before);
            EXPECT_EQ(ReadFile(folder.Tactic), folder.Encoded());
            EXPECT_EQ(fs::status(FromUtf8(folder.Reserve)).permissions(),
                      fs::status(FromUtf8(folder.Tactic)).permissions());
            EXPECT_EQ(folder.Files().size(), 3u) << "a temporary left";
        }
    }
#ifndef _WIN32
    TFolder folder;
    const std::string link = Utf8(folder.Root / "link.tct");
    fs::create_symlink(folder.Tactic, link);
    ASSERT_TRUE(folder.Loaded.Load(link, folder.Stamp));
    folder.Loaded.Players[0].Instr[1] = "Long";
    ASSERT_EQ(folder.Save(link).Error, E::None);
    EXPECT_TRUE(fs::is_symlink(link) && ReadFile(folder.Tactic) == folder.Encoded());
#endif
    {
        // Temporaries of killed copies: only a stale one of our naming that no copy holds goes.
        TFolder folder;
        for (const char* name :
             {"~pw0000000a.tmp", "~pw0000000b.tmp", "~pw0000000c.tmp", "~pw0000000g.tmp"}) {
            WriteFile(Utf8(folder.Root / name), {1});
            if (name[10] != 'b')
                fs::last_write_time(folder.Root / name,
                                    fs::file_time_type::clock::now() - std::chrono::minutes(2));
        }
        ASSERT_TRUE(
            folder.Holder.Open(Utf8(folder.Root / "~pw0000000c.tmp"), TCmDiskFile::TMode::Read, 0));
        ASSERT_EQ(folder.Save().Error, E::None);
        folder.Holder.Close();
        EXPECT_FALSE(fs::exists(folder.Root / "~pw0000000a.tmp"));
        EXPECT_EQ(folder.Files().size(), 6u);
    }
}

// Each row changes the folder after the load. Where the save then fails, the
// plain Load and Save refuse it too and nothing in the folder changes.
TEST(Save, RefusesWhatIsNoLongerTheLoadedTacticOrItsReserve) {
    using TChange = std::function<void(TFolder&, const fs::path&)>;
    const auto replace = [](TChange make) {
        return [make](TFolder& f, auto& p) { fs::remove(p), make(f, p); };
    };
    const auto size = [](uintmax_t size) {
        return [size](TFolder&, auto& p) { fs::resize_file(p, size); };
    };
    const auto flip = [](size_t from, size_t to) {
        return [from, to](TFolder& f, auto&) {
            TBytes bytes = f.Original;
            bytes[from] ^= 1, bytes[to] ^= 1;
            WriteFile(f.Tactic, bytes);
        };
    };
    const auto reserve = [](TChange make) {
        return [make](TFolder& f, auto&) { fs::remove(FromUtf8(f.Reserve)), make(f, f.Reserve); };
    };
    // Loaded through a link, whose target then changes: rows of the POSIX part.
    [[maybe_unused]] const auto viaLink = [](bool folder) {
        return [folder](TFolder& f, auto& p) {
            const fs::path link = f.Root / "link", to = folder ? f.Root / "b" : p;
            fs::create_directory(f.Root / "b");
            WriteFile(Utf8(f.Root / "b" / p.filename()), f.Original);
            fs::create_symlink(folder ? f.Root : p, link);
            f.Tactic = Utf8(folder ? link / p.filename() : link);
            ASSERT_TRUE(f.Loaded.Load(f.Tactic, f.Stamp));
            fs::remove(folder ? link : p);
            folder ? fs::create_directory_symlink(to, link)
                   : fs::rename(f.Root / "b" / p.filename(), p);
        };
    };
    const struct {
        const char* Name;
        TChange Change;
        TCmError LoadError, SaveError;
        bool Changed = false;    // the question about another program's change
        bool WhileAsked = false; // the change comes while the questions are on screen
    } cases[] = {
        {"bytes outside the region", flip(312, 1461), E::None, E::None},
        {"a byte of the region", flip(313, 1460), E::None, E::None, true},
        {"saved anew under its name",
         [](TFolder& f, auto& p) {
             WriteFile(f.Other + ".new", f.Original);
             fs::rename(FromUtf8(f.Other + ".new"), p);
         },
         E::None, E::None, true},
        {"deleted", replace([](TFolder&, auto&) {}), E::CannotOpen, E::CannotOpen},
        {"empty", size(0), E::TooShort, E::TooShort},
        {"a byte short", size(1460), E::TooShort, E::TooShort},
        {"shortened", size(1461), E::None, E::Resized},
        {"grown", size(1600), E::None, E::Resized},
        {"a folder", replace([](TFolder&, auto& p) { fs::create_directory(p); }), E::NotAFile,
         E::NotAFile},
        {"a NUL in the name", [](TFolder& f, auto&) { f.Tactic += '\0'; }, E::CannotOpen,
         E::CannotOpen},
        // Refused, not guessed at: through an ANSI code page it could name another file.
        {"a name that is no UTF-8",
         [](TFolder& f, auto&) { f.Tactic = Utf8(f.Root) + "/Fu\xdf.tct"; }, E::CannotOpen,
         E::CannotOpen},
        {"held by another opener", [](TFolder& f, auto&) { f.Held = true; }, E::Locked, E::Locked},
        {"reserve is a folder", reserve([](TFolder&, auto& r) { fs::create_directory(r); }),
         E::None, E::ReserveFailed},
        {"reserve is the tactic",
         reserve([](TFolder& f, auto& r) { fs::create_hard_link(f.Tactic, r); }), E::None,
         E::ReserveIsTactic},
        {"a hard link to another tactic",
         replace([](TFolder& f, auto& p) { fs::create_hard_link(f.Other, p); }), E::None,
         E::Replaced},
#ifdef _WIN32
        {"a device", [](TFolder& f, auto&) { f.Tactic = "NUL"; }, E::NotAFile, E::NotAFile},
        {"a device by its full name", [](TFolder& f, auto&) { f.Tactic = R"(\\.\NUL)"; },
         E::NotAFile, E::NotAFile},
#else
        {"a link to another tactic",
         replace([](TFolder& f, auto& p) { fs::create_symlink(f.Other, p); }), E::None,
         E::Replaced},
        {"a link to a device",
         replace([](TFolder&, auto& p) { fs::create_symlink("/dev/zero", p); }), E::NotAFile,
         E::NotAFile},
        {"a FIFO", replace([](TFolder&, auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }),
         E::NotAFile, E::NotAFile},
        {"through a folder link that now leads elsewhere", viaLink(true), E::None, E::Replaced},
        {"through a link whose target was saved anew", viaLink(false), E::None, E::None, true},
        // Held without sharing on Windows, the file cannot be renamed or deleted there.
        {"renamed away while asked", [](TFolder&, auto& p) { fs::rename(p, p.string() + "~"); },
         E::None, E::Moved, false, true},
        {"deleted while asked", replace([](TFolder&, auto&) {}), E::None, E::Moved, false, true},
        {"a link to another tactic while asked",
         replace([](TFolder& f, auto& p) { fs::create_symlink(f.Other, p); }), E::None, E::Moved,
         false, true},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFolder folder;
        const fs::path path = FromUtf8(folder.Tactic);
        if (!c.WhileAsked)
            c.Change(folder, path);
        auto before = folder.Files();
        if (c.WhileAsked)
            folder.Asked = [&] { c.Change(folder, path), before = folder.Files(); };
        // Held after the look at the files, which it would deny on Windows.
        ASSERT_TRUE(!folder.Held || folder.Holder.Open(folder.Tactic, TCmDiskFile::TMode::Read, 0));
        {
            TCmSaveSession session;
            EXPECT_EQ(session.Open(folder.Tactic, folder.Stamp) && session.ChangedSinceLoad(),
                      c.Changed);
        }
        if (c.SaveError == E::None)
            continue;
        EXPECT_EQ(folder.Save().Error, c.SaveError);
        TCmTactic tactic = MarkedTactic();
        if (c.LoadError != E::None) {
            EXPECT_FALSE(tactic.Load(folder.Tactic) || tactic.Save(folder.Tactic));
            EXPECT_EQ(tactic.LastError(), c.LoadError);
            EXPECT_TRUE(SameTactic(tactic, MarkedTactic()));
        }
        folder.Holder.Close();
        EXPECT_EQ(folder.Files(), before);
    }
}

#ifndef _WIN32

// A file size limit below the region's end cuts the write short, as a failing
// disk would, and the roll-back with it: the checked save and the plain one
// both report it. The next save then keeps the reserve copy and writes over
// nothing but what that write left; a hard link is refused as ever. (A
// write undone is the kill test's.)
TEST(Save, FailedWriteKeepsTheReserveCopyForTheNextSave) {
    for (const bool changed : {false, true}) {
        SCOPED_TRACE(changed ? "another program's change" : "nothing else");
        TFolder folder;
        TCmSaveSession save;
        ASSERT_TRUE(save.Open(folder.Tactic, folder.Stamp) && save.MakeReserveCopy(folder.Reserve));
        rlimit before{};
        ::getrlimit(RLIMIT_FSIZE, &before);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit low{1000, before.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
        const bool written = save.Write(folder.Loaded, folder.Stamp);
        const bool plainWritten = folder.Loaded.Save(folder.Other);
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_FALSE(written || plainWritten);
        EXPECT_EQ(save.LastFailure().Error, E::WriteFailed);
        EXPECT_EQ(save.LastFailure().System, EFBIG);
        EXPECT_FALSE(save.LastFailure().RolledBack);
        EXPECT_EQ(folder.Loaded.LastError(), E::WriteFailed);
        EXPECT_TRUE(folder.Stamp.KeepReserve);
        if (changed)
            WriteFile(folder.Tactic, ReadFile(folder.Other));
        const auto files = folder.Files();
        EXPECT_EQ(folder.Save().Error, changed ? E::ChangedAfterFailure : E::None);
        EXPECT_EQ(folder.Stamp.KeepReserve, changed);
        if (!changed)
            EXPECT_EQ(ReadFile(folder.Tactic), folder.Encoded());
        else
            EXPECT_EQ(folder.Files(), files);
        EXPECT_EQ(ReadFile(folder.Reserve), folder.Original);
    }
}

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
    const std::string source = Utf8(writable.Dir.Path() / "my442.tct");
    WriteFile(source, folder.Original);
    ASSERT_EQ(::mount(source.c_str(), folder.Tactic.c_str(), nullptr, MS_BIND, nullptr), 0);
    ASSERT_TRUE(disk.MakeReadOnly());
    expect(E::ReserveFailed, EROFS);
    ASSERT_EQ(::umount2(folder.Tactic.c_str(), MNT_DETACH), 0);
    expect(E::CannotOpen, EROFS); // the tactic itself on a read-only disk
}

#endif

// Save a copy, by target ("=": a second name of the loaded file, "/": a
// folder), its folder and the answer before a file is replaced. The loaded
// file never changes; the folder gains the copy as the codec writes it (and
// the replaced file's reserve copy), or nothing, no temporary above all.
TEST(SaveCopy, WritesANewFileOrNothing) {
    enum TWhere { Beside, ReadOnly, Full };
    const std::tuple<const char*, TWhere, bool, E> rows[] = {
        {"copy.tct", Beside, true, E::None},
        {"other.tct", Beside, false, E::None},
        {"other.tct", Beside, true, E::None},
        {"my442.tct", Beside, true, E::CopyIsTactic},
        {"=", Beside, true, E::CopyIsTactic},
        {"/", Beside, true, E::TargetIsFolder},
        {"copy.tct", ReadOnly, true, E::FolderNotWritable},
        {"copy.tct", Full, true, E::DiskFull},
    };
    for (const auto& [name, where, answer, error] : rows) {
        SCOPED_TRACE(testing::Message() << name << " in folder " << where << ", answer " << answer);
        TFolder folder;
        fs::path root = folder.Root;
#ifndef _WIN32
        std::optional<TSmallDisk> disk;
        if (where != Beside) {
            disk.emplace(where == Full ? "size=4k" : "size=64k");
            if (!disk->Mounted || (where == ReadOnly && !disk->MakeReadOnly()))
                continue; // needs root, as the save's own full-disk test
            root = disk->Dir.Path();
            std::ofstream(root / "fill") << std::string(where == Full ? 4096 : 0, 'f');
        }
#else
        if (where != Beside)
            continue;
#endif
        std::string target = Utf8(root / (name[0] == '=' ? "link.tct" : name));
        if (name[0] == '=')
            fs::create_hard_link(folder.Tactic, target);
        if (name[0] == '/')
            fs::create_directory(target = Utf8(root / "sub.tct"));
        auto after = folder.Files(root);
        int asked = 0;
        TCmFileStamp stamp, copyStamp;
        TCmFailure failure;
        const bool saved = CmSaveCopy(
            folder.Loaded, folder.Tactic, folder.Stamp, target, Utf8(root / "OTHER.old"),
            [&](TCmCopyQuestion) { return ++asked, answer; }, stamp, failure);
        EXPECT_EQ(failure.Error, error);
        EXPECT_EQ(saved, error == E::None && answer);
        EXPECT_EQ(asked, name == std::string("other.tct"));
        EXPECT_EQ(ReadFile(folder.Tactic), folder.Original);
        if (saved && asked)
            after["OTHER.old"] = after["other.tct"];
        if (saved)
            after[Utf8(fs::path(target).filename())] = folder.Encoded();
        EXPECT_EQ(folder.Files(root), after);
        // The stamp is the copy's, so that the next save goes there unasked.
        TCmTactic copy;
        EXPECT_EQ(saved && copy.Load(target, copyStamp) && copyStamp.Id == stamp.Id &&
                      copyStamp.Region == stamp.Region && copyStamp.RealPath == stamp.RealPath,
                  saved);
    }
}

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
        return save.Open(argv[2], stamp) && save.MakeReserveCopy(argv[3]) &&
                       save.Write(tactic, stamp)
                   ? 0
                   : 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
