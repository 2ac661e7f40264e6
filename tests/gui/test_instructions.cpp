// The General page: team instructions, the players grid with its two Hide
// filters, and changing an instruction through the combo, by mouse and keys.
#include "FormHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

using namespace guitest;

namespace {

// Every cell's text, row by row (rows 1..11, columns 1..14).
QStringList Cells(const TMainForm& form) {
    const auto* grid = Find<QTableWidget>(form, "PlayersGrid");
    QStringList cells;
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << grid->item(r, c)->text();
    return cells;
}

QString Cell(const TMainForm& form, int column, int row) {
    return Find<QTableWidget>(form, "PlayersGrid")->item(row - 1, column - 1)->text();
}

QStringList ComboItems(const TMainForm& form) {
    const auto* combo = Find<QComboBox>(form, "ComboValue");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Every player instruction of a tactic, player by player.
QList<std::array<std::string, 15>> Instructions(const TCmTactic& tactic) {
    QList<std::array<std::string, 15>> all;
    for (const TCmPlayer& player : tactic.Players)
        all << std::array<std::string, 15>(player.Instr);
    return all;
}

// Input a user may give without meaning to change anything.
enum class TStray { WheelDown, WheelUp, Letters, ClickBelowRows, CtrlClickOnCell };

// A tactic whose player 1 holds codes the codec does not know.
QString WriteWithUnknownCodes(const TGameFolder& game) {
    const QString path = game.WriteTactic("unknown.tct", SampleTactic(0));
    QByteArray bytes = ReadAll(path);
    bytes.replace(1373, 4, QByteArray(4, '\0'));
    return game.WriteBytes("unknown.tct", bytes);
}

} // namespace

class TestInstructions : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { StopWindow(); }

    void showsTheMainTactic();
    void hideFiltersBlankOnlyWholeTextsAndHideTheCombo();
    void selectingACellFillsTheComboInColumnOrder();
    void keyboardSelectionFillsTheComboToo();
    void pickingStoresIntoTheMainTactic();
    void blankedCellCanBeChangedOnceTheFilterIsOff();
    void strayInputChangesNothing_data();
    void strayInputChangesNothing();
    void keyboardAloneChangesAnInstruction();
    void secondTacticLeavesThePageAlone();
};

void TestInstructions::init() {
    StartWindow();
    Load(*Form, Dialogs, 1, WriteWithUnknownCodes(*Game));
    QVERIFY(Dialogs.messages().isEmpty());
    ChoosePage(*Form, 0);
}

