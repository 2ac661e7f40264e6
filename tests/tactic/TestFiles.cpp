#include "TestFiles.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <stdexcept>

namespace pwtest {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

TTempDir::TTempDir() {
    std::random_device device;
    std::mt19937_64 random(
        device() ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("pw-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            Root = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    fs::permissions(Root, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(Root, ignored);
}

std::string TTempDir::File(const std::string& name) const {
    // The name is UTF-8; a plain std::string would be read in the ANSI code page on Windows.
    return Utf8(Root / fs::path(std::u8string(name.begin(), name.end())));
}

TBytes MakeBytes(size_t size, const std::vector<TWordAt>& words) {
    TBytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    for (const auto& [offset, word] : words)
        PutWord(bytes, offset, word);
    return bytes;
}

TBytes RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    TBytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

void PutWord(TBytes& bytes, size_t offset, uint32_t word) {
    for (size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(word >> (8 * i));
}

uint32_t GetWord(const TBytes& bytes, size_t offset) {
    uint32_t word = 0;
    for (size_t i = 0; i < 4; ++i)
        word |= static_cast<uint32_t>(bytes.at(offset + i)) << (8 * i);
    return word;
}

void WriteFile(const std::string& fileName, const TBytes& bytes) {
    std::ofstream out(fs::path(std::u8string(fileName.begin(), fileName.end())),
                      std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + fileName);
}

TBytes ReadFile(const std::string& fileName) {
    std::ifstream in(fs::path(std::u8string(fileName.begin(), fileName.end())), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + fileName);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t WordAAt(int n) {
    return 1365 + 8 * static_cast<size_t>(n);
}
size_t WordBAt(int n) {
    return 1369 + 8 * static_cast<size_t>(n);
}
size_t WithBallAt(int n, int zone) {
    return 265 + 96 * static_cast<size_t>(n) + 4 * zone;
}
size_t WithoutBallAt(int n, int zone) {
    return 217 + 96 * static_cast<size_t>(n) + 4 * zone;
}

bool TMemoryFile::Seek(int64_t offset) {
    ++SeekCount;
    Accesses.push_back({TOp::Seek, offset});
    if ((FailOnSeek && SeekCount >= *FailOnSeek) || offset < 0 ||
        offset > static_cast<int64_t>(Bytes.size()))
        return false;
    Position = offset;
    return true;
}

bool TMemoryFile::Move() {
    if (Position + 4 > static_cast<int64_t>(Bytes.size()))
        return false;
    if (FailAfterBytes && Moved + 4 > *FailAfterBytes) {
        // The bytes that still fit do move, as a short transfer would.
        Moved = std::max(Moved, *FailAfterBytes);
        return false;
    }
    Moved += 4;
    return true;
}

bool TMemoryFile::ReadWord(uint32_t& word) {
    Accesses.push_back({TOp::Read, Position});
    if (!Move())
        return false;
    word = GetWord(Bytes, static_cast<size_t>(Position));
    Position += 4;
    return true;
}

bool TMemoryFile::WriteWord(uint32_t word) {
    Accesses.push_back({TOp::Write, Position});
    const size_t fit = FailAfterBytes && *FailAfterBytes > Moved ? *FailAfterBytes - Moved : 0;
    const int64_t at = Position;
    if (!Move()) {
        // A short write leaves its first bytes in the file.
        for (size_t i = 0;
             i < fit && i < 4 && at + static_cast<int64_t>(i) < static_cast<int64_t>(Bytes.size());
             ++i)
            Bytes[static_cast<size_t>(at) + i] = static_cast<uint8_t>(word >> (8 * i));
        return false;
    }
    PutWord(Bytes, static_cast<size_t>(Position), word);
    Position += 4;
    return true;
}

bool SameTactic(const TCmTactic& a, const TCmTactic& b) {
    if (a.TeamInstr != b.TeamInstr)
        return false;
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        const TCmPlayer& p = a.Players[i];
        const TCmPlayer& q = b.Players[i];
        if (p.NumberText != q.NumberText || p.Number != q.Number || p.Instr != q.Instr ||
            p.WithBall != q.WithBall || p.WithoutBall != q.WithoutBall)
            return false;
    }
    return true;
}

TCmTactic MarkedTactic() {
    TCmTactic tactic;
    for (std::string& text : tactic.TeamInstr)
        text = "old team";
    for (TCmPlayer& player : tactic.Players) {
        for (std::string& text : player.Instr)
            text = "old " + player.NumberText;
        for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
            player.WithBall[z] = {300 + z, -1};
            player.WithoutBall[z] = {-2, 400 + z};
        }
    }
    return tactic;
}

} // namespace pwtest
