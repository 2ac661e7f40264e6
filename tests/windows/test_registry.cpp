// The installation lookup on the real registry API, against keys written the
// way the game's installer does. scripts/test-windows.sh writes each case's
// keys with Wine's `reg add`, then runs this suite with PW_REG_CASE naming it.
#include "tactic/Cm_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(RegistryWrittenByReg, LookupGivesWhatTheKeysSay) {
    const char* written = std::getenv("PW_REG_CASE");
    if (written == nullptr)
        GTEST_SKIP() << "no keys written (PW_REG_CASE unset)";
    const std::string none = TCmInfo::NotFound, error = "Invalid data type for '";
    const struct {
        std::string Name;
        bool Found;
        std::string Location, Version, Error, Tactics; // Tactics checked when given
    } cases[] = {
        // Taken as written: a trailing backslash stays, so the join doubles it.
        {"32-bit-view-only", true, R"(C:\Games\CM 00-01\)", "3.9.68", "",
         R"(C:\Games\CM 00-01\\tactics)"},
        // The installer is 32-bit: a key in the 64-bit view is no installation of it.
        {"64-bit-view-only", false, none, none, "", ""},
        {"absent", false, none, none, "", ""},
        {"no-location", true, "", "3.9.68", "", R"(\tactics)"},
        {"dword-location", false, "", "", error + "Location'", ""},
        {"binary-version", false, "", "", error + "Version'", ""},
        // REG_EXPAND_SZ counts as text, shown as stored; UTF-16 arrives as UTF-8.
        {"unicode-texts", true, "%SystemDrive%\\Spiele\\Fu\u00dfball \u26bd \U0001F600",
         "3.9.68 \u00e9dition", "", ""},
    };
    for (const auto& c : cases) {
        if (c.Name != written)
            continue;
        TCmInfo info{"stale", "stale", "stale"}; // everything in it is replaced
        EXPECT_EQ(info.ReadFromRegistry(), c.Found);
        EXPECT_EQ(info.Error, c.Error);
        if (c.Error.empty()) {
            EXPECT_EQ(info.Location, c.Location);
            EXPECT_EQ(info.Version, c.Version);
        }
        if (!c.Tactics.empty()) {
            EXPECT_EQ(info.TacticsFolder(), c.Tactics);
        }
        return;
    }
    FAIL() << "unknown case " << written;
}
