// Arbitrary text as a Wine prefix's system.reg and as a Lutris game's file:
// the lookup's parsers must never crash or read out of bounds, whatever the
// escapes and line ends.
#include "tactic/Cm_gamesearch.h"
#include "tactic/Cm_winereg.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto values = CmWineReg::FindGameKey(text))
        for (const auto& [name, value] : *values)
            if (value.IsText)
                (void)CmWineReg::WindowsToUnixPath("/nonexistent-prefix", value.Text);
    (void)CmGameSearch::LutrisPrefix(text, "/home/player");
    return 0;
}
