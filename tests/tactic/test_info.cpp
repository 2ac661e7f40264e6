// The installation lookup: the Wine registry parser on its own, then TCmInfo
// against Wine prefixes that the tests write into temporary folders.
#include "Cm_info.h"
#include "Cm_winereg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
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

std::optional<CmWineReg::TValue> Value(const std::string& systemReg, const std::string& name) {
    const auto values = FindGameKey(systemReg);
    if (!values)
        return std::nullopt;
    const auto it = values->find(name);
    if (it == values->end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> TextValue(const std::string& line) {
    const auto value = Value(Registry(Key + line + "\n"), "location");
    if (!value || !value->IsText)
        return std::nullopt;
    return value->Text;
}

} // namespace

TEST(WineRegText, UnescapesAsWineWrites) {
    EXPECT_EQ(Escaped(R"(C:\\CM0001")"), R"(C:\CM0001)");
    EXPECT_EQ(Escaped(R"(say \"hi\"")"), R"(say "hi")");
    EXPECT_EQ(Escaped(R"(\a\b\e\f\n\r\t\v")"), "\a\b\x1b\f\n\r\t\v");
    // \x takes up to four hex digits; what follows is plain text again.
    EXPECT_EQ(Escaped(R"(\x41\x263a\x00e9f")"), "A\u263a\u00e9f");
    EXPECT_EQ(Escaped(R"(\x")"), "x");
    // Octal takes up to three digits.
    EXPECT_EQ(Escaped(R"(\101\60\0128")"), std::string("A0\n8"));
    EXPECT_EQ(Escaped(R"(a\0b")"), std::string("a\0b", 3));
    EXPECT_EQ(Escaped(R"(\q")"), "q");
    // Bytes above 127 are code units of their own (Latin-1), as Wine reads them.
    EXPECT_EQ(Escaped("caf\xe9\""), "caf\u00e9");
    // Surrogate pairs join; a lone surrogate becomes U+FFFD.
    EXPECT_EQ(Escaped(R"(\xd83d\xde00")"), "\U0001F600");
    EXPECT_EQ(Escaped(R"(\xd83dx")"), "\uFFFDx");
}

TEST(WineRegText, NeedsItsClosingDelimiter) {
    std::size_t next = 0;
    EXPECT_FALSE(ParseEscaped("no end", '"', next));
    EXPECT_FALSE(ParseEscaped("ends in a backslash\\", '"', next));
    EXPECT_FALSE(ParseEscaped("escaped \\\" only", '"', next));
    ASSERT_TRUE(ParseEscaped("name\\]x] 123", ']', next));
    EXPECT_EQ(next, 8u);
    EXPECT_EQ(Utf16ToUtf8(*ParseEscaped("name\\]x] 123", ']', next)), "name]x");
}

TEST(WineRegKey, FindsTheGameKeyCaseInsensitively) {
    const auto exact = Value(Registry(Key + "\"Location\"=\"C:\\\\CM0001\"\n"), "location");
    ASSERT_TRUE(exact);
    EXPECT_TRUE(exact->IsText);
    EXPECT_EQ(exact->Text, "C:\\CM0001");

    const std::string mixedCase =
        "[software\\\\SPORTS interactive LTD\\\\championship manager "
        "00-01] 1700000000\r\n\"LOCATION\"=\"X\"\r\n\"version\"=\"1.0\"\r\n";
    const auto values = FindGameKey(Registry(mixedCase));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->at("location").Text, "X");
    EXPECT_EQ(values->at("version").Text, "1.0");
}

TEST(WineRegKey, PrefersTheWow6432NodeKeyInA64BitPrefix) {
    const std::string both =
        Key + "\"Location\"=\"plain\"\n\n" + Wow64Key + "\"Location\"=\"wow\"\n";
    EXPECT_EQ(Value(Registry(both, "win64"), "location")->Text, "wow");
    EXPECT_EQ(Value(Registry(Key + "\"Location\"=\"plain\"\n", "win64"), "location")->Text,
              "plain");
    // A 32-bit prefix has no redirection: the Wow6432Node key is no answer there.
    EXPECT_EQ(Value(Registry(both), "location")->Text, "plain");
    EXPECT_FALSE(FindGameKey(Registry(Wow64Key + "\"Location\"=\"wow\"\n")));
}

TEST(WineRegKey, AbsentOrNoRegistry) {
    EXPECT_FALSE(
        FindGameKey(Registry("[Software\\\\Sports Interactive Ltd] 1\n\"Location\"=\"x\"\n")));
    // Only the full key counts, not one below or above it.
    EXPECT_FALSE(FindGameKey(
        Registry("[Software\\\\Sports Interactive Ltd\\\\Championship Manager 00-01\\\\Sub] 1\n")));
    EXPECT_FALSE(FindGameKey(""));
    EXPECT_FALSE(FindGameKey("REGEDIT4\n" + Key));
    EXPECT_FALSE(FindGameKey("WINE REGISTRY Version 1\n" + Key));
    EXPECT_FALSE(FindGameKey(" WINE REGISTRY Version 2\n" + Key));
    // A key line cut short names no key.
    EXPECT_FALSE(FindGameKey(Registry("[Software\\\\Sports Interactive Ltd\\\\Championship")));
    // An empty key is still found.
    const auto empty = FindGameKey(Registry(Key));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(WineRegKey, ValueKinds) {
    EXPECT_EQ(TextValue(R"("Location"="C:\\Games\\CM")"), "C:\\Games\\CM");
    EXPECT_EQ(TextValue(R"("Location"=str:"C:\\A")"), "C:\\A");
    EXPECT_EQ(TextValue(R"("Location"=str(2):"%ProgramFiles%\\CM")"), "%ProgramFiles%\\CM");
    EXPECT_EQ(TextValue(R"("Location" = "spaced")"), "spaced");
    // Text stops at an embedded NUL, as a reader of a C string sees it.
    EXPECT_EQ(TextValue(R"("Location"="C:\\CM\0junk")"), "C:\\CM");
    // A string without its terminating NUL is written as hex(1): still text.
    EXPECT_EQ(TextValue("\"Location\"=hex(1):43,00,3a,00,5c,00,\\\n  43,00,4d,00"), "C:\\CM");
    EXPECT_EQ(TextValue("\"Location\"=hex(2):41,00,00,00,42,00"), "A");

    for (const char* other : {R"("Location"=dword:0000000a)", R"("Location"=hex:43,00)",
                              R"("Location"=hex(4):0a,00,00,00)", R"("Location"=str(7):"a\0b")"}) {
        const auto value = Value(Registry(Key + other + "\n"), "location");
        ASSERT_TRUE(value) << other;
        EXPECT_FALSE(value->IsText) << other;
    }
    // Lines Wine would reject as well leave the value absent.
    for (const char* broken : {R"("Location"="C:\\CM00)", R"("Location")", R"("Location"=wat:1)",
                               R"("Locat)", R"x("Location"=str(2)"x")x"})
        EXPECT_FALSE(Value(Registry(Key + broken + "\n\"Version\"=\"1\"\n"), "location")) << broken;
    // Values of other keys never leak in.
    EXPECT_FALSE(Value(Registry(Key + "\n[Software\\\\Other] 1\n\"Version\"=\"2\"\n"), "version"));
}

TEST(WineRegKey, SurvivesRandomBytes) {
    std::mt19937 rng(20261207);
    const std::string valid = Registry(
        Key + "\"Location\"=\"C:\\\\CM0001\\\\\"\n\"Version\"=hex(1):31,00,\\\n  2e,00\n", "win64");
    const std::string alphabet = "[]\"\\=:x0123456789abcdefABCDEF(),\n\r #stdrhexwordWINE";
    for (int round = 0; round < 3000; ++round) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % (text.size() + 1);
            switch (rng() % 4) {
            case 0:
                text.insert(at, 1, alphabet[rng() % alphabet.size()]);
                break;
            case 1:
                text.insert(at, 1, static_cast<char>(rng()));
                break;
            case 2:
                text.erase(at, 1 + rng() % 8);
                break;
            default:
                text.resize(at);
                break;
            }
        }
        if (round % 3 == 0) {
            text = "WINE REGISTRY Version 2\n";
            for (std::size_t i = rng() % 512; i > 0; --i)
                text.push_back(rng() % 2 ? alphabet[rng() % alphabet.size()]
                                         : static_cast<char>(rng()));
        }
        if (const auto values = FindGameKey(text))
            for (const auto& [name, value] : *values)
                WindowsToUnixPath("/nonexistent-pw-prefix", value.Text);
        std::size_t next = 0;
        if (ParseEscaped(text, ']', next)) {
            EXPECT_LE(next, text.size());
        }
    }
}

TEST(TCmInfo, TacticsFolderIsPlainText) {
    TCmInfo info;
    info.Location = "/games/CM0001";
#ifdef _WIN32
    EXPECT_EQ(info.TacticsFolder(), "/games/CM0001\\tactics");
#else
    EXPECT_EQ(info.TacticsFolder(), "/games/CM0001/tactics");
    info.Location = "/games/CM0001/";
    EXPECT_EQ(info.TacticsFolder(), "/games/CM0001//tactics");
    info.Location.clear();
    EXPECT_EQ(info.TacticsFolder(), "/tactics");
#endif
}

// The prefix lookups need symlinks and a Unix file system.
#ifndef _WIN32

namespace {

class TTempDir {
public:
    TTempDir() {
        std::random_device seed;
        std::mt19937_64 rng(seed());
        do
            Path = fs::temp_directory_path() / ("pw-info-" + std::to_string(rng()));
        while (!fs::create_directory(Path));
    }
    ~TTempDir() {
        std::error_code error;
        fs::remove_all(Path, error);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // A Wine prefix: system.reg, drive_c and the dosdevices/c: link.
    void WritePrefix(const std::string& systemReg, bool cLink = true) const {
        std::ofstream(Path / "system.reg", std::ios::binary) << systemReg;
        fs::create_directories(Path / "drive_c" / "CM0001" / "tactics");
        fs::create_directories(Path / "dosdevices");
        if (cLink)
            fs::create_directory_symlink("../drive_c", Path / "dosdevices" / "c:");
    }
    std::string Str() const { return Path.string(); }
    std::string Real(const fs::path& sub) const { return fs::canonical(Path / sub).string(); }

    fs::path Path;
};

// Sets or unsets one environment variable for the life of the guard.
class TEnv {
public:
    TEnv(const char* name, const char* value)
        : Name(name) {
        if (const char* old = std::getenv(name))
            Old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~TEnv() {
        if (Old)
            setenv(Name.c_str(), Old->c_str(), 1);
        else
            unsetenv(Name.c_str());
    }
    TEnv(const TEnv&) = delete;
    TEnv& operator=(const TEnv&) = delete;

private:
    std::string Name;
    std::optional<std::string> Old;
};

const std::string GameValues = "\"Location\"=\"C:\\\\CM0001\"\n\"Version\"=\"1.0\"\n";

} // namespace

TEST(WinePath, DrivesThroughDosdevices) {
    TTempDir dir;
    dir.WritePrefix("", false);
    const std::string driveC = dir.Real("drive_c");
    // No c: link: drive_c is where Wine keeps it.
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "C:\\CM0001"), driveC + "/CM0001");
    fs::create_directories(dir.Path / "games" / "cm");
    fs::create_directory_symlink("../drive_c", dir.Path / "dosdevices" / "c:");
    fs::create_directory_symlink(dir.Path / "games", dir.Path / "dosdevices" / "d:");
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "c:\\CM0001\\"), driveC + "/CM0001/");
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "D:\\cm\\Tactics Here"),
              dir.Real("games") + "/cm/Tactics Here");
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "D:"), dir.Real("games"));
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "D:cm"), dir.Real("games") + "/cm");
    // A drive without a link stays where Wine would look for it.
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "E:\\x"), dir.Real("dosdevices") + "/e:/x");
    // No drive letter: only the separators change.
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "\\\\server\\share\\CM"), "//server/share/CM");
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "CM0001\\"), "CM0001/");
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), "1:\\x"), "1:/x");
    EXPECT_EQ(WindowsToUnixPath(dir.Str(), ""), "");
}

