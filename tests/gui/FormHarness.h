#pragma once

// What the window's test suites share: a Wine prefix of their own with the
// game installed (or not), tactic files written by the tests, and the window
// started on them with scripted dialogs.

#include "Cm_tactic.h"
#include "Dialogs.h"
#include "Mainunit.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QAbstractButton;
class QWidget;

namespace guitest {

// A temporary Wine prefix. With the game, system.reg records it at C:\CM0001
// and drive_c/CM0001/tactics exists; without it, the prefix has no registry.
class TGameFolder {
public:
    explicit TGameFolder(bool withGame = true);

    QString Prefix() const { return Dir.path(); }
    QString Tactics() const;
    // Writes `tactic` into a new file of `size` bytes whose other bytes hold
    // a pattern; returns the file's path.
    QString WriteTactic(const QString& name, const TCmTactic& tactic, int size = 1600) const;
    // A file of the given bytes in the tactics folder.
    QString WriteBytes(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir Dir;
};

// A tactic with every text valid and positions that differ from player to
// player, zone to zone and phase to phase; `seed` varies them.
TCmTactic SampleTactic(int seed);

QByteArray ReadAll(const QString& path);

// The window started against `game` (WINEPREFIX points there), or null when
// the start-up was declined.
std::unique_ptr<TMainForm> StartForm(TScriptedDialogs& dialogs, const TGameFolder& game);

// Clicks Browse1 (tag 1) or Browse2 (tag 2) with the dialog answering `path`.
void Load(TMainForm& form, TScriptedDialogs& dialogs, int tag, const QString& path);

// Clicks a check box or radio button on its box, where a click always lands.
void Click(QAbstractButton* button);
// Makes a page current as the user does, by its tab (0 General .. 3 Options).
void ChoosePage(TMainForm& form, int index);

// Selects a cell of the players grid with the mouse (column 1..14, row
// 1..11) and picks `value` from the combo's drop-down list.
void PickInGrid(TMainForm& form, int column, int row, const QString& value);
void ClickCell(TMainForm& form, int column, int row);

// A suite's window: a game folder of its own and the window started on it,
// with scripted dialogs. The suites that drive one window per test derive from it.
class TFormFixture {
protected:
    // A new game folder and the window started on it, replacing the last ones.
    void StartWindow();
    void StopWindow();

    TScriptedDialogs Dialogs;
    std::unique_ptr<TGameFolder> Game;
    std::unique_ptr<TMainForm> Form;
};

template <typename T = QWidget>
T* Find(const QObject& form, const char* name) {
    return form.findChild<T*>(QString::fromLatin1(name));
}

} // namespace guitest
