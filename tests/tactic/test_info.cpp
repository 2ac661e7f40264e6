// The installation lookup: the game's key and its "Location" value read out of
// Wine registry texts, then TCmInfo against Wine prefixes written here.
#include "TestFiles.h"
#include "tactic/Cm_info.h"
#include "tactic/Cm_winereg.h"
#include "tests/common/WinePrefix.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

const std::string Key = pwtest::GameKeyLine(), Wow64Key = pwtest::GameKeyLine(true);

// A system.reg as Wine writes it around the given keys, after another key
// with a "Location" of its own.
std::string Registry(const std::string& body, const char* arch = "win32") {
    return pwtest::WineRegistry(
        "[Software\\\\Classes] 17\n#time=1d9\n\"Location\"=\"elsewhere\"\n\n" + body, arch);
}

// The game's key with one "Location" line.
std::string Loc(const std::string& data) {
    return Registry(Key + "\"Location\"=" + data + "\n");
}

std::string Describe(const std::optional<CmWineReg::TValues>& values) {
    if (!values)
        return "no key";
    const auto it = values->find("location");
    return it == values->end() ? "no value" : it->second.IsText ? it->second.Text : "not text";
}

} // namespace

TEST(WineReg, FindsTheLocationAsWineReadsIt) {
    const std::string both =
        Key + "\"Location\"=\"plain\"\n\n" + Wow64Key + "\"Location\"=\"wow\"\n";
    const std::pair<std::string, std::string> cases[] = {
        {Loc(R"("C:\\CM0001")"), R"(C:\CM0001)"},
        {Loc(R"("say \"hi\"")"), R"(say "hi")"},
        {Loc(R"("\a\b\e\f\n\r\t\v\q\xg")"), "\a\b\x1b\f\n\r\t\vqxg"},
        // \x takes up to four hex digits, octal up to three.
        {Loc(R"("\x41\x263a\x00e9f\101\60\0128")"), "A\u263a\u00e9fA0\n8"},
        // A byte above 127 is a code unit of its own.
        {Loc("\"caf\xe9\""), "caf\u00e9"},
        {Loc(R"("\x7f\x80\x7ff\x800\xffff")"), "\x7f\u0080\u07ff\u0800\uffff"},
        // Surrogate pairs join; a lone one is U+FFFD.
        {Loc(R"("\xd800\xdc00\xdbff\xdfff\xd83d\xde00\xd83dx\xdc00")"),
         "\U00010000\U0010FFFF\U0001F600\uFFFDx\uFFFD"},
        {Loc(R"(str:"C:\\A")"), R"(C:\A)"},
        {Loc(R"(str(2):"%ProgramFiles%\\CM")"), R"(%ProgramFiles%\CM)"},
        {Loc(R"("C:\\CM\0junk")"), R"(C:\CM)"}, // text stops at a NUL, as in C
        // A string without its NUL is written as hex(1), on continued lines.
        {Loc("hex(1):43,00,3a,00,5c,00,\\\n  43,00,4d,00,4e"), R"(C:\CM)"},
        {Loc("hex(2):41,00"), "A"},
        {Loc("dword:0000000a"), "not text"},
        {Loc("hex:43,00"), "not text"},
        {Loc("hex(4):43,00"), "not text"},
        {Loc(R"(str(7):"a\0b")"), "not text"},
        // Lines that Wine would reject as well.
        {Loc(R"("escaped \" only)"), "no value"},
        {Loc(R"("ends in a backslash\)"), "no value"},
        {Loc(R"(str(z):"A")"), "no value"},
        {Registry(Key + "\"Location\"\n\"Locat"), "no value"},
        {Registry(Key + "\n[Software\\\\Other] 1\n\"Location\"=\"other key\"\n"), "no value"},
        {Registry(Key + "\"Location\"=\"first\"\n\n" + Key + "\"Version\"=\"1\"\n"), "first"},
        // Key and value names match whatever their case; CRLF line ends.
        {Registry("[software\\\\SPORTS interactive LTD\\\\championship manager 00-01] 1\r\n"
                  "\"LOCATION\"=\"X\"\r\n"),
         "X"},
        // A 64-bit prefix: the 32-bit installer's Wow6432Node key first, the plain one else.
        {Registry(both, "win64"), "wow"},
        {Registry(both), "plain"},
        {Registry(Key + "\"Location\"=\"plain\"\n", "win64"), "plain"},
        {Registry(Wow64Key + "\"Location\"=\"wow\"\n"), "no key"},
        {Registry("[Software\\\\Sports Interactive Ltd] 1\n\"Location\"=\"X\"\n"), "no key"},
        {Registry(Key.substr(0, 60)), "no key"},
        {"REGEDIT4\n" + Key + "\"Location\"=\"X\"\n", "no key"},
        {"", "no key"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Describe(CmWineReg::FindGameKey(text)), expected) << text;
}

#ifndef _WIN32

namespace {

// A home folder with a Wine prefix in .wine: system.reg, drive_c without a c:
// link, and d: leading to games.
struct TPrefix {
    explicit TPrefix(const std::string& systemReg) {
        pwtest::MakeWinePrefix(Path, systemReg);
        fs::remove(Path / "dosdevices/c:");
        fs::create_directories(Path / "games/cm");
        fs::create_directory_symlink("../games", Path / "dosdevices/d:");
    }
    pwtest::TTempDir Home;
    fs::path Path = Home.Path() / ".wine";
};

} // namespace

// Each lookup is named by $WINEPREFIX, or by $HOME where that is empty ("~").
TEST(TCmInfo, ReadsTheGamesValuesFromAPrefix) {
    const std::string location = "\"Location\"=\"C:\\\\CM0001\"\n",
                      version = "\"Version\"=\"1.0\"\n";
    const struct {
        std::string Reg, Lookup; // "@": the prefix; "!": not found
        bool Found;
        std::string Location, Version, Error;
    } cases[] = {
        {Registry(Key + location + version), "@", true, "@drive_c/CM0001", "1.0", ""},
        {Registry(Key + "\"Location\"=dword:0000000a\n" + version), "~", false, "", "", "Location"},
        // Taken as written: a trailing backslash stays, so the join doubles it.
        {Registry(Wow64Key + "\"Location\"=\"d:\\\\cm\\\\\"\n", "win64"), "~", true, "@games/cm/",
         "", ""},
        {Registry(Key + location + "\"Version\"=hex:31,00\n"), "@", false, "", "", "Version"},
        {Registry(Key + "\"Location\"=\"C:CM0001\"\n"), "~", true, "@drive_c/CM0001", "", ""},
        {Registry(Key + R"("Location"="\\\\server\\share")" + "\n"), "@", true, "//server/share",
         "", ""},
        {Registry(Key), "~", true, "", "", ""}, // missing values are empty, no error
        {Registry(Key + R"("Location"="A:\\cm")" + "\n"), "@", true, "@dosdevices/a:/cm", "", ""},
        {Registry(Key + R"("Location"="z:\\")" + "\n"), "~", true, "@dosdevices/z:/", "", ""},
        {Registry("[Software\\\\Other] 1\n" + location), "@", false, "!", "!", ""},
        {"\177ELF\1\1\1 garbage", "~", false, "!", "!", ""},
        {Registry(Key + location), "@/missing", false, "!", "!", ""},
        {Registry(Key + location), "", false, "!", "!", ""}, // no $HOME either
    };
    TCmInfo info; // one object: every lookup replaces what the last one left
    for (const auto& c : cases) {
        const TPrefix prefix(c.Reg);
        const auto expand = [&](std::string text) {
            if (text == "!")
                return std::string(TCmInfo::NotFound);
            return text.starts_with('@')
                       ? fs::canonical(prefix.Path).string() + "/" + text.substr(1)
                       : text;
        };
        setenv("WINEPREFIX",
               c.Lookup == "~" || c.Lookup.empty()
                   ? ""
                   : (prefix.Path.string() + c.Lookup.substr(1)).c_str(),
               1);
        c.Lookup.empty() ? unsetenv("HOME") : setenv("HOME", prefix.Home.Path().c_str(), 1);
        const TCmInfo::TStatus status = info.ReadFromRegistry();
        EXPECT_EQ(status == TCmInfo::TStatus::Found, c.Found) << c.Reg;
        EXPECT_EQ(TCmInfo::ErrorText(status),
                  c.Error.empty() ? "" : "Invalid data type for '" + c.Error + "'");
        if (c.Error.empty()) {
            EXPECT_EQ(info.Location, expand(c.Location)) << c.Reg;
            EXPECT_EQ(info.Version, expand(c.Version)) << c.Reg;
            EXPECT_EQ(info.TacticsFolder(), info.Location + "/tactics");
        }
    }
}

// Fake home folders, written by the first letter of each entry: W a prefix
// without the game, K one whose key says C:\Key, G a game folder (its program
// last) with tactics, F a file (path=text), L a link (path=target), U a folder
// nobody may read, E the prefix $WINEPREFIX names; "../out" lies outside the
// home. The lookup finds the entry marked "*", or nothing.
TEST(TCmInfo, FindsTheGameWherePlayersKeepIt) {
    const std::string lutris = "F .config/lutris/games/cm.yml=game:\n  prefix: ",
                      bottles = ".local/share/bottles/bottles/", pol = ".PlayOnLinux/wineprefix/",
                      flatpak = ".var/app/com.usebottles.bottles/data/bottles/bottles/cm";
    const std::vector<std::vector<std::string>> cases = {
        // Each manager in turn, before the next.
        {"K .wine*", "K Games/a"},
        {lutris + "~/lutris/cm\n", "K lutris/cm*", "K Games/cm"},
        {lutris + "'~/../out/cm'", "K ../out/cm*"}, // named by the player, wherever it is
        // Only a game file's first 64 KiB are read.
        {"F .config/lutris/games/cm.yml=" + std::string(64 << 10, '#') + "\n" + lutris.substr(30) +
             "~/lutris/cm\n",
         "K lutris/cm"},
        {"K Games/cm*", "K " + bottles + "cm"},
        {"K " + bottles + "cm*", "K " + flatpak},
        {"K " + flatpak + "*", "K " + pol + "cm"},
        {"K " + pol + "cm*", "K .cxoffice/cm"},
        {"K .cxoffice/cm*", "K .steam/steam/steamapps/compatdata/1/pfx"},
        {"L .steam/steam=.local/share/Steam", "K .local/share/Steam/steamapps/compatdata/9/pfx*"},
        // The key wins over an earlier program, CM 00/01 over an earlier CM 01/02.
        {"W .wine", "G .wine/drive_c/CM/cm0001.exe", "K " + pol + "cm*"},
        {"W .wine", "G .wine/drive_c/A/cm0102.exe",
         "G .wine/drive_c/Program Files (x86)/Z/Cm0001.Exe*"},
        {"W .cxoffice/cm", "G .cxoffice/cm/drive_c/Games/CM0102/CM0102.EXE*"},
        {"W .wine", "F .wine/drive_c/CM/cm0001.exe="}, // no tactics folder
        {"G Games/cm/drive_c/CM/cm0001.exe"},          // no system.reg
        {"F Games/cm/system.reg=REGEDIT4\n", "G Games/cm/drive_c/CM/cm0001.exe"},
        {"W " + bottles + "x", "U " + bottles, "K .cxoffice/cm*"},
        {"K ../out/cm", "L .cxoffice/cm=../out/cm"},
        {"W .wine", "G ../out/CM/cm0001.exe", "L .wine/drive_c/CM=../out/CM"},
        {"W pfx", "E pfx", "K .wine"},
    };
    for (const auto& layout : cases) {
        const pwtest::TTempDir root;
        const fs::path home = root.Path() / "home";
        std::string found = TCmInfo::NotFound;
        fs::path locked;
        setenv("WINEPREFIX", "", 1);
        for (std::string entry : layout) {
            const bool marked = entry.ends_with('*');
            entry.resize(entry.size() - marked);
            const std::size_t equals = entry.find('=');
            const fs::path path = home / entry.substr(2, equals - 2);
            const std::string text = equals == std::string::npos ? "" : entry.substr(equals + 1);
            fs::create_directories(path.parent_path());
            if (entry[0] == 'W' || entry[0] == 'K')
                pwtest::MakeWinePrefix(
                    path,
                    pwtest::WineRegistry(entry[0] == 'W' ? "" : Key + R"("Location"="C:\\Key")"));
            if (entry[0] == 'G')
                fs::create_directory(path.parent_path() / "tactics");
            if (entry[0] == 'G' || entry[0] == 'F')
                std::ofstream(path) << text;
            if (entry[0] == 'L')
                fs::create_directory_symlink(home / text, path);
            if (entry[0] == 'U')
                fs::permissions(locked = path, fs::perms::none);
            if (entry[0] == 'E')
                setenv("WINEPREFIX", path.c_str(), 1);
            if (marked)
                found = entry[0] == 'K' ? fs::canonical(path).string() + "/drive_c/Key"
                                        : fs::canonical(path.parent_path()).string();
        }
        setenv("HOME", home.c_str(), 1);
        TCmInfo info;
        const auto status = info.ReadFromRegistry();
        EXPECT_EQ(status == TCmInfo::TStatus::Found, found != TCmInfo::NotFound);
        EXPECT_EQ(info.Location, found) << layout.back();
        if (!locked.empty())
            fs::permissions(locked, fs::perms::owner_all);
    }
}

#endif

#ifdef PW_DEMO_PREFIX
// The bundled demo installation: the lookup finds it, its tactics are exactly
// what the generator writes, and they hold known codes and move with the ball.
TEST(Demo, LookupFindsTheGeneratorsTactics) {
    TCmInfo info;
    ASSERT_EQ(info.ReadFromWinePrefix(PW_DEMO_PREFIX), TCmInfo::TStatus::Found);
    EXPECT_EQ(info.Version, "1.0");
    EXPECT_EQ(fs::path(info.Location), fs::canonical(PW_DEMO_PREFIX "/drive_c/CM0001"));
    const pwtest::TTempDir dir;
    ASSERT_EQ(std::system(("\"" PW_DEMO_GENERATOR "\" \"" + dir.Path().string() + "\"").c_str()),
              0);
    for (const char* name : {"442.tct", "433.tct", "532.tct"}) {
        SCOPED_TRACE(name);
        const std::string path = info.TacticsFolder() + "/" + name;
        EXPECT_EQ(pwtest::ReadFile(path), pwtest::ReadFile(dir.File(name)))
            << "rebuild the demo-tactics target and commit the result";
        TCmTactic tactic;
        ASSERT_TRUE(tactic.Load(path));
        std::string texts;
        for (const std::string& text : tactic.TeamInstr)
            texts += text;
        for (const TCmPlayer& player : tactic.Players) {
            for (int c = 1; c <= 13; ++c)
                texts += player.Instr[c];
            // Ball at the opponent's end (zone 7) against the ball at ours (zone 4).
            EXPECT_TRUE(player.Number == 1 || (player.WithBall[7].Y > player.WithBall[4].Y &&
                                               player.WithoutBall[7].Y > player.WithoutBall[4].Y));
        }
        EXPECT_EQ(texts.find('?'), std::string::npos);
    }
}
#endif
