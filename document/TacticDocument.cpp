#include "document/TacticDocument.h"

#include "document/ShortName.h"
#include "tactic/Cm_codes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUndoCommand>

#include <algorithm>

std::string NativeFileName(const QString& path) {
#ifdef _WIN32
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

// One dropped player: the one entry of its zone and phase.
class TMovePlayer : public QUndoCommand {
public:
    TMovePlayer(TTacticDocument& document, int player, int zone, bool withBall, TCmPos from,
                TCmPos to)
        : Document(document)
        , Player(player)
        , Zone(zone)
        , WithBall(withBall)
        , From(from)
        , To(to) {}

    void undo() override { Document.StorePosition(Player, Zone, WithBall, From); }
    void redo() override { Document.StorePosition(Player, Zone, WithBall, To); }

private:
    TTacticDocument& Document;
    int Player;
    int Zone;
    bool WithBall;
    TCmPos From;
    TCmPos To;
};

// One pick in the grid, or a run of picks on one cell: one player instruction text.
class TSetInstruction : public QUndoCommand {
public:
    TSetInstruction(TTacticDocument& document, int run, int player, int column, std::string from,
                    std::string to)
        : Document(document)
        , Run(run)
        , Player(player)
        , Column(column)
        , From(std::move(from))
        , To(std::move(to)) {}

    void undo() override { Document.StoreInstruction(Player, Column, From); }
    void redo() override { Document.StoreInstruction(Player, Column, To); }
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const TSetInstruction*>(other);
        if (next->Run != Run || next->Player != Player || next->Column != Column)
            return false;
        To = next->To;
        // Picked back to where the run began: no step is left.
        setObsolete(To == From);
        return true;
    }

private:
    TTacticDocument& Document;
    int Run;
    int Player;
    int Column;
    std::string From;
    std::string To;
};

// Many positions at once. It remembers the zone and phase it was made in, so
// that an undo shows where the maker was looking.
class TSetPositions : public QUndoCommand {
public:
    using TPositions = TTacticDocument::TPositions;

    TSetPositions(TTacticDocument& document, int run, int mergeKey, const QString& text,
                  const TPositions& from, const TPositions& to)
        : QUndoCommand(text)
        , Document(document)
        , Run(run)
        , MergeKey(mergeKey)
        , Zone(document.BallZone())
        , WithBall(document.WithBall())
        , From(from)
        , To(to) {}

    void undo() override { Document.StorePositions(From, Zone, WithBall); }
    void redo() override { Document.StorePositions(To, Zone, WithBall); }
    int id() const override { return MergeKey == 0 ? -1 : 4; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const TSetPositions*>(other);
        if (next->Run != Run || next->MergeKey != MergeKey || next->Zone != Zone ||
            next->WithBall != WithBall)
            return false;
        To = next->To;
        setObsolete(To == From);
        return true;
    }

private:
    TTacticDocument& Document;
    int Run;
    int MergeKey;
    int Zone;
    bool WithBall;
    TPositions From;
    TPositions To;
};

// One pick of a team instruction, or a run of picks on it.
class TSetTeamInstruction : public QUndoCommand {
public:
    TSetTeamInstruction(TTacticDocument& document, int run, int index, std::string from,
                        std::string to)
        : Document(document)
        , Run(run)
        , Index(index)
        , From(std::move(from))
        , To(std::move(to)) {}

    void undo() override { Document.StoreTeamInstruction(Index, From); }
    void redo() override { Document.StoreTeamInstruction(Index, To); }
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const TSetTeamInstruction*>(other);
        if (next->Run != Run || next->Index != Index)
            return false;
        To = next->To;
        setObsolete(To == From);
        return true;
    }

private:
    TTacticDocument& Document;
    int Run;
    int Index;
    std::string From;
    std::string To;
};

// One value picked for several players' cells of one column.
class TSetInstructions : public QUndoCommand {
public:
    TSetInstructions(TTacticDocument& document, int run, int column, QList<int> players,
                     std::vector<std::string> from, const std::string& to)
        : Document(document)
        , Run(run)
        , Column(column)
        , Players(std::move(players))
        , From(std::move(from))
        , To(From.size(), to) {}

