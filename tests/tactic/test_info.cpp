// The installation lookup: the Wine registry parser on its own, then TCmInfo
// against Wine prefixes that the tests write into temporary folders.
#include "Cm_info.h"
#include "Cm_winereg.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;
using CmWineReg::FindGameKey;
using CmWineReg::ParseEscaped;
using CmWineReg::Utf16ToUtf8;
using CmWineReg::WindowsToUnixPath;

namespace {

const std::string NotFound = TCmInfo::NotFound;
const std::string Key =
    "[Software\\\\Sports Interactive Ltd\\\\Championship Manager 00-01] 1700000000\n";
const std::string Wow64Key = "[Software\\\\Wow6432Node\\\\Sports Interactive Ltd\\\\Championship "
                             "Manager 00-01] 1700000000\n";
const std::string GameValues = "\"Location\"=\"C:\\\\CM0001\"\n\"Version\"=\"1.0\"\n";

// A system.reg as Wine writes it, around the given keys and values.
std::string Registry(const std::string& body, const char* arch = "win32") {
    return std::string("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=") +
           arch +
           "\n\n[Software\\\\Classes] 1700000000\n#time=1d9\n\"Location\"=\"elsewhere\"\n\n" + body;
}

std::optional<std::string> Escaped(const std::string& text) {
    std::size_t next = 0;
    const auto units = ParseEscaped(text, '"', next);
    if (!units)
        return std::nullopt;
    return Utf16ToUtf8(*units);
}

// The "Location" value of the game's key in a registry with one value line.
std::optional<CmWineReg::TValue> Location(const std::string& line, const char* arch = "win32") {
    const auto values = FindGameKey(Registry(Key + line + "\n", arch));
    if (!values || !values->contains("location"))
        return std::nullopt;
    return values->at("location");
}

} // namespace

