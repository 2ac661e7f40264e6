// Arbitrary bytes as a tactic file: Load and Save must never crash, never
// grow or shrink the file, never touch a byte outside 313..1460, and a
// second Load and Save must change nothing more.
#include "Cm_file.h"
#include "Cm_tactic.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class TBufferFile final : public TCmFile {
public:
    explicit TBufferFile(std::vector<uint8_t> bytes)
        : Bytes(std::move(bytes)) {}

    bool Seek(int64_t offset) override {
        if (offset < 0 || offset > static_cast<int64_t>(Bytes.size()))
            return false;
        Position = static_cast<std::size_t>(offset);
        return true;
    }
    bool ReadWord(uint32_t& word) override {
        if (Position + 4 > Bytes.size())
            return false;
        word = static_cast<uint32_t>(Bytes[Position]) |
               static_cast<uint32_t>(Bytes[Position + 1]) << 8 |
               static_cast<uint32_t>(Bytes[Position + 2]) << 16 |
               static_cast<uint32_t>(Bytes[Position + 3]) << 24;
        Position += 4;
        return true;
    }
    bool WriteWord(uint32_t word) override {
        if (Position + 4 > Bytes.size())
            return false;
        for (int i = 0; i < 4; ++i)
            Bytes[Position++] = static_cast<uint8_t>(word >> (8 * i));
        return true;
    }

    const std::vector<uint8_t>& Data() const { return Bytes; }

private:
    std::vector<uint8_t> Bytes;
    std::size_t Position = 0;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<uint8_t> original(data, data + size);
    TBufferFile file(original);
    TCmTactic tactic;
    const TCmTactic before = tactic;
    if (!tactic.Load(file)) {
        // A refused file leaves the tactic as it was.
        Check(tactic.TeamInstr == before.TeamInstr);
        Check(tactic.Players[0].Instr == before.Players[0].Instr);
        return 0;
    }
    Check(size >= 1461);
    Check(tactic.Save(file));
    const std::vector<uint8_t>& once = file.Data();
    Check(once.size() == original.size());
    Check(std::memcmp(once.data(), original.data(), 313) == 0);
    Check(std::memcmp(once.data() + 1461, original.data() + 1461, size - 1461) == 0);

    TBufferFile again(once);
    TCmTactic reloaded;
    Check(reloaded.Load(again));
    Check(reloaded.Save(again));
    Check(again.Data() == once);
    return 0;
}
