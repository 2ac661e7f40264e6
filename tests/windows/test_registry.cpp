// The installation lookup on the real registry API, against keys that another
// program wrote the way the game's installer does. scripts/test-windows.sh
// writes each case's keys with Wine's `reg add`, then runs this suite with
// PW_REG_CASE naming the case; each test checks its own case and skips the
// others. Without PW_REG_CASE there are no keys to look at, so all skip.

#include "Cm_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const std::string NotFound = TCmInfo::NotFound;

bool IsCase(std::string_view name) {
    const char* written = std::getenv("PW_REG_CASE");
    return written != nullptr && name == written;
}

// An object left over from an earlier lookup: everything in it must be replaced.
TCmInfo Stale() {
    TCmInfo info;
    info.Location = "stale location";
    info.Version = "stale version";
    info.Error = "stale error";
    return info;
}

} // namespace

TEST(RegistryWrittenByReg, KeyIn32BitViewIsFound) {
    if (!IsCase("32-bit-view-only"))
        GTEST_SKIP() << "keys for case 32-bit-view-only not written";
    TCmInfo info = Stale();
    EXPECT_TRUE(info.ReadFromRegistry());
    EXPECT_EQ(info.Error, "");
    // Taken as written: the trailing backslash stays, so the join doubles it.
    EXPECT_EQ(info.Location, R"(C:\Games\CM 00-01\)");
    EXPECT_EQ(info.Version, "3.9.68");
    EXPECT_EQ(info.TacticsFolder(), R"(C:\Games\CM 00-01\\tactics)");
}

TEST(RegistryWrittenByReg, KeyOnlyIn64BitViewIsNotFound) {
    if (!IsCase("64-bit-view-only"))
        GTEST_SKIP() << "keys for case 64-bit-view-only not written";
    // The game's installer is 32-bit, so a key in the 64-bit view is no
    // installation of it.
    TCmInfo info = Stale();
    EXPECT_FALSE(info.ReadFromRegistry());
    EXPECT_EQ(info.Location, NotFound);
    EXPECT_EQ(info.Version, NotFound);
    EXPECT_EQ(info.Error, "");
}

TEST(RegistryWrittenByReg, AbsentKeyIsNotFound) {
    if (!IsCase("absent"))
        GTEST_SKIP() << "keys for case absent not written";
    TCmInfo info = Stale();
    EXPECT_FALSE(info.ReadFromRegistry());
    EXPECT_EQ(info.Location, NotFound);
    EXPECT_EQ(info.Version, NotFound);
    EXPECT_EQ(info.Error, "");
}

TEST(RegistryWrittenByReg, MissingLocationIsAnEmptyText) {
    if (!IsCase("no-location"))
        GTEST_SKIP() << "keys for case no-location not written";
    TCmInfo info = Stale();
    EXPECT_TRUE(info.ReadFromRegistry());
    EXPECT_EQ(info.Error, "");
    EXPECT_EQ(info.Location, "");
    EXPECT_EQ(info.Version, "3.9.68");
    EXPECT_EQ(info.TacticsFolder(), R"(\tactics)");
}

TEST(RegistryWrittenByReg, LocationOfAnotherTypeIsAnError) {
    if (!IsCase("dword-location"))
        GTEST_SKIP() << "keys for case dword-location not written";
    TCmInfo info = Stale();
    EXPECT_FALSE(info.ReadFromRegistry());
    EXPECT_EQ(info.Error, "Invalid data type for 'Location'");
}

TEST(RegistryWrittenByReg, VersionOfAnotherTypeIsAnError) {
    if (!IsCase("binary-version"))
        GTEST_SKIP() << "keys for case binary-version not written";
    TCmInfo info = Stale();
    EXPECT_FALSE(info.ReadFromRegistry());
    EXPECT_EQ(info.Error, "Invalid data type for 'Version'");
}

TEST(RegistryWrittenByReg, TextsArriveAsUtf8AndUnexpanded) {
    if (!IsCase("unicode-texts"))
        GTEST_SKIP() << "keys for case unicode-texts not written";
    TCmInfo info = Stale();
    EXPECT_TRUE(info.ReadFromRegistry());
    EXPECT_EQ(info.Error, "");
    // REG_EXPAND_SZ counts as text; the editor shows the path as stored.
    EXPECT_EQ(info.Location, "%SystemDrive%\\Spiele\\Fu\u00dfball \u26bd \U0001F600");
    EXPECT_EQ(info.Version, "3.9.68 \u00e9dition");
}
