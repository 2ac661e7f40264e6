#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where a game without a known registry key may be: the Wine prefixes that the
// prefix managers keep in a home folder, and a game folder recognised by its
// program. Every folder read counts against one budget, so that a home full
// of prefixes (or a link to a huge disk) cannot stall the start-up.
namespace CmGameSearch {

// Directory entries one lookup reads at most, in all.
inline constexpr int MaxEntries = 400;

// One lookup's walk: what it may still read, and where a link may lead.
struct TWalk {
    int EntriesLeft = MaxEntries;
    // Canonical folders a link may lead into (the home folder, the prefix
    // being searched), unless FollowAnyLink.
    std::vector<std::filesystem::path> Areas;
    bool FollowAnyLink = false;
};

// The prefixes to search, first to last: `winePrefix` alone when it is not
// empty; else under `home`: .wine, the Lutris games' prefixes and Games/*,
// Bottles (native and Flatpak), PlayOnLinux, CrossOver, then Steam's Proton
// prefixes. Only folders with a Wine system.reg count; each once. Folders
// that cannot be read are passed over.
std::vector<std::filesystem::path> WinePrefixes(const std::string& winePrefix,
                                                const std::string& home, TWalk& walk);

// The folder a Lutris game's file names as its "prefix:"; empty when none.
// A leading "~/" stands for `home`.
std::string LutrisPrefix(std::string_view gameFile, const std::string& home);

// A game folder directly under one of `roots`: it holds cm0001.exe or
// cm0102.exe (any case) and a "tactics" folder. CM 00/01 wins over CM 01/02,
// then the earlier root, then the name.
std::optional<std::filesystem::path>
FindProgramFolder(const std::vector<std::filesystem::path>& roots, TWalk& walk);

// The roots FindProgramFolder searches in a Wine prefix: drive_c itself and
// its Program Files, Program Files (x86) and Games.
std::vector<std::filesystem::path> PrefixProgramRoots(const std::filesystem::path& prefix);

} // namespace CmGameSearch
