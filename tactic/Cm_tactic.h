#pragma once

#include "tactic/Cm_file.h"
#include "tactic/Cm_player.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

// One tactic in memory: seven team instruction texts and eleven players.
class TCmTactic {
public:
    static constexpr int TeamInstrCount = 7;
    static constexpr int PlayerCount = 11;
    // The codec reads and writes bytes 313..1460; anything shorter is no tactic.
    static constexpr int64_t MinimumFileSize = CmRegionOffset + CmRegionSize;

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

    TCmError LastError() const { return Failure.Error; }
    TCmFailure LastFailure() const { return Failure; }

private:
    bool Fail(TCmFailure failure);

    TCmFailure Failure;
    // The team word as last read: "?????" stands for the code read there.
    std::optional<uint32_t> ReadTeamWord;
};

// A checked save of the main tactic into the file it was loaded from. The
// file is opened once and held locked from the first check to the flush:
//   Open -> ChangedSinceLoad, ReserveOfAnotherTactic (ask the user)
//        -> MakeReserveCopy -> Write.
// Every step reports failure with nothing written into the tactic file, but
// Write, which puts the file back as it was when its write fails, and says
// whether it could.
class TCmSaveSession {
public:
    // Opens the file for reading and writing and checks that it is still the
    // tactic that was loaded: a regular file of the same size, and where it
    // is another file than the loaded one, one that took the loaded file's
    // place (not a link or folder leading elsewhere, nor a second name of
    // another file). After a write that could not be undone it must hold
    // nothing but what that write left.
    bool Open(const std::string& fileName, const TCmFileStamp& loaded);
    // Another program changed the editor's region (or saved the file anew
    // under its name) since the load.
    bool ChangedSinceLoad() const { return Changed; }
    // A reserve copy of that name exists that was made from another tactic
    // file (one whose name differs only in case shares it): its size or its
    // bytes outside the editor's region differ from this file's.
    bool ReserveOfAnotherTactic(const std::string& reserveName);
    // Checks that the name still leads to the held file, whatever happened
    // while the user was asked, then copies the file as it is on disk to
    // reserveName; an earlier copy of that name is replaced only by a
    // complete one. After a write that could not be undone the earlier copy
    // holds the tactic from before it and is kept.
    bool MakeReserveCopy(const std::string& reserveName);
    // Encodes the tactic into the file with one write and flushes it. The
    // stamp follows: it describes the file as written, or as put back.
    bool Write(TCmTactic& tactic, TCmFileStamp& stamp);

    TCmFailure LastFailure() const { return Failure; }

private:
    bool Fail(TCmFailure failure);

    std::string Name;
    TCmDiskFile File;
    TCmRegion Region{};
    bool Changed = false;
    bool KeepReserve = false;
    TCmFailure Failure;
};

// Writes `tactic` into a new file `target`: the bytes of the loaded file
// `source` (still of the stamped size) with the editor's region as the codec
// writes it, so the copy has the original's size. The copy appears whole or
// not at all (CmWriteNewFile). An existing target is replaced only when
// `confirm` says yes to ReplaceTarget, and before that copied to reserveName
// as a save copies its tactic; a reserve copy of that name made from another
// tactic is replaced only after a yes to ReplaceOtherReserve. Refused, nothing written: a target or
// a reserve name that is the loaded file itself, by whatever name or link. On success `stamp`
// describes the copy; a no is false with error None.
enum class TCmCopyQuestion { ReplaceTarget, ReplaceOtherReserve };
bool CmSaveCopy(TCmTactic& tactic, const std::string& source, const TCmFileStamp& loaded,
                const std::string& target, const std::string& reserveName,
                const std::function<bool(TCmCopyQuestion)>& confirm, TCmFileStamp& stamp,
                TCmFailure& failure);
