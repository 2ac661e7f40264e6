#pragma once

// The fake Wine prefix of every suite that needs one: the data layer's and
// the window's. Plain C++, so that both can include it.

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace pwtest {

// The head of the game's key in system.reg, escaped as Wine writes it; in a
// 64-bit prefix the 32-bit installer's key lies under Wow6432Node.
inline std::string GameKeyLine(bool wow64 = false) {
    return std::string("[Software\\\\") + (wow64 ? "Wow6432Node\\\\" : "") +
           "Sports Interactive Ltd\\\\Championship Manager 00-01] 17\n";
}

// A system.reg as Wine writes it, around `body`.
inline std::string WineRegistry(const std::string& body, const char* arch = "win32") {
    return std::string("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=") +
           arch + "\n\n" + body;
}

// A prefix in `folder`: its system.reg holding `systemReg`, drive_c, and the
// c: drive linked to drive_c as Wine links it.
inline void MakeWinePrefix(const std::filesystem::path& folder, const std::string& systemReg) {
    std::filesystem::create_directories(folder / "drive_c");
    std::filesystem::create_directories(folder / "dosdevices");
    std::ofstream(folder / "system.reg", std::ios::binary) << systemReg;
    std::error_code ignored;
    std::filesystem::create_directory_symlink("../drive_c", folder / "dosdevices/c:", ignored);
}

} // namespace pwtest
