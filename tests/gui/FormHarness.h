#pragma once

// The window's suites share a Wine prefix with the game in it, tactic files
// written by the project's codec, and the window started with scripted dialogs.

#include "Cm_tactic.h"
#include "Dialogs.h"
#include "Mainunit.h"

#include <QTemporaryDir>

#include <memory>

class QAbstractButton;

namespace guitest {

class TGameFolder {
public:
    TGameFolder(); // system.reg records the game at C:\CM0001
    QString Prefix() const { return Dir.path(); }
    QString Tactics() const;
    // `tactic` in a new file of `size` bytes whose other bytes hold a pattern.
    QString WriteTactic(const QString& name, const TCmTactic& tactic, int size = 1600) const;
    QString WriteBytes(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir Dir;
};

// Every value of every column, positions differing by player, zone, phase and `seed`.
TCmTactic SampleTactic(int seed);
QByteArray ReadAll(const QString& path);
// The codec's bytes of a tactic: two tactics are the same when these are.
QByteArray Encoded(TCmTactic tactic);

std::unique_ptr<TMainForm> StartForm(TScriptedDialogs& dialogs, const TGameFolder& game);
// Browse1 (tag 1) or Browse2 (tag 2), the open dialog answering `path`.
void Load(TMainForm& form, TScriptedDialogs& dialogs, int tag, const QString& path);
void Click(QAbstractButton* button);         // on its box, where a click always lands
void ChoosePage(TMainForm& form, int index); // by its tab: 0 General .. 3 Options
// A click on a cell of the players grid (column 1..14, row 1..11), then a
// pick of `value`, unless null, in the combo's list.
void PickInGrid(TMainForm& form, int column, int row, const QString& value = {});

class TFormFixture {
protected:
    void StartWindow(); // a new game folder and the window on it
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
