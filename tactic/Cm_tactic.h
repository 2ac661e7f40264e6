#pragma once

#include "Cm_player.h"

#include <array>
#include <string>

// One tactic in memory: seven team instruction texts and eleven players.
class TCmTactic {
public:
    static constexpr int TeamInstrCount = 7;
    static constexpr int PlayerCount = 11;
    // The codec reads and writes bytes 313..1460; anything shorter is no tactic.
    static constexpr int64_t MinimumFileSize = 1461;

    // Why the last Load or Save failed, for the window's message.
    enum class TError { None, CannotOpen, TooShort, ReadFailed, WriteFailed };

    std::array<std::string, TeamInstrCount> TeamInstr;
    std::array<TCmPlayer, PlayerCount> Players;

    TCmTactic();

    // Both take the file's full path (UTF-8) and report success. A failed Load
    // changes nothing in memory; neither ever creates, truncates or grows a file.
    bool Load(const std::string& fileName);
    bool Save(const std::string& fileName);

    // The same codec over an already open file, for tests and the fuzzer.
    bool Load(TCmFile& file);
    bool Save(TCmFile& file);

    TError LastError() const { return Error; }

private:
    TError Error = TError::None;
};
