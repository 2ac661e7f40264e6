#include "tactic/Cm_info.h"

#include "tactic/Cm_winereg.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string InvalidType(const char* name) {
    return std::string("Invalid data type for '") + name + "'";
}

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
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return text;
}

#ifdef _WIN32

constexpr const wchar_t* GameKey = L"Software\\Sports Interactive Ltd\\Championship Manager 00-01";

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

bool TCmInfo::ReadFromRegistry() {
    Location.clear();
    Version.clear();
    Error.clear();
    // Read-only and in the 32-bit view: the game's 32-bit installer writes
    // there on 64-bit Windows, and full access to HKEY_LOCAL_MACHINE is refused
    // to ordinary users.
    TRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, GameKey, 0, KEY_READ | KEY_WOW64_32KEY, &key.Handle) !=
        ERROR_SUCCESS) {
        key.Handle = nullptr;
        Location = NotFound;
        Version = NotFound;
        return false;
    }
    if (!ReadText(key.Handle, L"Location", Location)) {
        Error = InvalidType("Location");
        return false;
    }
    if (!ReadText(key.Handle, L"Version", Version)) {
        Error = InvalidType("Version");
        return false;
    }
    return true;
}

#else

bool TCmInfo::ReadFromRegistry() {
    std::string prefix;
    if (const char* wine = std::getenv("WINEPREFIX"); wine && *wine)
        prefix = wine;
    else if (const char* home = std::getenv("HOME"); home && *home)
        prefix = std::string(home) + "/.wine";
    return ReadFromWinePrefix(prefix);
}

#endif

bool TCmInfo::ReadFromWinePrefix(const std::string& prefix) {
    Location.clear();
    Version.clear();
    Error.clear();
    std::optional<CmWineReg::TValues> values;
    if (!prefix.empty())
        if (const auto text = ReadWholeFile(std::filesystem::path(prefix) / "system.reg"))
            values = CmWineReg::FindGameKey(*text);
    if (!values) {
        Location = NotFound;
        Version = NotFound;
        return false;
    }
    // A missing value is an empty text, not an error.
    if (const auto it = values->find("location"); it != values->end()) {
        if (!it->second.IsText) {
            Error = InvalidType("Location");
            return false;
        }
        Location = CmWineReg::WindowsToUnixPath(prefix, it->second.Text);
    }
    if (const auto it = values->find("version"); it != values->end()) {
        if (!it->second.IsText) {
            Error = InvalidType("Version");
            return false;
        }
        Version = it->second.Text;
    }
    return true;
}

std::string TCmInfo::TacticsFolder() const {
#ifdef _WIN32
    return Location + "\\tactics";
#else
    return Location + "/tactics";
#endif
}
