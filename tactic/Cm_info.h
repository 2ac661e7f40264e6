#pragma once

#include <string>

// Where the game is installed. On Windows the answer comes from the registry;
// elsewhere, where the game runs under Wine, from the Wine prefix's registry
// file ($WINEPREFIX, else ~/.wine).
class TCmInfo {
public:
    static constexpr const char* NotFound = "CM 00-01 not found";

    std::string Location;
    std::string Version;
    // Set when a value exists with a type other than text:
    // "Invalid data type for 'Location'" (or 'Version'). The window raises it.
    std::string Error;

    // True when the game's key was found. False with both texts "CM 00-01 not
    // found" when it was not, or with Error set when a value had the wrong type.
    bool ReadFromRegistry();

    // The lookup against one given Wine prefix folder (not used on Windows).
    bool ReadFromWinePrefix(const std::string& prefix);

    // Location + the platform's separator + "tactics", joined as plain text.
    std::string TacticsFolder() const;
};