    void undo() override { Document.StoreInstructions(Column, Players, From); }
    void redo() override { Document.StoreInstructions(Column, Players, To); }
    int id() const override { return 3; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const TSetInstructions*>(other);
        if (next->Run != Run || next->Column != Column || next->Players != Players)
            return false;
        To = next->To;
        setObsolete(To == From);
        return true;
    }

private:
    TTacticDocument& Document;
    int Run;
    int Column;
    QList<int> Players;
    std::vector<std::string> From;
    std::vector<std::string> To;
};

TTacticDocument::TTacticDocument(const TTacticColors& mainColors, const TTacticColors& secondColors,
                                 QObject* parent)
    : QObject(parent)
    , Colors{mainColors, secondColors} {}

QString TTacticDocument::MainName() const {
    return ShortName(MainFile);
}

QString TTacticDocument::ReservePath() const {
    return ReservePathOf(MainFile);
}

QString TTacticDocument::ReservePathOf(const QString& path) {
    return QFileInfo(path).absoluteDir().filePath(ShortName(path) + ".old");
}

TCmFailure TTacticDocument::LoadMain(const QString& path) {
    TCmFileStamp stamp;
    if (!MainTactic.Load(NativeFileName(path), stamp))
        return MainTactic.LastFailure();
    MainFile = path;
    MainStamp = stamp;
    Steps.clear();
    return {};
}

TCmFailure TTacticDocument::LoadSecond(const QString& path) {
    if (!SecondTactic.Load(NativeFileName(path)))
        return SecondTactic.LastFailure();
    HasSecond = true;
    return {};
}

TTacticDocument::TSaveOutcome
TTacticDocument::Save(const std::function<bool(TSaveQuestion)>& confirm) {
    // One open, locked, from the checks to the flush: no other saver can
    // write the file between its reserve copy and the write.
    TCmSaveSession save;
    const std::string reserve = NativeFileName(ReservePath());
    const bool saved =
        save.Open(NativeFileName(MainFile), MainStamp) &&
        (!save.ChangedSinceLoad() || confirm(TSaveQuestion::ChangedOnDisk)) &&
        (!save.ReserveOfAnotherTactic(reserve) || confirm(TSaveQuestion::ReserveOfAnotherTactic)) &&
        save.MakeReserveCopy(reserve) && save.Write(MainTactic, MainStamp);
    SaveFailure = save.LastFailure();
    if (saved) {
        Steps.setClean();
        return TSaveOutcome::Saved;
    }
    return SaveFailure.Error == TCmError::None ? TSaveOutcome::Declined : TSaveOutcome::Failed;
}

TTacticDocument::TSaveOutcome
TTacticDocument::SaveCopy(const QString& path, const std::function<bool(TSaveQuestion)>& confirm) {
    if (!MainLoaded())
        return TSaveOutcome::Declined;
    TCmFileStamp stamp;
    const bool saved = CmSaveCopy(
        MainTactic, NativeFileName(MainFile), MainStamp, NativeFileName(path),
        NativeFileName(ReservePathOf(path)),
        [&](TCmCopyQuestion question) {
            return confirm(question == TCmCopyQuestion::ReplaceTarget
                               ? TSaveQuestion::ReplaceFile
                               : TSaveQuestion::ReserveOfAnotherTactic);
        },
        stamp, SaveFailure);
    if (!saved)
        return SaveFailure.Error == TCmError::None ? TSaveOutcome::Declined : TSaveOutcome::Failed;
    // The history stays: its steps now lead to and from the copy.
    MainFile = path;
    MainStamp = stamp;
    Steps.setClean();
    return TSaveOutcome::Saved;
}

