#pragma once

#include "tactic/Cm_file.h"
#include "tactic/Cm_player.h"

#include <array>
#include <string>

// One tactic in memory: seven team instruction texts and eleven players.
class TCmTactic {
public:
    static constexpr int TeamInstrCount = 7;
    static constexpr int PlayerCount = 11;
    // The codec reads and writes bytes 313..1460; anything shorter is no tactic.
    static constexpr int64_t MinimumFileSize = CmRegionOffset + CmRegionSize;

    using TError = TCmError;

    std::array<std::string, TeamInstrCount> TeamInstr;
    std::array<TCmPlayer, PlayerCount> Players;

    TCmTactic();

    // Both take the file's full path (UTF-8) and report success. A failed Load
    // changes nothing in memory; neither ever creates, truncates or grows a
    // file. The editor's region is read with one call and written with one.
    bool Load(const std::string& fileName);
    bool Save(const std::string& fileName);
    // A Load that also notes what it saw of the file, for a later checked save.
    bool Load(const std::string& fileName, TCmFileStamp& stamp);

    // The same codec over the editor's region in memory, and over an already
    // open file, for tests and the fuzzer.
    bool Decode(const TCmRegion& region);
    bool Encode(TCmRegion& region);
    bool Load(TCmFile& file);
    bool Save(TCmFile& file);

    TError LastError() const { return Failure.Error; }
    TCmFailure LastFailure() const { return Failure; }

private:
    bool Fail(TCmFailure failure);

    TCmFailure Failure;
};

// A checked save of the main tactic into the file it was loaded from. The
// file is opened once and held locked from the first check to the flush:
//   Open -> ChangedSinceLoad (ask the user) -> MakeReserveCopy -> Write.
// Every step reports failure with nothing written into the tactic file, but
// Write, whose failure may leave the file damaged.
class TCmSaveSession {
public:
    // Opens the file for reading and writing and checks that it is still the
    // tactic that was loaded: a regular file of the same size, reached
    // through a link only while the link leads to the loaded file.
    bool Open(const std::string& fileName, const TCmFileStamp& loaded);
    // Another program changed the editor's region (or saved the file anew
    // under its name) since the load.
    bool ChangedSinceLoad() const { return Changed; }
    // Copies the file as it is on disk to reserveName; an earlier copy of
    // that name is replaced only by a complete one.
    bool MakeReserveCopy(const std::string& reserveName);
    // Encodes the tactic into the file with one write and flushes it. The
    // stamp follows: it describes the file as written, and after a failed
    // write it keeps the reserve copy for the next save.
    bool Write(TCmTactic& tactic, TCmFileStamp& stamp);

    TCmFailure LastFailure() const { return Failure; }

private:
    bool Fail(TCmFailure failure);

    TCmDiskFile File;
    TCmRegion Region{};
    bool Changed = false;
    TCmFailure Failure;
};
