#include "Cm_tactic.h"

#include "Cm_codes.h"
#include "Cm_file.h"

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

TCmTactic::TError OpenError(TCmDiskFile::TError error) {
    switch (error) {
    case TCmDiskFile::TError::NotAFile:
    case TCmDiskFile::TError::TooShort:
        // A directory, device or truncated file: in any case no tactic.
        return TCmTactic::TError::TooShort;
    default:
        return TCmTactic::TError::CannotOpen;
    }
}

} // namespace

TCmTactic::TCmTactic() {
    for (int i = 0; i < PlayerCount; ++i)
        Players[i].Init(i + 1);
}

bool TCmTactic::Load(const std::string& fileName) {
    TCmDiskFile file;
    if (!file.Open(fileName, TCmDiskFile::TMode::Read, MinimumFileSize)) {
        Error = OpenError(file.LastError());
        return false;
    }
    return Load(file);
}

bool TCmTactic::Save(const std::string& fileName) {
    TCmDiskFile file;
    if (!file.Open(fileName, TCmDiskFile::TMode::ReadWrite, MinimumFileSize)) {
        Error = OpenError(file.LastError());
        return false;
    }
    if (!Save(file))
        return false;
    // Success means the tactic is on the disk, not in a cache.
    if (!file.Flush()) {
        Error = TError::WriteFailed;
        return false;
    }
    return true;
}

bool TCmTactic::Load(TCmFile& file) {
    // Decoded into a copy so that a failure anywhere leaves this tactic as it was.
    std::array<TCmPlayer, PlayerCount> players = Players;
    for (TCmPlayer& player : players) {
        if (!player.Read(file)) {
            Error = TError::ReadFailed;
            return false;
        }
    }
    uint32_t teamWord = 0;
    if (!file.Seek(TeamWordOffset) || !file.ReadWord(teamWord)) {
        Error = TError::ReadFailed;
        return false;
    }
    TTeamTexts team;
    DecodeTeam(teamWord, team);

    Players = std::move(players);
    TeamInstr = std::move(team);
    Error = TError::None;
    return true;
}

bool TCmTactic::Save(TCmFile& file) {
    for (TCmPlayer& player : Players) {
        if (!player.Write(file)) {
            Error = TError::WriteFailed;
            return false;
        }
    }
    uint32_t teamWord = 0;
    if (!file.Seek(TeamWordOffset) || !file.ReadWord(teamWord) || !file.Seek(TeamWordOffset) ||
        !file.WriteWord(EncodeTeam(TeamInstr, teamWord))) {
        Error = TError::WriteFailed;
        return false;
    }
    Error = TError::None;
    return true;
}
