// Arbitrary bytes as a tactic file: Load and Save must never crash, never
// grow or shrink the file, never touch a byte outside 313..1460, and a
// second Load and Save must change nothing more.
#include "tactic/Cm_file.h"
#include "tactic/Cm_tactic.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<uint8_t> original(data, data + size);
    TCmMemoryFile file(original);
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

    TCmMemoryFile again(once);
    TCmTactic reloaded;
    Check(reloaded.Load(again));
    Check(reloaded.Save(again));
    Check(again.Data() == once);
    return 0;
}