bool TTacticDocument::MovePlayer(int player, int zone, bool withBall, TCmPos cell) {
    if (player < 0 || player >= TCmTactic::PlayerCount || zone < 0 || zone >= TCmPlayer::ZoneCount)
        return false;
    const TCmPlayer& p = MainTactic.Players[player];
    const TCmPos from = withBall ? p.WithBall[zone] : p.WithoutBall[zone];
    if (from == cell)
        return false;
    Steps.push(new TMovePlayer(*this, player, zone, withBall, from, cell));
    return true;
}

bool TTacticDocument::SetInstruction(int player, int column, const std::string& text) {
    if (player < 0 || player >= TCmTactic::PlayerCount || column < 0 ||
        column >= TCmPlayer::InstrCount)
        return false;
    const std::string& from = MainTactic.Players[player].Instr[column];
    if (from == text)
        return false;
    Steps.push(new TSetInstruction(*this, PickRun, player, column, from, text));
    return true;
}

TTacticDocument::TPositions TTacticDocument::Positions() const {
    TPositions positions;
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        const TCmPlayer& p = MainTactic.Players[static_cast<size_t>(i)];
        positions[static_cast<size_t>(i)] = {p.WithBall, p.WithoutBall};
    }
    return positions;
}

bool TTacticDocument::SetPositions(const TPositions& positions, const QString& text, int mergeKey) {
    const TPositions from = Positions();
    if (from == positions)
        return false;
    Steps.push(new TSetPositions(*this, PickRun, mergeKey, text, from, positions));
    return true;
}

void TTacticDocument::StorePositions(const TPositions& positions, int zone, bool withBall) {
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        TCmPlayer& p = MainTactic.Players[static_cast<size_t>(i)];
        p.WithBall = positions[static_cast<size_t>(i)][0];
        p.WithoutBall = positions[static_cast<size_t>(i)][1];
    }
    Zone = zone;
    Phase = withBall;
    emit positionsChanged();
}

void TTacticDocument::StorePosition(int player, int zone, bool withBall, TCmPos cell) {
    TCmPlayer& p = MainTactic.Players[player];
    (withBall ? p.WithBall[zone] : p.WithoutBall[zone]) = cell;
    Zone = zone;
    Phase = withBall;
    emit positionsChanged();
}

void TTacticDocument::StoreInstruction(int player, int column, const std::string& text) {
    MainTactic.Players[player].Instr[column] = text;
    emit instructionsChanged(player, column);
}

bool TTacticDocument::SetTeamInstruction(int index, const std::string& text) {
    // Only what the codec can write is taken; an unknown value comes back by undo alone.
    const auto offered = cm_codes::TeamInstrValues(index);
    if (std::find(offered.begin(), offered.end(), text) == offered.end())
        return false;
    const std::string& from = MainTactic.TeamInstr[index];
    if (from == text)
        return false;
    Steps.push(new TSetTeamInstruction(*this, PickRun, index, from, text));
    return true;
}

bool TTacticDocument::SetInstructions(int column, const QList<int>& players,
                                      const std::string& text) {
    if (column < 0 || column >= TCmPlayer::InstrCount || players.isEmpty())
        return false;
    QList<int> sorted = players;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.front() < 0 || sorted.back() >= TCmTactic::PlayerCount)
        return false;
    std::vector<std::string> from;
    for (int player : sorted)
        from.push_back(MainTactic.Players[player].Instr[column]);
    if (std::all_of(from.begin(), from.end(), [&](const std::string& t) { return t == text; }))
        return false;
    Steps.push(new TSetInstructions(*this, PickRun, column, sorted, std::move(from), text));
    return true;
}

void TTacticDocument::StoreTeamInstruction(int index, const std::string& text) {
    MainTactic.TeamInstr[index] = text;
    emit teamInstructionChanged(index);
}

void TTacticDocument::StoreInstructions(int column, const QList<int>& players,
                                        const std::vector<std::string>& texts) {
    for (qsizetype i = 0; i < players.size(); ++i)
        MainTactic.Players[players[i]].Instr[column] = texts[static_cast<std::size_t>(i)];
    emit instructionsSetFor(column, players);
}
