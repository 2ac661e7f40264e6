#pragma once

// Helpers of the data layer tests: temporary folders, tactic files made by the
// tests themselves, and an in-memory file that fails on demand.

#include "Cm_file.h"
#include "Cm_tactic.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pwtest {

using TBytes = std::vector<uint8_t>;
using TWordAt = std::pair<size_t, uint32_t>;

// The byte range a tactic's codec owns.
inline constexpr size_t FirstOwnByte = 313;
inline constexpr size_t LastOwnByte = 1460;

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    // The UTF-8 path of an entry of the folder, as Load and Save take it.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path Root;
};

std::string Utf8(const std::filesystem::path& path);

// size bytes of a recognisable pattern (byte i = i * 7 + 3), with the given
// little-endian words laid over it.
TBytes MakeBytes(size_t size, const std::vector<TWordAt>& words = {});
TBytes RandomBytes(size_t size, uint32_t seed);
void PutWord(TBytes& bytes, size_t offset, uint32_t word);
uint32_t GetWord(const TBytes& bytes, size_t offset);

void WriteFile(const std::string& fileName, const TBytes& bytes);
TBytes ReadFile(const std::string& fileName);

// Offsets of player n's words (n = 1..11).
size_t WordAAt(int n);
size_t WordBAt(int n);
size_t WithBallAt(int n, int zone);
size_t WithoutBallAt(int n, int zone);
inline constexpr size_t TeamWordAt = 1369;

// A tactic file in memory. It can be told to fail once a given number of
// bytes has been moved (reads and writes together) or from its Kth seek on
// (counting from 1); it never grows, and it keeps a log of every access.
class TMemoryFile final : public TCmFile {
public:
    enum class TOp { Seek, Read, Write };
    struct TAccess {
        TOp Op;
        int64_t Offset;
        friend bool operator==(const TAccess&, const TAccess&) = default;
    };

    explicit TMemoryFile(TBytes bytes)
        : Bytes(std::move(bytes)) {}

    std::optional<size_t> FailAfterBytes;
    std::optional<size_t> FailOnSeek;

    bool Seek(int64_t offset) override;
    bool ReadWord(uint32_t& word) override;
    bool WriteWord(uint32_t word) override;

    const TBytes& Data() const { return Bytes; }
    const std::vector<TAccess>& Log() const { return Accesses; }
    size_t BytesMoved() const { return Moved; }
    size_t Seeks() const { return SeekCount; }

private:
    bool Move();

    TBytes Bytes;
    int64_t Position = 0;
    size_t Moved = 0;
    size_t SeekCount = 0;
    std::vector<TAccess> Accesses;
};

// Field by field comparison of two tactics, for "nothing changed" checks.
bool SameTactic(const TCmTactic& a, const TCmTactic& b);

// A tactic with every text and position set to something a load would not
// produce, so that any change by a failed load shows.
TCmTactic MarkedTactic();

} // namespace pwtest
