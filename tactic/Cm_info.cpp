#include "tactic/Cm_info.h"

#include "tactic/Cm_gamesearch.h"
#include "tactic/Cm_winereg.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace {

// A real system.reg is a few megabytes; anything far larger is no registry,
// and reading it whole would only eat memory.
constexpr std::uintmax_t MaxRegistrySize = 256u << 20;

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > MaxRegistrySize)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // In one read: a prefix's registry is megabytes, and start-up may read a dozen.
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (in.bad())
        return std::nullopt;
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

#ifdef _WIN32

// Where the game's installer puts it by default, or players copy it.
std::vector<std::filesystem::path> ProgramRoots() {
    std::vector<std::filesystem::path> roots;
    for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)"}) {
        wchar_t value[MAX_PATH + 1];
        const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
        if (length > 0 && length <= MAX_PATH)
            roots.emplace_back(std::wstring(value, length));
    }
    roots.emplace_back(L"C:\\Games");
    return roots;
}

std::string Utf8(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    return CmWineReg::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

class TRegKey {
public:
    TRegKey() = default;
    ~TRegKey() {
        if (Handle)
            RegCloseKey(Handle);
    }
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;

    HKEY Handle = nullptr;
};

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// A text value; a missing or unreadable one gives an empty text. False only
// when the value holds something other than text.
bool ReadText(HKEY key, const wchar_t* name, std::string& text) {
    text.clear();
    // The value may grow between asking its size and reading it; try again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return true;
        if (!IsTextType(type))
            return false;
        // One spare unit, and rounded up, so that odd sizes and a missing
        // terminator never run past the buffer.
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
        DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG result = RegQueryValueExW(key, name, nullptr, &type,
                                             reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return true;
        if (!IsTextType(type))
            return false;
        std::u16string units;
        for (std::size_t i = 0; i < got / sizeof(wchar_t) && i < buffer.size(); ++i) {
            if (buffer[i] == L'\0')
                break;
            units.push_back(static_cast<char16_t>(buffer[i]));
        }
        text = CmWineReg::Utf16ToUtf8(units);
        return true;
    }
    return true;
}

#endif

} // namespace

#ifdef _WIN32

TCmInfo::TStatus TCmInfo::ReadFromRegistry() {
    Location.clear();
    Version.clear();
    // Read-only and in the 32-bit view: the game's 32-bit installer writes
    // there on 64-bit Windows, and full access to HKEY_LOCAL_MACHINE is refused
    // to ordinary users.
    const std::wstring name(GameKey.begin(), GameKey.end());
    TRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_READ | KEY_WOW64_32KEY,
                      &key.Handle) == ERROR_SUCCESS) {
        if (!ReadText(key.Handle, L"Location", Location))
            return TStatus::LocationNotText;
        if (!ReadText(key.Handle, L"Version", Version))
            return TStatus::VersionNotText;
        return TStatus::Found;
    }
    key.Handle = nullptr;
    // No installer ran: a copied game is known by its program.
    CmGameSearch::TWalk walk;
    walk.FollowAnyLink = true;
    if (const auto folder = CmGameSearch::FindProgramFolder(ProgramRoots(), walk)) {
        Location = Utf8(*folder);
        return TStatus::Found;
    }
    Location = NotFound;
    Version = NotFound;
    return TStatus::NotFound;
}

#else

TCmInfo::TStatus TCmInfo::ReadFromRegistry() {
    const char* wine = std::getenv("WINEPREFIX");
    const char* homeVariable = std::getenv("HOME");
    const std::string home = homeVariable ? homeVariable : "";
    CmGameSearch::TWalk walk;
    std::error_code error;
    if (const auto real = std::filesystem::canonical(home, error); !home.empty() && !error)
        walk.Areas.push_back(real);
    const auto prefixes = CmGameSearch::WinePrefixes(wine ? wine : "", home, walk);
    for (const auto& prefix : prefixes)
        if (const TStatus status = ReadFromWinePrefix(prefix.string()); status != TStatus::NotFound)
            return status;
    // No key anywhere: a game copied into a prefix is known by its program.
    const std::size_t homeAreas = walk.Areas.size();
    for (const auto& prefix : prefixes) {
        walk.Areas.resize(homeAreas);
        if (const auto real = std::filesystem::canonical(prefix, error); !error)
            walk.Areas.push_back(real);
        if (const auto folder =
                CmGameSearch::FindProgramFolder(CmGameSearch::PrefixProgramRoots(prefix), walk)) {
            const auto real = std::filesystem::weakly_canonical(*folder, error);
            Location = (error ? *folder : real).string();
            Version.clear();
            return TStatus::Found;
        }
    }
    Location = NotFound;
    Version = NotFound;
    return TStatus::NotFound;
}

#endif

TCmInfo::TStatus TCmInfo::ReadFromWinePrefix(const std::string& prefix) {
    Location.clear();
    Version.clear();
    std::optional<CmWineReg::TValues> values;
    if (!prefix.empty())
        if (const auto text = ReadWholeFile(std::filesystem::path(prefix) / "system.reg"))
            values = CmWineReg::FindGameKey(*text);
    if (!values) {
        Location = NotFound;
        Version = NotFound;
        return TStatus::NotFound;
    }
    // A missing value is an empty text, not an error.
    if (const auto it = values->find("location"); it != values->end()) {
        if (!it->second.IsText)
            return TStatus::LocationNotText;
        Location = CmWineReg::WindowsToUnixPath(prefix, it->second.Text);
    }
    if (const auto it = values->find("version"); it != values->end()) {
        if (!it->second.IsText)
            return TStatus::VersionNotText;
        Version = it->second.Text;
    }
    return TStatus::Found;
}

std::string TCmInfo::ErrorText(TStatus status) {
    switch (status) {
    case TStatus::LocationNotText:
        return "Invalid data type for 'Location'";
    case TStatus::VersionNotText:
        return "Invalid data type for 'Version'";
    case TStatus::Found:
    case TStatus::NotFound:
        break;
    }
    return {};
}

std::string TCmInfo::TacticsFolder() const {
#ifdef _WIN32
    return Location + "\\tactics";
#else
    return Location + "/tactics";
#endif
}
