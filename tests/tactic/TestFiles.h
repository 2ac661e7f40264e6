#pragma once

// Helpers of the data layer tests: temporary folders, files made by the tests
// themselves, and a tactic file that fails on demand.

#include "tactic/Cm_file.h"
#include "tactic/Cm_tactic.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/mount.h>
#endif

namespace pwtest {

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;

inline std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// The name is UTF-8; a plain std::string would be read in the ANSI code page on Windows.
inline fs::path FromUtf8(const std::string& name) {
    return std::u8string(name.begin(), name.end());
}

// A fresh folder under the system's temporary folder, removed with its contents.
struct TTempDir {
    TTempDir() { fs::create_directory(Root); }
    TTempDir(const TTempDir&) = delete; // one owner removes it
    ~TTempDir() {
        std::error_code ignored;
        fs::permissions(Root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(Root, ignored);
    }
    const fs::path& Path() const { return Root; }
    std::string File(const std::string& name) const { return Utf8(Root / FromUtf8(name)); }
    const fs::path Root =
        fs::temp_directory_path() / ("pw-test-" + std::to_string(std::random_device()()));
};

#ifndef _WIN32
// A small file system of our own, where the machine lets us mount one (as
// root): a disk that fills up, or one made read-only.
struct TSmallDisk {
    explicit TSmallDisk(const char* options)
        : Mounted(::mount("pw-test", Dir.Path().c_str(), "tmpfs", 0, options) == 0) {}
    ~TSmallDisk() {
        if (Mounted)
            ::umount2(Dir.Path().c_str(), MNT_DETACH);
    }
    bool MakeReadOnly() const {
        return ::mount(nullptr, Dir.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    TTempDir Dir;
    bool Mounted;
};
#endif

inline TBytes RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    TBytes bytes(size);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<uint8_t>(random()); });
    return bytes;
}

inline void PutWord(TBytes& bytes, size_t at, uint32_t word) {
    for (size_t i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<uint8_t>(word >> (8 * i));
}

inline uint32_t GetWord(const TBytes& bytes, size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
           static_cast<uint32_t>(bytes.at(at + 3)) << 24;
}

inline void WriteFile(const std::string& name, const TBytes& bytes) {
    std::ofstream(FromUtf8(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
}

inline TBytes ReadFile(const std::string& name) {
    std::ifstream in(FromUtf8(name), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A tactic file in memory whose Kth access (seek, read or write, from 0)
// fails, and only that one: a failure must not be passed over.
struct TFaultyFile final : TCmFile {
    TFaultyFile(TBytes bytes, size_t failAt)
        : File(std::move(bytes))
        , FailAt(failAt) {}
    bool Seek(int64_t offset) override { return Ok() && File.Seek(offset); }
    bool ReadWord(uint32_t& word) override { return Ok() && File.ReadWord(word); }
    bool WriteWord(uint32_t word) override { return Ok() && File.WriteWord(word); }
    bool Ok() { return Accesses++ != FailAt; }
    TCmMemoryFile File;
    size_t FailAt, Accesses = 0;
};

inline bool SameTactic(const TCmTactic& a, const TCmTactic& b) {
    return a.Players == b.Players && a.TeamInstr == b.TeamInstr;
}

// Texts and positions no load would give, so that any change by a failed load shows.
inline TCmTactic MarkedTactic() {
    TCmTactic tactic;
    tactic.TeamInstr.fill("old team");
    for (TCmPlayer& player : tactic.Players) {
        player.Instr.fill("old " + player.NumberText);
        player.WithBall.fill({300, -1});
        player.WithoutBall.fill({-2, 400});
    }
    return tactic;
}

} // namespace pwtest
