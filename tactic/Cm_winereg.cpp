#include "tactic/Cm_winereg.h"

#include "tactic/Cm_info.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace CmWineReg {

namespace {

constexpr std::string_view Win64Mark = "#arch=win64";

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string TextUpToNul(std::u16string_view units) {
    return Utf16ToUtf8(units.substr(0, units.find(u'\0')));
}

// One line at `pos`, without its line end; advances `pos` past it.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
        end = text.size();
    pos = end + 1;
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// The number N of a "str(N):" or "hex(N):" type, with `text` just past '('.
// Moves `text` past "):".
std::optional<unsigned> ParseTypeNumber(std::string_view& text) {
    unsigned number = 0;
    std::size_t digits = 0;
    while (digits < text.size() && digits < 8 && HexDigit(text[digits]) >= 0)
        number = number * 16 + static_cast<unsigned>(HexDigit(text[digits++]));
    if (digits == 0 || !StartsWith(text.substr(digits), "):"))
        return std::nullopt;
    text.remove_prefix(digits + 2);
    return number;
}

// Comma-separated hex bytes; a line ending in '\' continues on the next one.
std::string ParseHexBytes(std::string_view data, std::string_view text, std::size_t& pos) {
    std::string bytes;
    for (;;) {
        data = SkipBlanks(data);
        while (!data.empty() && HexDigit(data.front()) >= 0) {
            const int high = HexDigit(data.front());
            data.remove_prefix(1);
            int value = high;
            if (!data.empty() && HexDigit(data.front()) >= 0) {
                value = high * 16 + HexDigit(data.front());
                data.remove_prefix(1);
            }
            bytes.push_back(static_cast<char>(value));
            data = SkipBlanks(data);
            if (!data.empty() && data.front() == ',')
                data.remove_prefix(1);
            data = SkipBlanks(data);
        }
        if (data != "\\" || pos >= text.size())
            return bytes;
        data = NextLine(text, pos);
    }
}

std::u16string LittleEndianUnits(const std::string& bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return units;
}

// The data after "Name"=; empty when Wine would reject the line as well.
std::optional<TValue> ParseData(std::string_view data, std::string_view text, std::size_t& pos) {
    bool isText = true;
    if (StartsWith(data, "str:")) {
        data.remove_prefix(4);
    } else if (StartsWith(data, "str(")) {
        data.remove_prefix(4);
        const auto type = ParseTypeNumber(data);
        if (!type)
            return std::nullopt;
        isText = *type == 1 || *type == 2;
    } else if (StartsWith(data, "hex(")) {
        data.remove_prefix(4);
        const auto type = ParseTypeNumber(data);
        if (!type)
            return std::nullopt;
        // Wine writes a REG_SZ or REG_EXPAND_SZ that lacks its terminating NUL
        // as hex(1) or hex(2): still text, in UTF-16LE.
        if (*type != 1 && *type != 2)
            return TValue{};
        return TValue{true, TextUpToNul(LittleEndianUnits(ParseHexBytes(data, text, pos)))};
    } else if (StartsWith(data, "hex:") || StartsWith(data, "dword:")) {
        return TValue{};
    }
    if (data.empty() || data.front() != '"')
        return std::nullopt;
    std::size_t next = 0;
    const auto units = ParseEscaped(data.substr(1), '"', next);
    if (!units)
        return std::nullopt;
    if (!isText)
        return TValue{};
    return TValue{true, TextUpToNul(*units)};
}

void ParseValueLine(std::string_view line, std::string_view text, std::size_t& pos,
                    TValues& values) {
    std::size_t next = 0;
    const auto name = ParseEscaped(line.substr(1), '"', next);
    if (!name)
        return;
    std::string_view rest = SkipBlanks(line.substr(1 + next));
    if (rest.empty() || rest.front() != '=')
        return;
    if (auto value = ParseData(SkipBlanks(rest.substr(1)), text, pos))
        values[AsciiLower(Utf16ToUtf8(*name))] = std::move(*value);
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string Slashes(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

} // namespace

std::optional<std::u16string> ParseEscaped(std::string_view text, char end, std::size_t& next) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size() && text[i] != end) {
        const char c = text[i++];
        if (c != '\\') {
            out.push_back(static_cast<unsigned char>(c));
            continue;
        }
        if (i == text.size())
            break;
        const char e = text[i++];
        switch (e) {
        case 'a':
            out.push_back(u'\a');
            break;
        case 'b':
            out.push_back(u'\b');
            break;
        case 'e':
            out.push_back(u'\x1b');
            break;
        case 'f':
            out.push_back(u'\f');
            break;
        case 'n':
            out.push_back(u'\n');
            break;
        case 'r':
            out.push_back(u'\r');
            break;
        case 't':
            out.push_back(u'\t');
            break;
        case 'v':
            out.push_back(u'\v');
            break;
        case 'x': {
            unsigned value = 0;
            int digits = 0;
            while (digits < 4 && i < text.size() && HexDigit(text[i]) >= 0) {
                value = value * 16 + static_cast<unsigned>(HexDigit(text[i++]));
                ++digits;
            }
            // "\x" without a digit stands for the letter itself, as in Wine.
            out.push_back(digits == 0 ? u'x' : static_cast<char16_t>(value));
            break;
        }
        default:
            if (IsOctal(e)) {
                unsigned value = static_cast<unsigned>(e - '0');
                for (int digits = 1; digits < 3 && i < text.size() && IsOctal(text[i]); ++digits)
                    value = value * 8 + static_cast<unsigned>(text[i++] - '0');
                out.push_back(static_cast<char16_t>(value));
            } else {
                out.push_back(static_cast<unsigned char>(e));
            }
        }
    }
    if (i >= text.size() || text[i] != end)
        return std::nullopt;
    next = i + 1;
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<TValues> FindGameKey(std::string_view systemReg) {
    std::size_t pos = 0;
    if (NextLine(systemReg, pos) != RegistryHeader)
        return std::nullopt;
    // Lower-cased and unescaped, as key names are compared; a 32-bit
    // installer's key in a 64-bit prefix lies under Software\Wow6432Node.
    static const std::string gameKey = AsciiLower(std::string(TCmInfo::GameKey));
    static const std::string wow64GameKey =
        "software\\wow6432node" + gameKey.substr(gameKey.find('\\'));
    static const std::string version = gameKey.substr(gameKey.rfind(' ') + 1);
    bool win64 = false;
    std::optional<TValues> plain;
    std::optional<TValues> wow64;
    TValues* current = nullptr;
    while (pos < systemReg.size()) {
        const std::string_view line = NextLine(systemReg, pos);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            // "[name] timestamp"; a later copy of a key adds to it, as Wine loads it.
            // "00-01" has no case and nothing Wine escapes: most keys of a
            // prefix (thousands) are passed over without parsing their names.
            std::size_t next = 0;
            const auto name = line.find(version) == std::string_view::npos
                                  ? std::nullopt
                                  : ParseEscaped(line.substr(1), ']', next);
            const std::string key = name ? AsciiLower(Utf16ToUtf8(*name)) : std::string();
            current = nullptr;
            if (key == gameKey)
                current = plain ? &*plain : &plain.emplace();
            else if (key == wow64GameKey)
                current = wow64 ? &*wow64 : &wow64.emplace();
        } else if (line == Win64Mark) {
            win64 = true;
        } else if (line.front() == '"' && current) {
            ParseValueLine(line, systemReg, pos, *current);
        }
    }
    if (win64 && wow64)
        return wow64;
    return plain;
}

std::string WindowsToUnixPath(const std::string& prefix, std::string_view windowsPath) {
    const char drive = windowsPath.empty() ? '\0' : AsciiLower(std::string(1, windowsPath[0]))[0];
    if (windowsPath.size() < 2 || windowsPath[1] != ':' || drive < 'a' || drive > 'z')
        return Slashes(windowsPath);
    fs::path root = fs::path(prefix) / "dosdevices" / (std::string(1, drive) + ":");
    std::error_code error;
    if (drive == 'c' && fs::symlink_status(root, error).type() == fs::file_type::not_found)
        root = fs::path(prefix) / "drive_c";
    const fs::path resolved = fs::weakly_canonical(root, error);
    std::string out = (error || resolved.empty() ? root : resolved).generic_string();
    const std::string rest = Slashes(windowsPath.substr(2));
    // "C:CM0001" is relative to the drive's current folder, which is its root here.
    if (!rest.empty() && rest.front() != '/')
        out += '/';
    return out + rest;
}

} // namespace CmWineReg