TEST(TCmInfo, FindsTheGameInAPrefix) {
    TTempDir dir;
    dir.WritePrefix(Registry(Key + GameValues));
    TCmInfo info;
    EXPECT_TRUE(info.ReadFromWinePrefix(dir.Str()));
    EXPECT_EQ(info.Location, dir.Real("drive_c/CM0001"));
    EXPECT_EQ(info.Version, "1.0");
    EXPECT_EQ(info.Error, "");
    EXPECT_EQ(info.TacticsFolder(), dir.Real("drive_c/CM0001/tactics"));
    EXPECT_TRUE(fs::is_directory(info.TacticsFolder()));
}

TEST(TCmInfo, FindsTheWow6432NodeKeyInA64BitPrefixWithoutCLink) {
    TTempDir dir;
    dir.WritePrefix(Registry(Wow64Key + "\"location\"=str:\"C:\\\\CM0001\\\\\"\n"
                                        "\"VERSION\"=str(2):\"1.0\\x263a\"\n",
                             "win64"),
                    false);
    TCmInfo info;
    EXPECT_TRUE(info.ReadFromWinePrefix(dir.Str()));
    // The trailing backslash is kept, so two separators come before "tactics".
    EXPECT_EQ(info.Location, dir.Real("drive_c") + "/CM0001/");
    EXPECT_EQ(info.TacticsFolder(), dir.Real("drive_c") + "/CM0001//tactics");
    EXPECT_EQ(info.Version, "1.0\u263a");
}

