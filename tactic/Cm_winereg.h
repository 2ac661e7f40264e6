#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The pieces of the installation lookup that are pure text work: reading the
// game's key out of a Wine prefix's system.reg and mapping a Windows path into
// the prefix. Kept apart from TCmInfo so that tests feed them text directly.
namespace CmWineReg {

// The first line of every registry file Wine writes.
inline constexpr std::string_view RegistryHeader = "WINE REGISTRY Version 2";

// Wine's registry files store a string as 8-bit text with escapes: \\, \",
// \xHHHH (up to four hex digits), octal \ooo and the C control escapes; any
// other byte is one UTF-16 code unit. Reads from the start of `text` up to the
// first unescaped `end` and sets `next` just past it; empty when there is none.
std::optional<std::u16string> ParseEscaped(std::string_view text, char end, std::size_t& next);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

struct TValue {
    // REG_SZ or REG_EXPAND_SZ; anything else is the "Invalid data type" case.
    bool IsText = false;
    // UTF-8, up to the first NUL, as a Windows reader of a C string sees it.
    std::string Text;
};

// The values of one key by name, ASCII lower-cased: names match
// case-insensitively, as in Wine.
using TValues = std::map<std::string, TValue>;

// The game's key in the text of a system.reg. In a 64-bit prefix the 32-bit
// installer's Wow6432Node key comes first, the plain key is the fallback.
// Empty when the text is no Wine registry or holds neither key.
std::optional<TValues> FindGameKey(std::string_view systemReg);

// The Unix path that Wine gives a Windows path in `prefix`: the drive through
// the prefix's dosdevices/<d>: link (c: falls back to drive_c), the rest with
// '\' turned into '/'. A path without a drive letter only has its '\' turned.
std::string WindowsToUnixPath(const std::string& prefix, std::string_view windowsPath);

} // namespace CmWineReg
