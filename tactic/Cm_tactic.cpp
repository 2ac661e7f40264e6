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

uint32_t EncodeTeam(const TTeamTexts& texts, uint32_t oldWord) {
    uint32_t word = oldWord & ~TeamOwnBits;
    int index = 0;
    for (const TChoice& field : TeamChoices)
        word |= EncodeText(field, texts[index++], oldWord);
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
        !file.WriteWord(EncodeTeam(TeamInstr, teamWord)))
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
