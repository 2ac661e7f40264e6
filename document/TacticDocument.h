#pragma once

#include "document/TacticColors.h"
#include "tactic/Cm_tactic.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>
#include <string>
#include <vector>

// The editing state of the window, without the window: the main and the
// second tactic, the main tactic's file, the ball zone and phase shown, the
// tactics' colours, and the history of the main tactic's edits with its saved
// state. Every edit of the main tactic goes through here as one undoable step;
// the window redraws on the signals, whether a step was done, undone or redone.
class TTacticDocument : public QObject {
    Q_OBJECT
public:
    enum class TSaveOutcome { Saved, Declined, Failed };
    // What a save asks before it writes over something: another program's
    // change of the tactic, or a reserve copy made from another tactic file.
    // A copy asks too before it replaces an existing file.
    enum class TSaveQuestion { ChangedOnDisk, ReserveOfAnotherTactic, ReplaceFile };
    // Every position of the main tactic: [player][0 with ball, 1 without][zone].
    using TPositions =
        std::array<std::array<std::array<TCmPos, TCmPlayer::ZoneCount>, 2>, TCmTactic::PlayerCount>;

    TTacticDocument(const TTacticColors& mainColors, const TTacticColors& secondColors,
                    QObject* parent = nullptr);

    const TCmTactic& Main() const { return MainTactic; }
    const TCmTactic& Second() const { return SecondTactic; }
    bool MainLoaded() const { return !MainFile.isEmpty(); }
    bool SecondLoaded() const { return HasSecond; }
    // The full path the main tactic was last loaded from; saves write into it.
    const QString& MainFileName() const { return MainFile; }
    // The main tactic's short name, as shown and as its reserve copy is named.
    QString MainName() const;
    // The reserve copy: the short name followed by ".old", beside the file.
    QString ReservePath() const;

    int BallZone() const { return Zone; }
    void SetBallZone(int zone) { Zone = zone; }
    bool WithBall() const { return Phase; }
    void SetWithBall(bool withBall) { Phase = withBall; }
    const TTacticColors& MainColors() const { return Colors[0]; }
    const TTacticColors& SecondColors() const { return Colors[1]; }
    void SetColors(bool main, const TTacticColors& colors) { Colors[main ? 0 : 1] = colors; }

    // Error None when loaded. A failed load changes nothing; a loaded main
    // tactic starts a new history.
    TCmFailure LoadMain(const QString& path);
    TCmFailure LoadSecond(const QString& path);
    // The checked save into the main tactic's file: one locked open, the
    // reserve copy of the file as it is on disk, then one write; no save
    // without the copy. `confirm` is asked each question that applies; a no
    // is Declined. A save marks the current step as the saved one; a failed
    // one leaves the edits unsaved.
    TSaveOutcome Save(const std::function<bool(TSaveQuestion)>& confirm);
    TCmFailure LastSaveFailure() const { return SaveFailure; }

    // The two kinds of edit. Storing what is already there is no step;
    // both return whether a step was made (and its signal emitted). Picks in
    // a row on the same cell are one step, until EndMerging.
    bool MovePlayer(int player, int zone, bool withBall, TCmPos cell);
    bool SetInstruction(int player, int column, const std::string& text);
    // Many positions at once, as one step named `text` (a copied or mirrored
    // shape, a keyboard move); storing what is there is no step. Steps in a
    // row with the same non-zero mergeKey, zone and phase are one step, until
    // EndMerging. An undo or redo shows the zone and phase it was made in.
    TPositions Positions() const;
    bool SetPositions(const TPositions& positions, const QString& text, int mergeKey = 0);
    // The run of picks that merge into one step ends (the list lost the
    // keyboard, or another cell was chosen).
    void EndMerging() { ++PickRun; }

    QUndoStack& History() { return Steps; }
    // The main tactic differs from its last load or save.
    bool IsModified() const { return !Steps.isClean(); }

    // Team instructions: TeamInstr[index] takes one of the values the codec
    // offers for it. Picks in a row on the same instruction are one step,
    // until EndMerging. Returns whether a step was made.
    bool SetTeamInstruction(int index, const std::string& text);

    // One value for several players: Instr[column] of each of `players`
    // (player indices) in one step; picks in a row on the same cells merge
    // as those on one cell do. Returns whether a step was made.
    bool SetInstructions(int column, const QList<int>& players, const std::string& text);

    // Save a copy: the tactic as edited into the new file `path`, the loaded
    // file's other bytes kept; an existing file there first gets its own
    // reserve copy beside it. `confirm` is asked before an existing file is
    // replaced (ReplaceFile) and about a reserve copy of another tactic. Afterwards the copy is the
    // main tactic, saved as it stands; the loaded file is untouched.
    TSaveOutcome SaveCopy(const QString& path, const std::function<bool(TSaveQuestion)>& confirm);
    // The reserve copy a file at `path` would get: its short name and ".old", beside it.
    static QString ReservePathOf(const QString& path);

signals:
    // A position of the main tactic changed; the ball zone and phase are
    // those of the change, so that an undo shows what it undid.
    void positionsChanged();
    // A player instruction of the main tactic changed: the grid follows.
    void instructionsChanged(int player, int column);
    // A team instruction of the main tactic changed.
    void teamInstructionChanged(int index);
    // Instr[column] of several players changed in one step: the grid selects them.
    void instructionsSetFor(int column, const QList<int>& players);

private:
    friend class TMovePlayer;
    friend class TSetInstruction;
    friend class TSetPositions;
    friend class TSetTeamInstruction;
    friend class TSetInstructions;
    void StorePosition(int player, int zone, bool withBall, TCmPos cell);
    void StoreInstruction(int player, int column, const std::string& text);
    void StorePositions(const TPositions& positions, int zone, bool withBall);
    void StoreTeamInstruction(int index, const std::string& text);
    void StoreInstructions(int column, const QList<int>& players,
                           const std::vector<std::string>& texts);

    TCmTactic MainTactic;
    TCmTactic SecondTactic;
    QString MainFile;
    // What the last load or save saw of MainFile, to check it at the next save.
    TCmFileStamp MainStamp;
    TCmFailure SaveFailure;
    bool HasSecond = false;
    int PickRun = 0;
    int Zone = 5;
    bool Phase = true;
    TTacticColors Colors[2];
    QUndoStack Steps;
};

// A file name as the data layer takes it: UTF-8 on Windows, where it is
// widened again, and the file system's own bytes elsewhere.
std::string NativeFileName(const QString& path);
