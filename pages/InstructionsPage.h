#pragma once

#include "tactic/Cm_tactic.h"

#include <QList>
#include <QWidget>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace pages {

// What a grid cell shows for a field's text under the two Hide filters.
std::string ShownText(const std::string& text, bool hideNo, bool hideTeam);

// Content of the General page: GeneralPanel with the team instruction labels,
// the two Hide filters, ComboValue and PlayersGrid (object names as the
// controls' names). It shows the main tactic; the window stores the picks.
// Grid coordinates are those of the players grid: column 0 and row 0 are the
// fixed header column and row, players are rows 1..11, instructions columns 1..14.
class TInstructionsPage : public QWidget {
    Q_OBJECT
public:
    explicit TInstructionsPage(QWidget* parent = nullptr);

    void SetTactic(const TCmTactic* tactic) { Tactic = tactic; }

    void WriteHeaders();
    void UpdatePlayersInstructions();
    void ShowTeamInstructions();
    // Refills the combo for the cell about to be selected.
    void SelectCell(int column, int row);
    // Makes a cell the current one, as the program's doing, and refills the combo.
    void GoToCell(int column, int row);
    // The combo's pick for the current cell, to be stored into the field of
    // Players[Player].Instr[Column]; none without a selected list entry.
    struct TPick {
        int Player = 0;
        int Column = 0;
        std::string Text;
    };
    std::optional<TPick> Pick() const;

    // The text picked in the combo of TeamInstr[index].
    std::string TeamPick(int index) const;
    // The players (indices) whose cells are selected in the current cell's
    // column, in grid order; the current cell's player among them.
    QList<int> SelectedPlayers() const;
    // Selects the cells of these players in a column, as after the user's
    // selection; the current cell stays where it is if it is one of them.
    void SelectCells(int column, const QList<int>& players);

    QString CellText(int column, int row) const;
    int CurrentColumn() const;
    int CurrentRow() const;

    QCheckBox* HideNo() const { return HideNoBox; }
    QCheckBox* HideTeam() const { return HideTeamBox; }
    QComboBox* ComboValue() const { return Combo; }
    QTableWidget* PlayersGrid() const { return Grid; }
    QComboBox* TeamCombo(int index) const { return Values[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

signals:
    // The grid's cell selection and the combo's pick by the user, for the
    // window's handlers PlayersGridSelectCell and ComboValueChange.
    void cellSelecting(int column, int row);
    void valuePicked();
    // A value picked by the user in the combo of TeamInstr[index].
    void teamValuePicked(int index);
    // The list lost the keyboard: picks that follow are a new run.
    void pickRunEnded();

private:
    // Sets the captions and filters' texts in the interface language.
    void Retranslate();
    // Keeps the selection inside the current cell's column and, with `mark`,
    // the current cell in it.
    void KeepCurrentColumn(bool mark);

    const TCmTactic* Tactic = nullptr;
    QLabel* TeamCaption = nullptr;
    QLabel* PlayersCaption = nullptr;
    QCheckBox* HideNoBox = nullptr;
    QCheckBox* HideTeamBox = nullptr;
    QComboBox* Combo = nullptr;
    QTableWidget* Grid = nullptr;
    QComboBox* Values[TCmTactic::TeamInstrCount] = {};
    // The grid's current cell when the mouse was last pressed on its cells.
    int PressedOnRow = -1;
    int PressedOnColumn = -1;
};

} // namespace pages