void TestInstructions::showsTheMainTactic() {
    const TCmTactic& tactic = Form->MainTactic();
    const char* const values[] = {"Ti1", "Ti2", "Ti3", "Ti4", "Ti5", "Ti6", "Ti7"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(Find<QLabel>(*Form, values[i])->text(),
                 QString::fromStdString(tactic.TeamInstr[static_cast<std::size_t>(i)]));
    const auto* grid = Find<QTableWidget>(*Form, "PlayersGrid");
    for (int r = 1; r <= 11; ++r) {
        QCOMPARE(grid->verticalHeaderItem(r - 1)->text(), QString::number(r));
        for (int c = 1; c <= 14; ++c)
            QCOMPARE(Cell(*Form, c, r), QString::fromStdString(tactic.Players[r - 1].Instr[c]));
    }
    QCOMPARE(Cell(*Form, 1, 1), QStringLiteral("????"));
    QCOMPARE(Cell(*Form, 14, 5), QString()); // "Marking" is in no file
    QVERIFY(Find(*Form, "ComboValue")->isVisible());
    // Until a cell is selected there is nothing to pick.
    QCOMPARE(ComboItems(*Form), QStringList());
}

void TestInstructions::hideFiltersBlankOnlyWholeTextsAndHideTheCombo() {
    const QStringList all = Cells(*Form);
    const TCmTactic before = Form->MainTactic();
    auto* hideNo = Find<QCheckBox>(*Form, "HideNo");
    auto* hideTeam = Find<QCheckBox>(*Form, "HideTeam");
    const auto blanked = [&](const QStringList& gone) {
        QStringList expected = all;
        for (QString& text : expected)
            if (gone.contains(text))
                text.clear();
        return expected;
    };

    Click(hideNo);
    QCOMPARE(Cells(*Form), blanked({"No"}));
    QVERIFY(!Find(*Form, "ComboValue")->isVisible());
    Click(hideTeam);
    QCOMPARE(Cells(*Form), blanked({"No", "Team"}));
    QVERIFY(Cells(*Form).contains("????"));
    QVERIFY(Cells(*Form).contains("Yes"));
    Click(hideNo);
    QCOMPARE(Cells(*Form), blanked({"Team"}));
    QVERIFY(!Find(*Form, "ComboValue")->isVisible());
    Click(hideTeam);
    QCOMPARE(Cells(*Form), all);
    QVERIFY(Find(*Form, "ComboValue")->isVisible());
    // Only what the grid shows changed.
    for (int i = 0; i < TCmTactic::PlayerCount; ++i)
        QCOMPARE(Form->MainTactic().Players[i].Instr, before.Players[i].Instr);
}

void TestInstructions::selectingACellFillsTheComboInColumnOrder() {
    const QList<QStringList> offered = {
        {"Team", "Mixed", "Short", "Direct", "Long"},
        {"Team", "Left", "Center", "Right"},
        {"Team", "Normal", "Easy", "Hard"},
        {"Team", "No", "Yes"},
        {"Normal", "Forward", "Back"},
        {"Normal", "Forward", "Back"},
        {"Yes", "No"},
        {"Yes", "No"},
        {"Yes", "No"},
        {"Yes", "No"},
        {"Yes", "No"},
        {"Yes", "No"},
        {"Yes", "No"},
        {},
    };
    auto* combo = Find<QComboBox>(*Form, "ComboValue");
    for (int c = 1; c <= 14; ++c) {
        ClickCell(*Form, c, 2);
        QCOMPARE(ComboItems(*Form), offered[c - 1]);
        QCOMPARE(combo->currentText(), Cell(*Form, c, 2));
    }
    // Clicking the cell that is already selected selects it again.
    combo->clear();
    ClickCell(*Form, 14, 2);
    ClickCell(*Form, 14, 2);
    QCOMPARE(ComboItems(*Form), QStringList());
    ClickCell(*Form, 1, 1);
    ClickCell(*Form, 1, 1);
    QCOMPARE(ComboItems(*Form), offered[0]);
    QCOMPARE(combo->currentText(), QStringLiteral("????"));
}

void TestInstructions::keyboardSelectionFillsTheComboToo() {
    ClickCell(*Form, 3, 5);
    auto* grid = Find<QTableWidget>(*Form, "PlayersGrid");
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(ComboItems(*Form), (QStringList{"Team", "No", "Yes"}));
    QCOMPARE(Find<QComboBox>(*Form, "ComboValue")->currentText(), Cell(*Form, 4, 5));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(Find<QComboBox>(*Form, "ComboValue")->currentText(), Cell(*Form, 4, 6));
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(ComboItems(*Form), (QStringList{"Normal", "Forward", "Back"}));
}

void TestInstructions::pickingStoresIntoTheMainTactic() {
    PickInGrid(*Form, 1, 3, QStringLiteral("Direct"));
    QCOMPARE(Form->MainTactic().Players[2].Instr[1], std::string("Direct"));
    QCOMPARE(Cell(*Form, 1, 3), QStringLiteral("Direct"));
    // An unknown code can be replaced.
    PickInGrid(*Form, 6, 1, QStringLiteral("Forward"));
    QCOMPARE(Form->MainTactic().Players[0].Instr[6], std::string("Forward"));
    // Picking what the cell already shows stores it again.
    PickInGrid(*Form, 7, 11, QString::fromStdString(Form->MainTactic().Players[10].Instr[7]));
    QCOMPARE(Cell(*Form, 7, 11), QString::fromStdString(Form->MainTactic().Players[10].Instr[7]));
    // Only the picked field of the picked player changed.
    const TCmTactic sample = SampleTactic(0);
    for (int i = 3; i < 10; ++i)
        QCOMPARE(Form->MainTactic().Players[i].Instr, sample.Players[i].Instr);
}

void TestInstructions::blankedCellCanBeChangedOnceTheFilterIsOff() {
    // Row 3, column 1 reads "Team" in the sample.
    QCOMPARE(Cell(*Form, 1, 3), QStringLiteral("Team"));
    Click(Find<QCheckBox>(*Form, "HideTeam"));
    ClickCell(*Form, 1, 3);
    auto* combo = Find<QComboBox>(*Form, "ComboValue");
    QCOMPARE(ComboItems(*Form).size(), 5); // refilled while hidden
    QCOMPARE(combo->currentText(), QString());
    Click(Find<QCheckBox>(*Form, "HideTeam"));
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentText(), QString());
    combo->showPopup();
    QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {},
                      combo->view()->visualRect(combo->model()->index(4, 0)).center());
    QCOMPARE(Form->MainTactic().Players[2].Instr[1], std::string("Long"));
    QCOMPARE(Cell(*Form, 1, 3), QStringLiteral("Long"));
}