TEST(TCmInfo, MissingValuesAreEmptyTexts) {
    TTempDir dir;
    dir.WritePrefix(Registry(Key + "\"Other\"=\"x\"\n"));
    TCmInfo info;
    EXPECT_TRUE(info.ReadFromWinePrefix(dir.Str()));
    EXPECT_EQ(info.Location, "");
    EXPECT_EQ(info.Version, "");
    EXPECT_EQ(info.TacticsFolder(), "/tactics");
}

TEST(TCmInfo, ValueOfAnotherTypeIsAnError) {
    TTempDir dir;
    dir.WritePrefix(Registry(Key + "\"Location\"=dword:0000000a\n\"Version\"=\"1.0\"\n"));
    TCmInfo info;
    EXPECT_FALSE(info.ReadFromWinePrefix(dir.Str()));
    EXPECT_EQ(info.Error, "Invalid data type for 'Location'");

    dir.WritePrefix(Registry(Key + "\"Location\"=\"C:\\\\CM0001\"\n\"Version\"=hex:31,00\n"),
                    false);
    EXPECT_FALSE(info.ReadFromWinePrefix(dir.Str()));
    EXPECT_EQ(info.Error, "Invalid data type for 'Version'");

    // A later good lookup clears the error.
    dir.WritePrefix(Registry(Key + GameValues), false);
    EXPECT_TRUE(info.ReadFromWinePrefix(dir.Str()));
    EXPECT_EQ(info.Error, "");
}

