#include "tactic/Cm_gamesearch.h"

#include "tactic/Cm_winereg.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace CmGameSearch {

namespace {

// A Lutris game file is a few hundred bytes; no more of one is read.
constexpr std::streamsize MaxGameFileSize = 64 << 10;

// Under `home`: the folders whose sub-folders are prefixes, in their turn
// after .wine and Lutris.
constexpr const char* ManagerFolders[] = {
    "Games", // Lutris's own install folder
    ".local/share/bottles/bottles",
    ".var/app/com.usebottles.bottles/data/bottles/bottles",
    ".PlayOnLinux/wineprefix",
    ".cxoffice",
};

bool Within(const fs::path& path, const fs::path& area) {
    auto p = path.begin();
    for (auto a = area.begin(); a != area.end(); ++a, ++p)
        if (p == path.end() || *a != *p)
            return false;
    return true;
}

// Whether the walk may enter `path`: wherever it really is, that is inside
// one of its areas.
bool Allowed(const fs::path& path, const TWalk& walk) {
    if (walk.FollowAnyLink)
        return true;
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    return !error && std::any_of(walk.Areas.begin(), walk.Areas.end(),
                                 [&](const fs::path& area) { return Within(real, area); });
}

// The entries of `folder` by name, as far as the budget goes, without the
// links that lead out of the walk's areas. Nothing when it cannot be read.
std::vector<fs::directory_entry> Children(const fs::path& folder, TWalk& walk) {
    std::vector<fs::directory_entry> entries;
    if (walk.EntriesLeft <= 0 || !Allowed(folder, walk))
        return entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
         !error && it != fs::directory_iterator() && walk.EntriesLeft > 0; it.increment(error)) {
        --walk.EntriesLeft;
        std::error_code linkError;
        if (!it->is_symlink(linkError) || Allowed(it->path(), walk))
            entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// A file name against a lower-case ASCII name, ignoring the case of ASCII
// letters; works on the platform's own characters, which need no conversion.
bool SameName(const fs::path& path, std::string_view lower) {
    const auto name = path.filename().native();
    return name.size() == lower.size() &&
           std::equal(name.begin(), name.end(), lower.begin(), [](auto c, char l) {
               return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == static_cast<unsigned char>(l);
           });
}

// Only the first line of system.reg is read: Wine's header, or no prefix.
bool IsWinePrefix(const fs::path& folder) {
    const fs::path file = folder / "system.reg";
    std::error_code error;
    // A FIFO or device by that name would block or never end.
    if (!fs::is_regular_file(file, error))
        return false;
    std::ifstream in(file, std::ios::binary);
    std::string line(CmWineReg::RegistryHeader.size() + 2, '\0');
    in.read(line.data(), std::ssize(line));
    line.resize(static_cast<std::size_t>(in.gcount()));
    line = line.substr(0, line.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line == CmWineReg::RegistryHeader;
}

std::string ReadGameFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(MaxGameFileSize), '\0');
    in.read(text.data(), MaxGameFileSize);
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::string LutrisPrefix(std::string_view gameFile, const std::string& home) {
    while (!gameFile.empty()) {
        const auto end = std::min(gameFile.find('\n'), gameFile.size());
        const std::string_view line = Trim(gameFile.substr(0, end));
        gameFile.remove_prefix(std::min(end + 1, gameFile.size()));
        if (!line.starts_with("prefix:"))
            continue;
        std::string_view value = Trim(line.substr(7));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value.starts_with("~/") && !home.empty())
            return home + std::string(value.substr(1));
        // Relative to what Lutris would run in, which is not known here.
        return value.starts_with('/') ? std::string(value) : std::string();
    }
    return {};
}

std::vector<fs::path> WinePrefixes(const std::string& winePrefix, const std::string& home,
                                   TWalk& walk) {
    std::vector<fs::path> prefixes;
    std::set<fs::path> seen;
    const auto add = [&](const fs::path& folder) {
        if (!IsWinePrefix(folder))
            return;
        std::error_code error;
        const fs::path real = fs::weakly_canonical(folder, error);
        if (seen.insert(error ? folder : real).second)
            prefixes.push_back(folder);
    };
    if (!winePrefix.empty()) {
        add(winePrefix); // the player's explicit choice, wherever it is
        return prefixes;
    }
    if (home.empty())
        return prefixes;
    const fs::path base(home);
    add(base / ".wine"); // by name, as ever, even where it is a link elsewhere
    for (const auto& entry : Children(base / ".config/lutris/games", walk)) {
        std::error_code error;
        if (entry.path().extension() == ".yml" && entry.is_regular_file(error))
            if (const std::string prefix = LutrisPrefix(ReadGameFile(entry.path()), home);
                !prefix.empty())
                add(prefix); // where the player installed the game
    }
    for (const char* folder : ManagerFolders)
        for (const auto& entry : Children(base / folder, walk))
            add(entry.path());
    for (const auto& entry : Children(base / ".steam/steam/steamapps/compatdata", walk))
        if (const fs::path pfx = entry.path() / "pfx"; Allowed(pfx, walk))
            add(pfx);
    return prefixes;
}

std::optional<fs::path> FindProgramFolder(const std::vector<fs::path>& roots, TWalk& walk) {
    std::optional<fs::path> cm0102;
    for (const fs::path& root : roots)
        for (const auto& folder : Children(root, walk)) {
            // A stat, not a listing: most folders are ruled out without reading them.
            if (!IsFolder(folder.path()) || !IsFolder(folder.path() / "tactics"))
                continue;
            bool has0001 = false, has0102 = false;
            for (const auto& file : Children(folder.path(), walk)) {
                has0001 = has0001 || SameName(file.path(), "cm0001.exe");
                has0102 = has0102 || SameName(file.path(), "cm0102.exe");
            }
            if (has0001)
                return folder.path();
            if (has0102 && !cm0102)
                cm0102 = folder.path();
        }
    return cm0102;
}

std::vector<fs::path> PrefixProgramRoots(const fs::path& prefix) {
    const fs::path drive = prefix / "drive_c";
    return {drive, drive / "Program Files", drive / "Program Files (x86)", drive / "Games"};
}

} // namespace CmGameSearch
