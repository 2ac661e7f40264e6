// The installation lookup on the real registry API, against keys that another
// program wrote the way the game's installer does. scripts/test-windows.sh
// writes each case's keys with Wine's `reg add`, then runs this suite with
// PW_REG_CASE naming the case. Without PW_REG_CASE there are no keys to look at.

#include "Cm_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct TCase {
    const char* Name;
    bool Found;
    std::string Location, Version, Error;
};

const std::string NotFound = TCmInfo::NotFound;

const TCase Cases[] = {
    // Taken as written: a trailing backslash stays, so the join doubles it.
    {"32-bit-view-only", true, R"(C:\Games\CM 00-01\)", "3.9.68", ""},
    // The game's installer is 32-bit: a key in the 64-bit view is no installation of it.
    {"64-bit-view-only", false, NotFound, NotFound, ""},
    {"absent", false, NotFound, NotFound, ""},
    {"no-location", true, "", "3.9.68", ""},
    {"dword-location", false, "", "", "Invalid data type for 'Location'"},
    {"binary-version", false, R"(C:\Games\CM 00-01)", "", "Invalid data type for 'Version'"},
    // REG_EXPAND_SZ counts as text, shown as stored; UTF-16 arrives as UTF-8.
    {"unicode-texts", true, "%SystemDrive%\\Spiele\\Fu\u00dfball \u26bd \U0001F600",
     "3.9.68 \u00e9dition", ""},
};

} // namespace

TEST(RegistryWrittenByReg, LookupGivesWhatTheKeysSay) {
    const char* written = std::getenv("PW_REG_CASE");
    if (written == nullptr)
        GTEST_SKIP() << "no keys written (PW_REG_CASE unset)";
    const TCase* found = nullptr;
    for (const TCase& c : Cases)
        if (std::string(written) == c.Name)
            found = &c;
    ASSERT_NE(found, nullptr) << "unknown case " << written;

    // An object left over from an earlier lookup: everything in it is replaced.
    TCmInfo info;
    info.Location = "stale";
    info.Version = "stale";
    info.Error = "stale";
    EXPECT_EQ(info.ReadFromRegistry(), found->Found);
    EXPECT_EQ(info.Error, found->Error);
    if (found->Error.empty()) {
        EXPECT_EQ(info.Location, found->Location);
        EXPECT_EQ(info.Version, found->Version);
    }
    if (std::string(written) == "32-bit-view-only") {
        EXPECT_EQ(info.TacticsFolder(), R"(C:\Games\CM 00-01\\tactics)");
    }
    if (std::string(written) == "no-location") {
        EXPECT_EQ(info.TacticsFolder(), R"(\tactics)");
    }
}