TEST(TCmInfo, NotFoundCases) {
    TTempDir dir;
    auto expectNotFound = [&](const std::string& prefix, const char* what) {
        TCmInfo info;
        info.Error = "stale";
        EXPECT_FALSE(info.ReadFromWinePrefix(prefix)) << what;
        EXPECT_EQ(info.Location, NotFound) << what;
        EXPECT_EQ(info.Version, NotFound) << what;
        EXPECT_EQ(info.Error, "") << what;
    };
    expectNotFound("", "no prefix named");
    expectNotFound((dir.Path / "missing").string(), "no prefix folder");
    expectNotFound(dir.Str(), "no system.reg");
    fs::create_directory(dir.Path / "system.reg");
    expectNotFound(dir.Str(), "system.reg is a folder");
    fs::remove(dir.Path / "system.reg");

    const std::string good = Registry(Key + GameValues);
    dir.WritePrefix(Registry("[Software\\\\Other] 1\n" + GameValues));
    expectNotFound(dir.Str(), "key absent");
    dir.WritePrefix("REGEDIT4\n" + Key + GameValues, false);
    expectNotFound(dir.Str(), "wrong first line");
    dir.WritePrefix(good.substr(0, good.find("Sports")), false);
    expectNotFound(dir.Str(), "truncated before the key");
    dir.WritePrefix(std::string("\x7f"
                                "ELF\0\0\x01garbage",
                                14),
                    false);
    expectNotFound(dir.Str(), "garbage");
}

TEST(TCmInfo, ReadFromRegistryUsesWinePrefixElseHomeWine) {
    TTempDir prefix;
    prefix.WritePrefix(Registry(Key + "\"Location\"=\"C:\\\\FromPrefix\"\n"));
    TTempDir home;
    fs::create_directory(home.Path / ".wine");
    std::ofstream(home.Path / ".wine" / "system.reg")
        << Registry(Key + "\"Location\"=\"D:\\\\FromHome\"\n");
    const TEnv homeEnv("HOME", home.Str().c_str());
    TCmInfo info;
    {
        const TEnv wine("WINEPREFIX", prefix.Str().c_str());
        EXPECT_TRUE(info.ReadFromRegistry());
        EXPECT_EQ(info.Location, prefix.Real("drive_c") + "/FromPrefix");
    }
    {
        const TEnv wine("WINEPREFIX", nullptr);
        EXPECT_TRUE(info.ReadFromRegistry());
        EXPECT_EQ(info.Location, home.Real(".wine") + "/dosdevices/d:/FromHome");
    }
    {
        const TEnv wine("WINEPREFIX", nullptr);
        const TEnv noHome("HOME", nullptr);
        EXPECT_FALSE(info.ReadFromRegistry());
        EXPECT_EQ(info.Location, NotFound);
    }
}

#endif
