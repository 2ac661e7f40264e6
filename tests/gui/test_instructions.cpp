// The players grid of the General page: what it offers and stores, input
// that must change nothing, the keyboard's way through it; file names cut short.
#include "FittedText.h"
#include "FormHarness.h"

#include <QtTest>
#include <QtWidgets>

using namespace guitest;

class TestInstructions : public QObject, private TFormFixture {
    Q_OBJECT
    QTableWidget* Grid() const { return Find<QTableWidget>(*Form, "PlayersGrid"); }
    QComboBox* Combo() const { return Find<QComboBox>(*Form, "ComboValue"); }
    QStringList Cells() const {
        QStringList cells{Encoded(Form->MainTactic()).toHex()};
        for (const QTableWidgetItem* item : Grid()->findItems("", Qt::MatchContains))
            cells << item->text();
        return cells;
    }

private slots:
    void init() {
        StartWindow();
        Load(*Form, Dialogs, 1, Game->WriteTactic("a.tct", SampleTactic(0)));
        ChoosePage(*Form, 0);
    }
    void cleanup() { StopWindow(); }

    // Each value the combo offers in each column, picked, shows in its cell,
    // is stored, and comes back through the codec.
    void everyOfferedValueIsStoredAndKeptByTheCodec() {
        for (int c = 1; c <= 14; ++c) {
            PickInGrid(*Form, c, 11);
            QCOMPARE(Combo()->count() == 0, c == 14); // no file holds Marking
            for (int k = 0; k < Combo()->count(); ++k) {
                PickInGrid(*Form, c, k + 1, Combo()->itemText(k));
                QCOMPARE(Grid()->item(k, c - 1)->text(), Combo()->itemText(k));
                QCOMPARE(Form->MainTactic().Players[k].Instr[c],
                         Combo()->itemText(k).toStdString());
            }
        }
        const QByteArray bytes = Encoded(Form->MainTactic());
        TCmRegion region{};
        std::copy(bytes.begin(), bytes.end(), region.begin());
        TCmTactic decoded;
        QVERIFY(decoded.Decode(region));
        for (int i = 0; i < TCmTactic::PlayerCount; ++i)
            QCOMPARE(decoded.Players[i].Instr, Form->MainTactic().Players[i].Instr);
    }

    // The combo keeps editing the marked cell with its value whatever else
    // the user does; the wheel changes nothing while the combo lacks the keyboard.
    void strayInputChangesNothing_data() {
        QTest::addColumn<int>("stray");
        int n = 0;
        for (const char* row :
             {"wheel down", "wheel up", "letters", "click below the rows", "Ctrl+click"})
            QTest::newRow(row) << n++;
    }
    void strayInputChangesNothing() {
        QFETCH(int, stray);
        PickInGrid(*Form, 1, 2); // "Short", in the middle of its list
        const QStringList before = Cells() << Combo()->currentText();
        QTableWidgetItem* const cell = Grid()->currentItem();
        const QPointF at = Combo()->rect().center();
        QWheelEvent wheel(at, Combo()->mapToGlobal(at), {}, {0, stray ? 120 : -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        if (stray < 2)
            QApplication::sendEvent(Combo(), &wheel);
        else if (stray == 2)
            QTest::keyClicks(Grid(), QStringLiteral("NTYSL"));
        else
            QTest::mouseClick(Grid()->viewport(), Qt::LeftButton,
                              stray == 4 ? Qt::ControlModifier : Qt::NoModifier,
                              stray == 4 ? Grid()->visualItemRect(cell).center()
                                         : QPoint(40, 11 * 16 + 4));
        QCOMPARE(Cells() << Combo()->currentText(), before);
        QCOMPARE(Grid()->selectedItems(), QList<QTableWidgetItem*>{cell});
        QCOMPARE(Grid()->currentItem(), cell);
    }

    // Arrows move in the grid, Tab to the combo where Down picks, Backtab back.
    void keyboardAloneChangesAnInstruction() {
        QApplication::setActiveWindow(Form.get());
        Grid()->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab})
            QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY(Combo()->hasFocus());
        const QString next = Combo()->itemText(Combo()->currentIndex() + 1);
        QTest::keyClick(Combo(), Qt::Key_Down);
        QCOMPARE(Form->MainTactic().Players[2].Instr[3], next.toStdString());
        QCOMPARE(Grid()->item(2, 2)->text(), next);
        QTest::keyClick(Combo(), Qt::Key_Backtab);
        QVERIFY(Grid()->hasFocus());
        QCOMPARE(Grid()->currentItem(), Grid()->item(2, 2));
    }

    // A file name is cut short only when it does not fit: exactly as wide, it stays whole.
    void nameIsCutOnlyWhenItDoesNotFit() {
        pages::TElidedLabel label(QStringLiteral("442 with a long name.tct"));
        const int width = label.fontMetrics().horizontalAdvance(label.text());
        for (const int room : {width - 1, width, width + 1}) {
            label.setFixedWidth(room);
            QCOMPARE(label.Elided(), room < width);
        }
    }
};

QTEST_MAIN(TestInstructions)
#include "test_instructions.moc"
