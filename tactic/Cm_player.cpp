#include "tactic/Cm_player.h"

#include "tactic/Cm_codes.h"
#include "tactic/Cm_file.h"

#include <cstddef>

namespace {

using namespace cm_codes;

constexpr uint32_t WordABits() {
    uint32_t bits = 0;
    for (const TChoice& field : PlayerChoices)
        bits |= FieldBits(field);
    for (const TPair& pair : PlayerPairsA)
        bits |= pair.Yes | pair.No;
    return bits;
}
// Word A is wholly the editor's: every bit belongs to exactly one field.
static_assert(WordABits() == 0xFFFFFFFF);

// The player's slot in the file; only 1 to 11 lie inside the editor's bytes.
constexpr bool IsSlot(int32_t n) {
    return n >= 1 && n <= 11;
}
constexpr int64_t WordAOffset(int32_t n) {
    return 1365 + 8 * int64_t{n};
}
constexpr int64_t WordBOffset(int32_t n) {
    return 1369 + 8 * int64_t{n};
}
constexpr int64_t WithBallOffset(int32_t n) {
    return 265 + 96 * int64_t{n};
}
constexpr int64_t WithoutBallOffset(int32_t n) {
    return 217 + 96 * int64_t{n};
}

using TGrid = std::array<TCmPos, TCmPlayer::ZoneCount>;

bool ReadGrid(TCmFile& file, int64_t offset, TGrid& grid) {
    if (!file.Seek(offset))
        return false;
    for (TCmPos& pos : grid) {
        uint32_t word = 0;
        if (!file.ReadWord(word))
            return false;
        pos = {PositionX(word), PositionY(word)};
    }
    return true;
}

bool WriteGrid(TCmFile& file, int64_t offset, const TGrid& grid) {
    if (!file.Seek(offset))
        return false;
    for (const TCmPos& pos : grid)
        if (!file.WriteWord(EncodePosition(pos.X, pos.Y)))
            return false;
    return true;
}

// Reads the word at offset, then leaves the file positioned there again for
// the word that replaces it.
bool ReadForRewrite(TCmFile& file, int64_t offset, uint32_t& word) {
    return file.Seek(offset) && file.ReadWord(word) && file.Seek(offset);
}

} // namespace

void TCmPlayer::Init(int32_t number) {
    Number = number;
    NumberText = std::to_string(number);
}

bool TCmPlayer::Read(TCmFile& file) {
    if (!IsSlot(Number))
        return false;
    // Decoded aside and taken over only when every word arrived.
    uint32_t wordA = 0;
    uint32_t wordB = 0;
    TGrid withBall{};
    TGrid withoutBall{};
    if (!file.Seek(WordAOffset(Number)) || !file.ReadWord(wordA) ||
        !file.Seek(WordBOffset(Number)) || !file.ReadWord(wordB) ||
        !ReadGrid(file, WithBallOffset(Number), withBall) ||
        !ReadGrid(file, WithoutBallOffset(Number), withoutBall))
        return false;

    int index = PlayerFirstChoice;
    for (const TChoice& field : PlayerChoices)
        Instr[index++] = DecodeText(field, wordA);
    index = PlayerFirstPairA;
    for (const TPair& pair : PlayerPairsA)
        Instr[index++] = DecodeText(pair, wordA);
    index = PlayerFirstPairB;
    for (const TPair& pair : PlayerPairsB)
        Instr[index++] = DecodeText(pair, wordB);
    WithBall = withBall;
    WithoutBall = withoutBall;
    ReadWordA = wordA;
    return true;
}

bool TCmPlayer::Write(TCmFile& file) {
    if (!IsSlot(Number))
        return false;

    uint32_t oldA = 0;
    if (!ReadForRewrite(file, WordAOffset(Number), oldA))
        return false;
    uint32_t wordA = 0;
    int index = PlayerFirstChoice;
    for (const TChoice& field : PlayerChoices)
        wordA |= EncodeText(field, Instr[index++], ReadWordA.value_or(oldA));
    index = PlayerFirstPairA;
    for (const TPair& pair : PlayerPairsA)
        wordA |= EncodeText(pair, Instr[index++]);
    if (!file.WriteWord(wordA))
        return false;

    uint32_t wordB = 0;
    if (!ReadForRewrite(file, WordBOffset(Number), wordB))
        return false;
    wordB &= ~WordBOwnBits;
    index = PlayerFirstPairB;
    for (const TPair& pair : PlayerPairsB)
        wordB |= EncodeText(pair, Instr[index++]);
    if (!file.WriteWord(wordB))
        return false;

    return WriteGrid(file, WithBallOffset(Number), WithBall) &&
           WriteGrid(file, WithoutBallOffset(Number), WithoutBall);
}
