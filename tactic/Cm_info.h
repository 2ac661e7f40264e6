#pragma once

#include <string>
#include <string_view>

// Where the game is installed. On Windows the answer comes from the registry,
// else from the game's program in the usual install folders; elsewhere, where
// the game runs under Wine, from the registry files of the Wine prefixes the
// player's home holds, else from the game's program in one of them.
class TCmInfo {
public:
    static constexpr const char* NotFound = "CM 00-01 not found";
    // The game's key under HKEY_LOCAL_MACHINE, as its installer writes it.
    static constexpr std::string_view GameKey =
        "Software\\Sports Interactive Ltd\\Championship Manager 00-01";

    enum class TStatus {
        Found,
        NotFound,        // both texts are NotFound
        LocationNotText, // the key holds a value of another type than text
        VersionNotText,
    };

    std::string Location;
    std::string Version;

    // Found with the game's values, or NotFound. The key wins over a folder
    // found by the game's program, whose Version is empty.
    TStatus ReadFromRegistry();

    // The key's lookup in one given Wine prefix folder (not used on Windows).
    TStatus ReadFromWinePrefix(const std::string& prefix);

    // Location + the platform's separator + "tactics", joined as plain text.
    std::string TacticsFolder() const;

    // "Invalid data type for 'Location'" (or 'Version') for those statuses,
    // else empty.
    static std::string ErrorText(TStatus status);
};