TEST(WineRegText, UnescapesAsWineWrites) {
    EXPECT_EQ(Escaped(R"(C:\\CM0001")"), R"(C:\CM0001)");
    EXPECT_EQ(Escaped(R"(say \"hi\"")"), R"(say "hi")");
    EXPECT_EQ(Escaped(R"(\a\b\e\f\n\r\t\v")"), "\a\b\x1b\f\n\r\t\v");
    // \x takes up to four hex digits, octal up to three.
    EXPECT_EQ(Escaped(R"(\x41\x263a\x00e9f")"), "A\u263a\u00e9f");
    EXPECT_EQ(Escaped(R"(\101\60\0128")"), std::string("A0\n8"));
    // Bytes above 127 are code units of their own; surrogate pairs join, a lone one is U+FFFD.
    EXPECT_EQ(Escaped("caf\xe9\""), "caf\u00e9");
    EXPECT_EQ(Escaped(R"(\xd83d\xde00\xd83dx")"), "\U0001F600\uFFFDx");
    // Without its closing quote (an escaped one does not count) there is no text.
    EXPECT_FALSE(Escaped("escaped \\\" only"));
    EXPECT_FALSE(Escaped("ends in a backslash\\"));
}

TEST(WineRegKey, FindsTheGameKeyWhereWineKeepsIt) {
    // Key and value names match case-insensitively, as in Wine.
    const auto values = FindGameKey(
        Registry("[software\\\\SPORTS interactive LTD\\\\championship manager 00-01] 1\r\n"
                 "\"LOCATION\"=\"X\"\r\n\"version\"=\"1.0\"\r\n"));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->at("location").Text, "X");
    EXPECT_EQ(values->at("version").Text, "1.0");
    // A 64-bit prefix: the 32-bit installer's Wow6432Node key first, the plain one else.
    const std::string both =
        Key + "\"Location\"=\"plain\"\n\n" + Wow64Key + "\"Location\"=\"wow\"\n";
    EXPECT_EQ(FindGameKey(Registry(both, "win64"))->at("location").Text, "wow");
    EXPECT_EQ(FindGameKey(Registry(both))->at("location").Text, "plain");
    EXPECT_FALSE(FindGameKey(Registry(Wow64Key)));
    // Only the full key of a real registry counts.
    EXPECT_FALSE(FindGameKey(Registry("[Software\\\\Sports Interactive Ltd] 1\n" + GameValues)));
    EXPECT_FALSE(FindGameKey(Registry(Key.substr(0, 60))));
    EXPECT_FALSE(FindGameKey("REGEDIT4\n" + Key + GameValues));
    EXPECT_FALSE(FindGameKey(""));
}

TEST(WineRegKey, TextValuesAndOthers) {
    for (const auto& [line, text] :
         {std::pair{R"("Location"="C:\\Games\\CM")", "C:\\Games\\CM"},
          std::pair{R"("Location"=str:"C:\\A")", "C:\\A"},
          std::pair{R"("Location"=str(2):"%ProgramFiles%\\CM")", "%ProgramFiles%\\CM"},
          // Text stops at an embedded NUL, as a reader of a C string sees it.
          std::pair{R"("Location"="C:\\CM\0junk")", "C:\\CM"},
          // A string without its terminating NUL is written as hex(1): still text.
          std::pair{"\"Location\"=hex(1):43,00,3a,00,5c,00,\\\n  43,00,4d,00", "C:\\CM"}}) {
        const auto value = Location(line);
        ASSERT_TRUE(value && value->IsText) << line;
        EXPECT_EQ(value->Text, text) << line;
    }
    for (const char* other :
         {R"("Location"=dword:0000000a)", R"("Location"=hex:43,00)", R"("Location"=str(7):"a\0b")"})
        EXPECT_FALSE(Location(other)->IsText) << other;
    // Lines Wine would reject as well leave the value absent.
    for (const char* broken : {R"("Location"="C:\\CM00)", R"("Location")", R"("Locat)"})
        EXPECT_FALSE(Location(broken)) << broken;
}

#ifndef _WIN32

namespace {

// A Wine prefix in a temporary folder: system.reg, drive_c and dosdevices.
class TPrefix {
public:
    explicit TPrefix(const std::string& systemReg, bool cLink = true) {
        std::ofstream(Dir.Path() / "system.reg", std::ios::binary) << systemReg;
        fs::create_directories(Dir.Path() / "drive_c" / "CM0001" / "tactics");
        fs::create_directories(Dir.Path() / "dosdevices");
        if (cLink)
            fs::create_directory_symlink("../drive_c", Dir.Path() / "dosdevices" / "c:");
    }
    std::string Str() const { return Dir.Path().string(); }
    std::string Real(const fs::path& sub) const { return fs::canonical(Dir.Path() / sub).string(); }
    const fs::path& Path() const { return Dir.Path(); }

private:
    pwtest::TTempDir Dir;
};

// Sets or unsets one environment variable for the life of the guard.
class TEnv {
public:
    TEnv(const char* name, const char* value)
        : Name(name) {
        if (const char* old = std::getenv(name))
            Old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~TEnv() { Old ? setenv(Name.c_str(), Old->c_str(), 1) : unsetenv(Name.c_str()); }
    TEnv(const TEnv&) = delete;
    TEnv& operator=(const TEnv&) = delete;

private:
    std::string Name;
    std::optional<std::string> Old;
};

} // namespace

TEST(WinePath, DrivesThroughDosdevices) {
    TPrefix prefix("", false);
    // No c: link: drive_c is where Wine keeps it.
    EXPECT_EQ(WindowsToUnixPath(prefix.Str(), "C:\\CM0001"), prefix.Real("drive_c") + "/CM0001");
    fs::create_directories(prefix.Path() / "games" / "cm");
    fs::create_directory_symlink(prefix.Path() / "games", prefix.Path() / "dosdevices" / "d:");
    EXPECT_EQ(WindowsToUnixPath(prefix.Str(), "d:\\cm\\Tactics\\"),
              prefix.Real("games") + "/cm/Tactics/");
    // No drive letter: only the separators change.
    EXPECT_EQ(WindowsToUnixPath(prefix.Str(), "\\\\server\\share\\CM"), "//server/share/CM");
}

TEST(TCmInfo, FindsTheGameInAPrefix) {
    const TPrefix prefix(Registry(Key + GameValues));
    TCmInfo info;
    EXPECT_TRUE(info.ReadFromWinePrefix(prefix.Str()));
    EXPECT_EQ(info.Location, prefix.Real("drive_c/CM0001"));
    EXPECT_EQ(info.Version, "1.0");
    EXPECT_EQ(info.TacticsFolder(), prefix.Real("drive_c/CM0001/tactics"));

    // A trailing backslash is kept: two separators come before "tactics".
    const TPrefix wow(Registry(Wow64Key + "\"Location\"=\"C:\\\\CM0001\\\\\"\n", "win64"), false);
    EXPECT_TRUE(info.ReadFromWinePrefix(wow.Str()));
    EXPECT_EQ(info.TacticsFolder(), wow.Real("drive_c") + "/CM0001//tactics");
    EXPECT_EQ(info.Version, "");

    // Missing values are empty texts, no error.
    const TPrefix bare(Registry(Key));
    EXPECT_TRUE(info.ReadFromWinePrefix(bare.Str()));
    EXPECT_EQ(info.Location, "");
    EXPECT_EQ(info.TacticsFolder(), "/tactics");
}

TEST(TCmInfo, ValueOfAnotherTypeIsAnError) {
    TCmInfo info;
    const TPrefix dword(Registry(Key + "\"Location\"=dword:0000000a\n\"Version\"=\"1.0\"\n"));
    EXPECT_FALSE(info.ReadFromWinePrefix(dword.Str()));
    EXPECT_EQ(info.Error, "Invalid data type for 'Location'");
    const TPrefix hex(Registry(Key + "\"Location\"=\"C:\\\\CM0001\"\n\"Version\"=hex:31,00\n"));
    EXPECT_FALSE(info.ReadFromWinePrefix(hex.Str()));
    EXPECT_EQ(info.Error, "Invalid data type for 'Version'");
    // A later good lookup clears the error.
    const TPrefix good(Registry(Key + GameValues));
    EXPECT_TRUE(info.ReadFromWinePrefix(good.Str()));
    EXPECT_EQ(info.Error, "");
}

TEST(TCmInfo, NotFound) {
    const TPrefix noKey(Registry("[Software\\\\Other] 1\n" + GameValues));
    const TPrefix noRegistry(std::string("\x7f"
                                         "ELF\0\0garbage",
                                         12));
    for (const std::string& prefix :
         {std::string(), noKey.Str(), noRegistry.Str(), noKey.Str() + "/missing"}) {
        TCmInfo info;
        EXPECT_FALSE(info.ReadFromWinePrefix(prefix)) << prefix;
        EXPECT_EQ(info.Location, NotFound) << prefix;
        EXPECT_EQ(info.Version, NotFound) << prefix;
        EXPECT_EQ(info.Error, "") << prefix;
    }
}

TEST(TCmInfo, ReadFromRegistryUsesWinePrefixElseHomeWine) {
    const TPrefix prefix(Registry(Key + "\"Location\"=\"C:\\\\FromPrefix\"\n"));
    pwtest::TTempDir home;
    fs::create_directory(home.Path() / ".wine");
    std::ofstream(home.Path() / ".wine" / "system.reg")
        << Registry(Key + "\"Location\"=\"D:\\\\FromHome\"\n");
    const TEnv homeEnv("HOME", home.Path().c_str());
    TCmInfo info;
    {
        const TEnv wine("WINEPREFIX", prefix.Str().c_str());
        EXPECT_TRUE(info.ReadFromRegistry());
        EXPECT_EQ(info.Location, prefix.Real("drive_c") + "/FromPrefix");
    }
    const TEnv wine("WINEPREFIX", nullptr);
    EXPECT_TRUE(info.ReadFromRegistry());
    EXPECT_EQ(info.Location,
              fs::canonical(home.Path() / ".wine").string() + "/dosdevices/d:/FromHome");
    const TEnv noHome("HOME", nullptr);
    EXPECT_FALSE(info.ReadFromRegistry());
}

#endif