void TestInstructions::strayInputChangesNothing_data() {
    QTest::addColumn<TStray>("stray");
    QTest::newRow("wheel down over the combo") << TStray::WheelDown;
    QTest::newRow("wheel up over the combo") << TStray::WheelUp;
    QTest::newRow("letters typed in the grid") << TStray::Letters;
    QTest::newRow("click below the last row") << TStray::ClickBelowRows;
    QTest::newRow("Ctrl+click on the current cell") << TStray::CtrlClickOnCell;
}

void TestInstructions::strayInputChangesNothing() {
    QFETCH(TStray, stray);
    auto* grid = Find<QTableWidget>(*Form, "PlayersGrid");
    auto* combo = Find<QComboBox>(*Form, "ComboValue");
    // Passing of player 2: "Short", in the middle of its list, with cells of
    // other texts around to jump to.
    ClickCell(*Form, 1, 2);
    QCOMPARE(combo->currentText(), QStringLiteral("Short"));
    const auto before = Instructions(Form->MainTactic());
    const QStringList items = ComboItems(*Form);
    const QString text = combo->currentText();
    QTableWidgetItem* edited = grid->currentItem();
    QVERIFY(edited && !items.isEmpty());

    switch (stray) {
    case TStray::WheelDown:
    case TStray::WheelUp: {
        const QPointF at = combo->rect().center();
        QWheelEvent wheel(at, combo->mapToGlobal(at), {},
                          {0, stray == TStray::WheelDown ? -120 : 120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        break;
    }
    case TStray::Letters:
        QTest::keyClicks(grid, QStringLiteral("NTYSL"));
        break;
    case TStray::ClickBelowRows: {
        const int below = grid->rowViewportPosition(10) + grid->rowHeight(10) + 4;
        QVERIFY(below < grid->viewport()->height());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(40, below));
        break;
    }
    case TStray::CtrlClickOnCell:
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          grid->visualItemRect(edited).center());
        break;
    }
    QCOMPARE(Instructions(Form->MainTactic()), before);
    // The combo still edits the same cell, and the grid marks it.
    QCOMPARE(grid->currentItem(), edited);
    QCOMPARE(grid->selectedItems(), QList<QTableWidgetItem*>{edited});
    QCOMPARE(ComboItems(*Form), items);
    QCOMPARE(combo->currentText(), text);
}

void TestInstructions::keyboardAloneChangesAnInstruction() {
    auto* grid = Find<QTableWidget>(*Form, "PlayersGrid");
    auto* combo = Find<QComboBox>(*Form, "ComboValue");
    QApplication::setActiveWindow(Form.get());
    grid->setFocus(Qt::TabFocusReason);
    QVERIFY(grid->hasFocus());
    // From the first cell to Tackling of player 3, which reads "Team".
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down})
        QTest::keyClick(QApplication::focusWidget(), key);
    QCOMPARE(Cell(*Form, 3, 3), QStringLiteral("Team"));
    QCOMPARE(combo->currentText(), QStringLiteral("Team"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(combo->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(Form->MainTactic().Players[2].Instr[3], std::string("Normal"));
    QCOMPARE(Cell(*Form, 3, 3), QStringLiteral("Normal"));
    // And back into the grid, on the same cell.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QVERIFY(grid->hasFocus());
    QCOMPARE(grid->currentItem(), grid->item(2, 2));
}

void TestInstructions::secondTacticLeavesThePageAlone() {
    PickInGrid(*Form, 2, 4, QStringLiteral("Right"));
    const QStringList cells = Cells(*Form);
    const QStringList items = ComboItems(*Form);
    Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", SampleTactic(5)));
    QCOMPARE(Cells(*Form), cells);
    QCOMPARE(ComboItems(*Form), items);
    QCOMPARE(Find<QLabel>(*Form, "Ti2")->text(), QStringLiteral("Long"));
    QCOMPARE(Form->MainTactic().Players[3].Instr[2], std::string("Right"));
}

QTEST_MAIN(TestInstructions)
#include "test_instructions.moc"
