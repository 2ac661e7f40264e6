// The installation lookup on the real registry and file API. Each case writes
// the game's key as an installer would, in the 32-bit or the 64-bit view, and
// game folders into %ProgramFiles% and C:\Games, and removes all of it again.
// Where the game's key exists beforehand the game is installed here, and the
// suite will not touch it.
#include "TestFiles.h"
#include "tactic/Cm_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pwtest;

namespace {

const wchar_t* const Company = L"Software\\Sports Interactive Ltd";
const wchar_t* const GameKey = L"Software\\Sports Interactive Ltd\\Championship Manager 00-01";
constexpr REGSAM Views[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

bool KeyExists(const wchar_t* name, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, name, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct TRegValue {
    REGSAM View;
    const wchar_t* Name;
    DWORD Type;
    std::string Data; // UTF-8 for the text types, the bytes themselves for the others
};

// The game's key holding `values`; gone again with the object, and the
// company's key too where the case made it.
class TWrittenKey {
public:
    explicit TWrittenKey(const std::vector<TRegValue>& values) {
        for (const REGSAM view : Views)
            MadeCompany.push_back(!KeyExists(Company, view));
        for (const TRegValue& value : values) {
            HKEY key = nullptr;
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, GameKey, 0, nullptr, 0,
                                KEY_SET_VALUE | value.View, nullptr, &key,
                                nullptr) != ERROR_SUCCESS) {
                ADD_FAILURE() << "cannot write the game's key";
                continue;
            }
            std::wstring text;
            std::string bytes = value.Data;
            if (value.Type == REG_SZ || value.Type == REG_EXPAND_SZ) {
                text = FromUtf8(value.Data).wstring();
                bytes.assign(reinterpret_cast<const char*>(text.c_str()),
                             (text.size() + 1) * sizeof(wchar_t));
            }
            EXPECT_EQ(RegSetValueExW(key, value.Name, 0, value.Type,
                                     reinterpret_cast<const BYTE*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size())),
                      ERROR_SUCCESS);
            RegCloseKey(key);
        }
    }
    ~TWrittenKey() {
        for (std::size_t i = 0; i < std::size(Views); ++i) {
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, GameKey, Views[i], 0);
            if (MadeCompany[i])
                RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Company, Views[i], 0);
        }
    }

private:
    std::vector<bool> MadeCompany;
};

} // namespace

TEST(Registry, LookupGivesWhatTheKeysAndTheProgramFoldersSay) {
    for (const REGSAM view : Views)
        ASSERT_FALSE(KeyExists(GameKey, view))
            << "the game's key exists: the game is installed here, or an interrupted run "
               "left it (PW_WINE_FRESH=1 bash scripts/test-windows.sh starts a new prefix)";
    const DWORD Sz = REG_SZ;
    const auto k32 = [](const wchar_t* name, DWORD type, std::string data) {
        return TRegValue{KEY_WOW64_32KEY, name, type, std::move(data)};
    };
    const std::vector<TRegValue> game = {k32(L"Location", Sz, R"(C:\Games\CM 00-01\)"),
                                         k32(L"Version", Sz, "3.9.68")};
    using S = TCmInfo::TStatus;
    const std::string none = TCmInfo::NotFound;
    const struct {
        std::vector<TRegValue> Values;
        std::vector<std::string> Programs; // root (0: %ProgramFiles%, 1: C:\Games)/folder/program
        S Status;
        std::string Location, Version, Tactics; // Tactics checked when given
    } cases[] = {
        // Taken as written: a trailing backslash stays, so the join doubles it.
        {game, {}, S::Found, R"(C:\Games\CM 00-01\)", "3.9.68", R"(C:\Games\CM 00-01\\tactics)"},
        // The installer is 32-bit: a key in the 64-bit view is no installation of it.
        {{{KEY_WOW64_64KEY, L"Location", Sz, "C:\\CM"}}, {}, S::NotFound, none, none, ""},
        {{}, {}, S::NotFound, none, none, ""},
        {{k32(L"Version", Sz, "3.9.68")}, {}, S::Found, "", "3.9.68", R"(\tactics)"},
        {{k32(L"Location", REG_DWORD, std::string("\7\0\0\0", 4)), game[1]},
         {},
         S::LocationNotText,
         "",
         "",
         ""},
        {{game[0], k32(L"Version", REG_BINARY, "3.9")}, {}, S::VersionNotText, "", "", ""},
        // REG_EXPAND_SZ counts as text, shown as stored; UTF-16 arrives as UTF-8.
        {{k32(L"Location", REG_EXPAND_SZ, "%SystemDrive%\\Spiele\\Fu\u00dfball \u26bd \U0001F600"),
          k32(L"Version", Sz, "3.9.68 \u00e9dition")},
         {},
         S::Found,
         "%SystemDrive%\\Spiele\\Fu\u00dfball \u26bd \U0001F600",
         "3.9.68 \u00e9dition",
         ""},
        // Without the key, the game's program in a program folder; the key wins over it.
        {{}, {"1/CM0102/cm0102.exe"}, S::Found, R"(C:\Games\CM0102)", "", ""},
        {game, {"0/CM0001/cm0001.exe"}, S::Found, R"(C:\Games\CM 00-01\)", "3.9.68", ""},
        {{}, {"0/A/cm0102.exe", "1/Z/Cm0001.exe"}, S::Found, R"(C:\Games\Z)", "", ""},
    };
    wchar_t programFiles[MAX_PATH + 1] = L"";
    GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH + 1);
    const fs::path games = L"C:\\Games", roots[] = {programFiles, games};
    const bool madeGames = fs::create_directory(games);
    for (const auto& c : cases) {
        const TWrittenKey key(c.Values);
        std::vector<fs::path> made;
        for (const std::string& program : c.Programs) {
            const fs::path path = roots[program[0] - '0'] / FromUtf8(program.substr(2));
            fs::create_directories(path.parent_path() / "tactics");
            std::ofstream(path) << "MZ";
            made.push_back(path.parent_path());
        }
        TCmInfo info{"stale", "stale"}; // everything in it is replaced
        const S status = info.ReadFromRegistry();
        EXPECT_EQ(status, c.Status) << c.Location;
        if (status == S::Found || status == S::NotFound) {
            EXPECT_EQ(info.Location, c.Location);
            EXPECT_EQ(info.Version, c.Version);
        }
        if (!c.Tactics.empty()) {
            EXPECT_EQ(info.TacticsFolder(), c.Tactics);
        }
        for (const fs::path& folder : made)
            fs::remove_all(folder);
    }
    if (madeGames)
        fs::remove_all(games);
}
