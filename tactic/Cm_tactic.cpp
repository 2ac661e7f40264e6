#include "tactic/Cm_tactic.h"

#include "tactic/Cm_codes.h"
#include "tactic/Cm_file.h"

#include <algorithm>

namespace {

using namespace cm_codes;

constexpr int64_t TeamWordOffset = 1369;

using TTeamTexts = std::array<std::string, TCmTactic::TeamInstrCount>;

void DecodeTeam(uint32_t word, TTeamTexts& texts) {
    int index = 0;
    for (const TChoice& field : TeamChoices)
        texts[index++] = DecodeText(field, word);
    index = TeamFirstPair;
    for (const TPair& pair : TeamPairs)
        texts[index++] = DecodeText(pair, word);
}

// The game's bits come from the word being replaced, an unknown code from `read`.
uint32_t EncodeTeam(const TTeamTexts& texts, uint32_t oldWord, uint32_t read) {
    uint32_t word = oldWord & ~TeamOwnBits;
    int index = 0;
    for (const TChoice& field : TeamChoices)
        word |= EncodeText(field, texts[index++], read);
    index = TeamFirstPair;
    for (const TPair& pair : TeamPairs)
        word |= EncodeText(pair, texts[index++]);
    return word;
}

} // namespace

TCmTactic::TCmTactic() {
    for (int i = 0; i < PlayerCount; ++i)
        Players[i].Init(i + 1);
}

bool TCmTactic::Fail(TCmFailure failure) {
    Failure = failure;
    return false;
}

bool TCmTactic::Load(const std::string& fileName) {
    TCmFileStamp stamp;
    return Load(fileName, stamp);
}

bool TCmTactic::Load(const std::string& fileName, TCmFileStamp& stamp) {
    TCmDiskFile file;
    TCmRegion region;
    if (!file.Open(fileName, TCmDiskFile::TMode::Read, MinimumFileSize) || !file.ReadRegion(region))
        return Fail(file.LastFailure());
    if (!Decode(region))
        return false;
    stamp = {file.Id(), file.Size(), region, file.RealPath()};
    return true;
}

bool TCmTactic::Save(const std::string& fileName) {
    TCmDiskFile file;
    TCmRegion region;
    if (!file.Open(fileName, TCmDiskFile::TMode::ReadWrite, MinimumFileSize) ||
        !file.ReadRegion(region))
        return Fail(file.LastFailure());
    if (!Encode(region))
        return false;
    // Success means the tactic is on the disk, not in a cache.
    if (!file.WriteRegion(region) || !file.Flush())
        return Fail(file.LastFailure());
    return true;
}

bool TCmTactic::Decode(const TCmRegion& region) {
    TCmMemoryFile view({region.begin(), region.end()}, CmRegionOffset);
    return Load(view);
}

bool TCmTactic::Encode(TCmRegion& region) {
    TCmMemoryFile view({region.begin(), region.end()}, CmRegionOffset);
    if (!Save(view))
        return false;
    std::copy(view.Data().begin(), view.Data().end(), region.begin());
    return true;
}

bool TCmTactic::Load(TCmFile& file) {
    // Decoded into a copy so that a failure anywhere leaves this tactic as it was.
    std::array<TCmPlayer, PlayerCount> players = Players;
    for (TCmPlayer& player : players) {
        if (!player.Read(file))
            return Fail({TCmError::ReadFailed, 0});
    }
    uint32_t teamWord = 0;
    if (!file.Seek(TeamWordOffset) || !file.ReadWord(teamWord))
        return Fail({TCmError::ReadFailed, 0});
    TTeamTexts team;
    DecodeTeam(teamWord, team);

    Players = std::move(players);
    TeamInstr = std::move(team);
    ReadTeamWord = teamWord;
    Failure = {};
    return true;
}

bool TCmTactic::Save(TCmFile& file) {
    for (TCmPlayer& player : Players) {
        if (!player.Write(file))
            return Fail({TCmError::WriteFailed, 0});
    }
    uint32_t teamWord = 0;
    if (!file.Seek(TeamWordOffset) || !file.ReadWord(teamWord) || !file.Seek(TeamWordOffset) ||
        !file.WriteWord(EncodeTeam(TeamInstr, teamWord, ReadTeamWord.value_or(teamWord))))
        return Fail({TCmError::WriteFailed, 0});
    Failure = {};
    return true;
}

bool TCmSaveSession::Fail(TCmFailure failure) {
    Failure = failure;
    File.Close();
    return false;
}

bool TCmSaveSession::Open(const std::string& fileName, const TCmFileStamp& loaded) {
    Changed = false;
    Failure = {};
    Name = fileName;
    KeepReserve = loaded.KeepReserve;
    if (!File.Open(fileName, TCmDiskFile::TMode::ReadWrite, TCmTactic::MinimumFileSize))
        return Fail(File.LastFailure());
    if (File.Size() != loaded.Size)
        return Fail({TCmError::Resized, 0});
    // Another file than the loaded one is that tactic saved anew only if it
    // lies where the loaded one lay and has no other name: a link or folder
    // that leads elsewhere, or a hard link, would have us overwrite another tactic.
    const bool sameFile = File.Id() == loaded.Id;
    if (!sameFile && (File.RealPath() != loaded.RealPath || File.Links() > 1))
        return Fail({TCmError::Replaced, 0});
    if (!File.ReadRegion(Region))
        return Fail(File.LastFailure());
    if (!KeepReserve) {
        Changed = !sameFile || Region != loaded.Region;
        return true;
    }
    // After our own write that could not be undone, every byte is the one
    // from before it or the one it wrote. Anything else is another program's,
    // and overwriting it would lose it: the reserve copy is taken already.
    for (std::size_t i = 0; sameFile && i < Region.size(); ++i)
        if (Region[i] != loaded.Region[i] && Region[i] != loaded.Attempt[i])
            return Fail({TCmError::ChangedAfterFailure, 0});
    return sameFile || Fail({TCmError::ChangedAfterFailure, 0});
}

