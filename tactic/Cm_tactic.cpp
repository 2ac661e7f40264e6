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
    stamp = {file.Id(), file.Size(), region, false};
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
            return Fail({TError::ReadFailed, 0});
    }
    uint32_t teamWord = 0;
    if (!file.Seek(TeamWordOffset) || !file.ReadWord(teamWord))
        return Fail({TError::ReadFailed, 0});
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
            return Fail({TError::WriteFailed, 0});
    }
    uint32_t teamWord = 0;
    if (!file.Seek(TeamWordOffset) || !file.ReadWord(teamWord) || !file.Seek(TeamWordOffset) ||
        !file.WriteWord(EncodeTeam(TeamInstr, teamWord)))
        return Fail({TError::WriteFailed, 0});
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
    if (!File.Open(fileName, TCmDiskFile::TMode::ReadWrite, TCmTactic::MinimumFileSize))
        return Fail(File.LastFailure());
    if (File.Size() != loaded.Size)
        return Fail({TCmError::Resized, 0});
    // A link that now leads elsewhere would have us overwrite another tactic.
    const bool sameFile = File.Id() == loaded.Id;
    if (!sameFile && File.ReachedByLink())
        return Fail({TCmError::Replaced, 0});
    if (!File.ReadRegion(Region))
        return Fail(File.LastFailure());
    // After our own failed write the difference is ours, not another program's.
    Changed = !loaded.KeepReserve && (!sameFile || Region != loaded.Region);
    return true;
}

bool TCmSaveSession::MakeReserveCopy(const std::string& reserveName) {
    return File.CopyTo(reserveName) || Fail(File.LastFailure());
}

bool TCmSaveSession::Write(TCmTactic& tactic, TCmFileStamp& stamp) {
    TCmRegion region = Region;
    if (!File.IsOpen() || !tactic.Encode(region))
        return Fail({TCmError::WriteFailed, 0});
    if (!File.WriteRegion(region)) {
        stamp.KeepReserve = true;
        return Fail(File.LastFailure());
    }
    // Whether or not the disk confirms it, the file now holds this region.
    stamp.Id = File.Id();
    stamp.Region = region;
    stamp.KeepReserve = !File.Flush();
    if (stamp.KeepReserve)
        return Fail(File.LastFailure());
    File.Close();
    return true;
}