bool TCmSaveSession::ReserveOfAnotherTactic(const std::string& reserveName) {
    // One that cannot be opened is left to the copy, which says why it cannot replace it.
    TCmDiskFile reserve;
    return File.IsOpen() && !KeepReserve &&
           reserve.Open(reserveName, TCmDiskFile::TMode::Read, 0) &&
           !File.SameOutsideRegion(reserve);
}

bool TCmSaveSession::MakeReserveCopy(const std::string& reserveName) {
    if (!File.IsOpen())
        return false;
    if (!File.StillAt(Name))
        return Fail(File.LastFailure());
    return KeepReserve || File.CopyTo(reserveName) || Fail(File.LastFailure());
}

bool TCmSaveSession::Write(TCmTactic& tactic, TCmFileStamp& stamp) {
    TCmRegion region = Region;
    if (!File.IsOpen() || !tactic.Encode(region))
        return Fail({TCmError::WriteFailed, 0});
    if (!File.StillAt(Name))
        return Fail(File.LastFailure());
    if (File.WriteRegion(region) && File.Flush()) {
        stamp = {File.Id(), File.Size(), region, File.RealPath()};
        File.Close();
        return true;
    }
    TCmFailure failure = File.LastFailure();
    // Undone at once with the bytes read before the write, which the reserve
    // copy holds too, so that no later session finds a damaged file. After an
    // earlier write that could not be undone there is nothing sound to go back to.
    failure.RolledBack = !KeepReserve && File.WriteRegion(Region) && File.Flush();
    stamp.Id = File.Id();
    stamp.RealPath = File.RealPath();
    stamp.Region = Region;
    stamp.KeepReserve = !failure.RolledBack;
    stamp.Attempt = region;
    return Fail(failure);
}

namespace {

bool CopyFailed(TCmFailure& failure, TCmFailure why) {
    failure = why;
    return false;
}

// Where `name` leads: false with the reason when it cannot be told; `exists`
// false for no file at all, or a folder or device, which the write refuses itself.
bool LookAt(const std::string& name, bool& exists, TCmFileId& id, TCmFailure& failure) {
    TCmDiskFile file;
    exists = file.Open(name, TCmDiskFile::TMode::Read, 0);
    id = file.Id();
    const TCmFailure why = file.LastFailure();
    return exists || why.Error == TCmError::NotAFile || CmNoSuchFile(why.System) ||
           CopyFailed(failure, why);
}

} // namespace

bool CmSaveCopy(TCmTactic& tactic, const std::string& source, const TCmFileStamp& loaded,
                const std::string& target, const std::string& reserveName,
                const std::function<bool(TCmCopyQuestion)>& confirm, TCmFileStamp& stamp,
                TCmFailure& failure) {
    failure = {};
    // Looked at one after another, never two held at once: on Windows the
    // second open of one file fails as locked, which would hide that it is one.
    bool exists = false;
    bool reserveExists = false;
    TCmFileId targetId;
    TCmFileId reserveId;
    if (!LookAt(target, exists, targetId, failure) ||
        (exists && !LookAt(reserveName, reserveExists, reserveId, failure)))
        return false;

    std::vector<uint8_t> bytes;
    TCmRegion region{};
    {
        TCmDiskFile original;
        if (!original.Open(source, TCmDiskFile::TMode::Read, TCmTactic::MinimumFileSize))
            return CopyFailed(failure, original.LastFailure());
        if ((exists && original.Id() == targetId) || (reserveExists && original.Id() == reserveId))
            return CopyFailed(failure, {TCmError::CopyIsTactic, 0});
        if (original.Size() != loaded.Size)
            return CopyFailed(failure, {TCmError::Resized, 0});
        if (!original.ReadAll(bytes))
            return CopyFailed(failure, original.LastFailure());
    }
    const auto regionAt = bytes.begin() + CmRegionOffset;
    std::copy_n(regionAt, CmRegionSize, region.begin());
    if (!tactic.Encode(region))
        return CopyFailed(failure, {TCmError::WriteFailed, 0});
    std::copy(region.begin(), region.end(), regionAt);

    // Asked once the name is known to be no folder nor the tactic itself.
    if (exists && !confirm(TCmCopyQuestion::ReplaceTarget))
        return false;
    if (exists) {
        TCmDiskFile old;
        if (!old.Open(target, TCmDiskFile::TMode::Read, 0))
            return CopyFailed(failure, old.LastFailure());
        if (old.Id() != targetId)
            return CopyFailed(failure, {TCmError::Moved, 0});
        TCmDiskFile reserve;
        if (reserve.Open(reserveName, TCmDiskFile::TMode::Read, 0) &&
            !old.SameOutsideRegion(reserve)) {
            reserve.Close();
            if (!confirm(TCmCopyQuestion::ReplaceOtherReserve))
                return false;
        }
        reserve.Close();
        if (!old.CopyTo(reserveName))
            return CopyFailed(failure, old.LastFailure());
    }
    if (!CmWriteNewFile(target, bytes, exists, failure))
        return false;
    TCmDiskFile copy;
    if (copy.Open(target, TCmDiskFile::TMode::Read, TCmTactic::MinimumFileSize))
        stamp = {copy.Id(), copy.Size(), region, copy.RealPath()};
    else
        stamp = {{}, static_cast<int64_t>(bytes.size()), region, {}};
    return true;
}
