// Editing in the window with real mouse and key events: drops of players and
// picks in the grid, what they store and where input stores nothing, undo and
// redo, the question before unsaved edits are lost, custom colours, and
// tactics opened from outside (the command line and dropped files).
#include "FormHarness.h"
#include "editor/Application.h"
#include "editor/CommandLine.h"
#include "pages/FittedText.h"
#include "pages/RadioGroup.h"
#include "pitch/PitchMap.h"

using namespace guitest;
using namespace pitch;
using B = QMessageBox;

// A drag of player 7, who stands at (20, 27) with the ball and (14, 18)
// without in zone 5, with a right click on the way; Zone is the zone whose
// entry the drop changes to Stored, or -1.
struct TDrop {
    TPage Page;
    bool WithBall;
    QPoint RightClick, To;
    int Zone;
    TCmPos Stored;
};
Q_DECLARE_METATYPE(TDrop)

class TestEditing : public QObject, private TFormFixture {
    Q_OBJECT
    QString File;
    QWidget* Image() const { return Find(*Form, "Image"); }
    QTableWidget* Grid() const { return Find<QTableWidget>(*Form, "PlayersGrid"); }
    QComboBox* Combo() const { return Find<QComboBox>(*Form, "ComboValue"); }
    int Steps() const { return const_cast<TTacticDocument&>(Form->Document()).History().count(); }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(Form.get(), static_cast<Qt::Key>(key), mods);
    }
    // One pixel right of and above a cell's drawn centre lies in that cell.
    static QPoint In(TCmPos cell, int dx = 1, int dy = -1) {
        return {OwnCentre(cell).X + dx, OwnCentre(cell).Y + dy};
    }
    // Drags a player of the zone and phase shown to a point, `midway` done on the way.
    void Drag(int player, QPoint to, const std::function<void()>& midway = {}) {
        const TCmPlayer& p = Form->MainTactic().Players[player];
        const bool withBall = Form->Document().WithBall();
        const TPixel from = TestPoint((withBall ? p.WithBall : p.WithoutBall)[Form->BallZone()]);
        QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
        QTest::mouseMove(Image(), to);
        if (midway)
            midway();
        QTest::mouseRelease(Image(), Qt::LeftButton, {}, to);
    }
    // Everything an edit shows: the tactic, the grid, the bars and the picture.
    QStringList Shown() const {
        QStringList shown{Encoded(Form->MainTactic()).toHex()};
        for (const auto* item : Grid()->findItems("", Qt::MatchContains))
            shown << item->text();
        for (const char* bar : {"AttackMain", "DefenceMain"})
            shown << QString::number(Find<QProgressBar>(*Form, bar)->value());
        const QImage& picture = Form->Renderer().Picture();
        return shown << QString::number(qHashBits(picture.constBits(), picture.sizeInBytes()));
    }
    // A file dropped from the file manager at a point of the window; whether it was taken.
    bool Drop(const QString& path, QPoint at) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &enter);
        return enter.isAccepted() && QApplication::sendEvent(Form.get(), &drop);
    }

private slots:
    void init() {
        StartWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
        File = Game->WriteTactic("mine.tct", SampleTactic(1));
        Load(*Form, Dialogs, 1, File);
        Dialogs.setNextFileName(Game->WriteTactic("second.tct", SampleTactic(2)));
        Key(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier); // as Browse2 does
        ChoosePage(*Form, TPage::General);
        Dialogs.clearLog();
    }
    void cleanup() {
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the pointer is always back
        StopWindow();
    }

    void drop_data() {
        QTest::addColumn<TDrop>("drop");
        QTest::addRow("general") << TDrop{TPage::General, true, {}, In({3, 33}), 5, {3, 33}};
        QTest::addRow("compare, without ball")
            << TDrop{TPage::Compare, false, {}, In({20, 4}), 5, {20, 4}};
        QTest::addRow("anti") << TDrop{TPage::Anti, true, {}, In({0, 0}), 5, {0, 0}};
        // Let go where he is drawn, or nudged less than the drag distance
        // though nearer another cell: he stays.
        QTest::addRow("on its drawn centre")
            << TDrop{TPage::General, true, {}, In({20, 27}, 0, 0), -1, {}};
        QTest::addRow("nudged") << TDrop{TPage::General, true, {}, In({20, 27}, 7, -1), -1, {}};
        QTest::addRow("zone chosen mid-drag")
            << TDrop{TPage::Anti, true, {300, 50}, In({25, 34}), 11, {25, 34}};
        QTest::addRow("outside the grid") << TDrop{TPage::General, false, {}, {329, 200}, -1, {}};
        QTest::addRow("options page")
            << TDrop{TPage::Options, true, {300, 50}, In({3, 33}), -1, {}};
    }
    void drop() {
        QFETCH(TDrop, drop);
        ChoosePage(*Form, drop.Page);
        Click(Find<QRadioButton>(*Form, drop.WithBall ? "WithBall" : "WithoutBall"));
        TCmTactic expected = Form->MainTactic();
        const TCmTactic second = Form->SecondTactic();
        Drag(7, drop.To, [&] {
            QCOMPARE(QApplication::overrideCursor() != nullptr, drop.Page != TPage::Options);
            if (!drop.RightClick.isNull())
                QTest::mousePress(Image(), Qt::RightButton, {}, drop.RightClick);
        });
        if (drop.Zone >= 0)
            (drop.WithBall ? expected.Players[7].WithBall
                           : expected.Players[7].WithoutBall)[drop.Zone] = drop.Stored;
        QCOMPARE(Form->BallZone(), std::max(drop.Zone, 5));
        // Only that entry changed, and only in the main tactic; the preview is gone.
        QVERIFY(Form->MainTactic().Players == expected.Players);
        QVERIFY(Form->SecondTactic().Players == second.Players);
        if (drop.Page != TPage::Options) // where the credits run over it
            QCOMPARE(Form->Renderer().Picture(), Form->Renderer().PlayersBitmap());
    }

    // The window loses the mouse mid-drag: the pointer comes back, and the
    // release that may still come stores nothing. Closed mid-drag, too.
    void pointerComesBackWhenTheWindowLosesTheMouse() {
        const TCmTactic kept = Form->MainTactic();
        Drag(4, {200, 100}, [&] {
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
            QApplication::setActiveWindow(nullptr);
            QCOMPARE(QApplication::overrideCursor(), nullptr);
        });
        QVERIFY(Form->MainTactic().Players == kept.Players);
        QCOMPARE(Form->Renderer().Picture(), Form->Renderer().PlayersBitmap());
        Drag(4, {200, 100}, [&] {
            QVERIFY(QApplication::overrideCursor());
            Form->close();
        });
    }

    void customColours_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QList<QColor>>("answers"); // an invalid colour cancels that dialog
        QTest::addRow("main") << 1 << QList<QColor>{QColor(10, 200, 30), QColor(90, 20, 160)};
        QTest::addRow("second, in Russian") << 2 << QList<QColor>{QColor(200, 200, 0), Qt::cyan};
        QTest::addRow("fill cancelled") << 1 << QList<QColor>{QColor()};
        QTest::addRow("line cancelled") << 2 << QList<QColor>{QColor(1, 2, 3), QColor()};
    }
    void customColours() {
        QFETCH(int, tag);
        QFETCH(QList<QColor>, answers);
        if (QTest::currentDataTag() == QLatin1String("second, in Russian"))
            Click(Find<QAbstractButton>(*Form, "BtnRussian"));
        ChoosePage(*Form, TPage::Compare);
        auto* group = Find<TRadioGroup>(*Form, tag == 1 ? "CheckMainColor" : "CheckSecondColor");
        const TTacticColors& colors =
            tag == 1 ? Form->Document().MainColors() : Form->Document().SecondColors();
        Click(group->Item(1));
        const TTacticColors club = colors;
        const QImage before = Form->Renderer().Picture().copy();
        for (const QColor& answer : answers)
            answer.isValid() ? Dialogs.setNextColor(answer) : Dialogs.setNextColorCancel();
        Click(group->Item(3));
        // Preset to the fill colour, then to the line colour, titled in English in both languages.
        const auto& requests = Dialogs.colorRequests();
        QCOMPARE(requests.size(), answers.size());
        for (int i = 0; i < requests.size(); ++i) {
            QCOMPARE(requests[i].Initial, i == 0 ? club.Fill : club.Line);
            QCOMPARE(requests[i].Title, QLatin1String(i == 0 ? "Fill colour" : "Line colour"));
        }
        const bool chosen = answers.size() == 2 && answers[1].isValid();
        QCOMPARE(colors, (chosen ? TTacticColors{answers[0], answers[1]} : club));
        QCOMPARE(Form->Renderer().Picture() != before, chosen);
        // "Custom" stays selected; clicking it again asks nothing.
        QCOMPARE(group->ItemIndex(), 3);
        Click(group->Item(3));
        QCOMPARE(requests.size(), answers.size());
    }

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
        PickInGrid(*Form, 1, 1); // "Short", in the middle of its list
        const QStringList before = Shown() << Combo()->currentText();
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
        QCOMPARE(Shown() << Combo()->currentText(), before);
        QCOMPARE(Grid()->selectedItems(), QList<QTableWidgetItem*>{cell});
        QCOMPARE(Grid()->currentItem(), cell);
    }

    // Arrows move in the grid, Tab to the combo where Up and Down pick,
    // Backtab back. Picks in a row are one step; once the list has lost the
    // keyboard, the next pick is a step of its own.
    void keyboardAloneChangesAnInstruction() {
        Grid()->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab})
            QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY(Combo()->hasFocus());
        const std::string before = Form->MainTactic().Players[2].Instr[3];
        // An odd number of moves never ends where it began.
        const auto pick = [&] {
            QTest::keyClick(Combo(), Combo()->currentIndex() > 0 ? Qt::Key_Up : Qt::Key_Down);
        };
        pick(), pick(), pick();
        QCOMPARE(Form->MainTactic().Players[2].Instr[3], Combo()->currentText().toStdString());
        QCOMPARE(Grid()->item(2, 2)->text(), Combo()->currentText());
        QCOMPARE(Steps(), 1);
        QTest::keyClick(Combo(), Qt::Key_Backtab);
        QVERIFY(Grid()->hasFocus());
        QCOMPARE(Grid()->currentItem(), Grid()->item(2, 2));
        QTest::keyClick(Grid(), Qt::Key_Tab);
        pick();
        QCOMPARE(Steps(), 2);
        Key(Qt::Key_Z), Key(Qt::Key_Z);
        QCOMPARE(Form->MainTactic().Players[2].Instr[3], before);
    }

    // A team pick, and one pick for cells of a column (Ctrl, Shift, across columns): one step whose
    // undo shows the page and selects what it undid; the wheel without the keyboard picks nothing.
    void onePickOneStep_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QList<QPoint>>("clicks"); // (column, row), the first one plain
        QTest::addColumn<int>("with");
        QTest::addColumn<QList<int>>("players"); // selected, all in the current column
        const auto row = [](const char* name, const char* list, const char* value,
                            QList<QPoint> clicks = {}, int with = 0, QList<int> players = {}) {
            QTest::addRow("%s", name)
                << QString(list) << QString(value) << clicks << with << players;
        };
        row("mentality", "Ti1", "Defensive");
        row("offside trap", "Ti5", "Yes");
        row("Ctrl, one taken back", "ComboValue", "Left", {{2, 1}, {2, 4}, {2, 9}, {2, 4}},
            Qt::ControlModifier, {0, 8});
        row("Shift", "ComboValue", "Hard", {{3, 2}, {3, 5}}, Qt::ShiftModifier, {1, 2, 3, 4});
        row("Shift across columns", "ComboValue", "Team", {{1, 2}, {3, 5}}, Qt::ShiftModifier,
            {1, 2, 3, 4});
    }
    void onePickOneStep() {
        QFETCH(QString, list);
        QFETCH(QString, value);
        QFETCH(QList<QPoint>, clicks);
        QFETCH(int, with);
        QFETCH(QList<int>, players);
        auto* combo = Find<QComboBox>(*Form, qPrintable(list));
        for (qsizetype i = 0; i < clicks.size(); ++i) {
            const QRect cell =
                Grid()->visualItemRect(Grid()->item(clicks[i].y() - 1, clicks[i].x() - 1));
            QTest::mouseClick(Grid()->viewport(), Qt::LeftButton,
                              Qt::KeyboardModifiers(i ? with : 0), cell.center());
        }
        const auto selected = [&] {
            QList<int> rows;
            for (const QTableWidgetItem* item : Grid()->selectedItems())
                rows << (item->column() == Grid()->currentColumn() ? item->row() : -1);
            std::sort(rows.begin(), rows.end());
            return players.isEmpty() || rows == players;
        };
        QVERIFY(selected());
        const QStringList loaded = Shown() << combo->currentText();
        QWheelEvent wheel({5, 5}, combo->mapToGlobal(QPoint(5, 5)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        QCOMPARE(Steps(), 0);
        combo->showPopup();
        const QModelIndex entry = combo->model()->index(combo->findText(value), 0);
        QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {},
                          combo->view()->visualRect(entry).center());
        if (players.isEmpty())
            QCOMPARE(Form->MainTactic().TeamInstr[list.mid(2).toInt() - 1], value.toStdString());
        for (int player : players)
            QCOMPARE(Form->MainTactic().Players[player].Instr[Grid()->currentColumn() + 1],
                     value.toStdString());
        QCOMPARE(Steps(), 1);
        Grid()->clearSelection();
        ChoosePage(*Form, TPage::Compare);
        Key(Qt::Key_Z);
        QCOMPARE(Form->CurrentPage(), TPage::General);
        QCOMPARE(Shown() << combo->currentText(), loaded);
        QVERIFY(selected());
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

    // A fixed-size control's font shrinks pixel by pixel to the smallest
    // readable size, where it stays even when that does not fit either.
    void fontShrinksToTheSmallestSizeAndNoFurther() {
        const QString text = QStringLiteral("Hide \"Team\"");
        QFont font;
        font.setPixelSize(10);
        const QFontMetrics smallest(font);
        const QSize fits(smallest.horizontalAdvance(text),
                         smallest.tightBoundingRect(text).height() + 2);
        font.setPixelSize(20);
        for (const QSize room : {fits, QSize(5, 5)})
            QCOMPARE(QFontInfo(pages::FittingFont(font, {text}, room)).pixelSize(), 10);
    }

    void undoAndRedoShowWhatTheEditShowed() {
        const QStringList loaded = Shown();
        const std::string text = Form->MainTactic().Players[2].Instr[1];
        Drag(10, In({13, 17}));
        const QStringList dropped = Shown();
        PickInGrid(*Form, 1, 3, text == "Long" ? "Short" : "Long");
        const QStringList picked = Shown();
        QVERIFY(loaded != dropped && dropped != picked);
        Key(Qt::Key_Z);
        QCOMPARE(Shown(), dropped);
        QCOMPARE(Combo()->currentText().toStdString(), text);
        Key(Qt::Key_Z);
        QCOMPARE(Shown(), loaded);
        QVERIFY(!Form->Document().IsModified());
        Key(Qt::Key_Y);
        QCOMPARE(Shown(), dropped);
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        Key(Qt::Key_Y); // nothing left to redo
        QCOMPARE(Shown(), picked);
        PickInGrid(*Form, 1, 3, Combo()->currentText());
        QCOMPARE(Steps(), 2); // picking what a cell shows is no step
        // What is saved is what is shown; an undo after it is unsaved again.
        Dialogs.setNextAnswer(B::Ok);
        Key(Qt::Key_S);
        TCmTactic saved;
        QVERIFY(saved.Load(QFile::encodeName(File).toStdString()));
        QCOMPARE(Encoded(saved), Encoded(Form->MainTactic()));
        // The title's marker and the load panel's note follow the saved state.
        const auto marked = [&] { return Form->isWindowModified(); };
        const auto noted = [&] { return Find(*Form, "SaveNote")->isVisible(); };
        QVERIFY(!Form->Document().IsModified() && !marked() && noted());
        Key(Qt::Key_Z);
        QVERIFY(Form->Document().IsModified() && marked() && !noted());
        Dialogs.setNextAnswer(B::Discard);
        Load(*Form, Dialogs, 1, File);
        QCOMPARE(Steps(), 0); // a new main tactic, a new history
    }

    // An undo waits for a drag to end and for a page that edits, and shows
    // what it undid: a drop's zone and phase, a pick's page and cell.
    void undoShowsItsChangeAndWaitsItsTurn() {
        Drag(0, In({3, 3}));
        Drag(0, In({6, 6}), [&] { Key(Qt::Key_Z); });
        ChoosePage(*Form, TPage::Options);
        Key(Qt::Key_Z);
        QCOMPARE(Form->MainTactic().Players[0].WithBall[5], (TCmPos{6, 6}));
        ChoosePage(*Form, TPage::General);
        Key(Qt::Key_Z);
        QCOMPARE(Form->MainTactic().Players[0].WithBall[5], (TCmPos{3, 3}));
        const QStringList before = Shown();
        Drag(4, In({20, 30}));
        QTest::mouseClick(Image(), Qt::RightButton, {}, QPoint(20, 390)); // zone 0
        Find<QRadioButton>(*Form, "WithoutBall")->click();
        Key(Qt::Key_Z);
        QVERIFY(Form->BallZone() == 5 && Find<QRadioButton>(*Form, "WithBall")->isChecked());
        QCOMPARE(Shown(), before);
        PickInGrid(*Form, 2, 4);
        PickInGrid(*Form, 2, 4, Combo()->itemText(Combo()->currentIndex() == 0 ? 1 : 0));
        PickInGrid(*Form, 5, 1);
        ChoosePage(*Form, TPage::Compare);
        Key(Qt::Key_Z);
        QCOMPARE(Form->CurrentPage(), TPage::General);
        QCOMPARE(Grid()->currentItem(), Grid()->item(3, 1));
        QCOMPARE(Shown(), before);
    }

    // The document alone: many positions as one step (keyboard moves and
    // shapes test the rest), a run merged back to where it began is no step,
    // an undo shows the zone and phase the step was made in, and what has no
    // place in a tactic is no step.
    void documentSteps() {
        TTacticDocument doc({}, {});
        const TTacticDocument::TPositions start = doc.Positions();
        TTacticDocument::TPositions moved = start;
        moved[3][1][7].X += 1;
        doc.SetBallZone(7);
        doc.SetWithBall(false);
        QVERIFY(doc.SetPositions(moved, "a", 1) && doc.SetPositions(start, "a", 1));
        QVERIFY(doc.History().count() == 0 && doc.SetPositions(moved, "b"));
        doc.SetBallZone(0);
        doc.History().undo();
        QVERIFY(doc.Positions() == start && doc.BallZone() == 7 && !doc.WithBall());
        QVERIFY(!doc.SetInstructions(TCmPlayer::InstrCount, {0}, "Yes"));
        QVERIFY(!doc.SetInstructions(1, {TCmTactic::PlayerCount}, "Team"));
        QVERIFY(!doc.SetTeamInstruction(TCmTactic::TeamInstrCount, "Attacking"));
    }

    // Unsaved edits (or none, once undone), then a close, a Browse1 (by its
    // key, Ctrl+O) or a drop of a main tactic: the question, each answer,
    // what is then loaded or saved.
    void unsavedEditsAsk_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QList<int>>("answers"); // the question's, then the save's
        QTest::addColumn<bool>("goesOn");
        for (const char* way : {"close", "browse", "drop"}) {
            QTest::addRow("%s: save", way) << way << QList<int>{B::Save, B::Ok} << true;
            QTest::addRow("%s: save cancelled", way)
                << way << QList<int>{B::Save, B::Cancel} << false;
            QTest::addRow("%s: discard", way) << way << QList<int>{B::Discard} << true;
            QTest::addRow("%s: cancel", way) << way << QList<int>{B::Cancel} << false;
            QTest::addRow("%s: undone, not asked", way) << way << QList<int>{} << true;
        }
    }
    void unsavedEditsAsk() {
        QFETCH(QString, way);
        QFETCH(QList<int>, answers);
        QFETCH(bool, goesOn);
        const QByteArray original = ReadAll(File);
        const QString other = Game->WriteTactic("other.tct", SampleTactic(4));
        Drag(7, In({25, 34}));
        const QByteArray edited = Encoded(Form->MainTactic());
        if (answers.isEmpty())
            Key(Qt::Key_Z);
        for (int answer : answers)
            Dialogs.setNextAnswer(static_cast<B::StandardButton>(answer));
        if (way == "browse" && goesOn)
            Dialogs.setNextFileName(other);
        if (way == "close")
            QCOMPARE(Form->close(), goesOn);
        else if (way == "browse")
            Key(Qt::Key_O);
        else
            QVERIFY(Drop(other, Image()->mapTo(Form.get(), QPoint(100, 100))));
        QCOMPARE(Dialogs.messages().size(), answers.size());
        if (!answers.isEmpty())
            QCOMPARE(Dialogs.messages()[0].Text, QStringLiteral("Save changes to MINE?"));
        const bool saved = answers.value(1) == B::Ok;
        QCOMPARE(ReadAll(File) != original, saved);
        QCOMPARE(QFile::exists(Game->Tactics() + "/MINE.old"), saved);
        QCOMPARE(Dialogs.openRequests().size(), int(way == "browse" && goesOn));
        if (way != "close")
            QCOMPARE(Form->MainTacticFile(), goesOn ? other : File);
        if (!goesOn)
            QCOMPARE(Encoded(Form->MainTactic()), edited);
    }

    // Files dropped on the right half of the load panel, or named on the
    // command line, load as the two buttons do; only tactic files are taken.
    void filesFromOutsideLoadAsTheButtonsDo() {
        const QString third = Game->WriteTactic("third.tct", SampleTactic(5));
        const QWidget* panel = Find(*Form, "LoadPanel");
        QVERIFY(Drop(third, panel->mapTo(Form.get(), QPoint(panel->width() * 3 / 4, 10))));
        QCOMPARE(Find<QLabel>(*Form, "LabelTN2")->text(), QStringLiteral("third"));
        QCOMPARE(Form->MainTacticFile(), File);
        QVERIFY(!Drop(Game->WriteBytes("notes.txt", "x"), QPoint(10, 10)));
        StartWindow(); // no second tactic without a main one
        Form->OpenArguments({Game->Tactics() + "/missing.tct", Game->WriteTactic("2.tct", {})});
        // A refused first load leaves the window as it started, nothing to save.
        QCOMPARE(Dialogs.messages().size(), 1);
        QVERIFY(!Form->Document().SecondLoaded() && !Form->Document().MainLoaded());
        QVERIFY(Find<QLabel>(*Form, "LabelTN1")->text() == "Not load" &&
                !Find(*Form, "BtnSave")->isEnabled());
        Form->OpenArguments({Game->WriteTactic("1.tct", {}), Game->Tactics() + "/2.tct"});
        QVERIFY(Form->Document().SecondLoaded() && Form->Document().MainLoaded());
        QCOMPARE(Form->CurrentPage(), TPage::General); // the first main tactic's page
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("status"); // -1: the program goes on
        QTest::addColumn<QString>("text");
        const QString dir = QDir::currentPath() + "/";
        QTest::addRow("none") << QStringList{} << QStringList{} << -1 << "";
        QTest::addRow("main") << QStringList{"a.tct"} << QStringList{dir + "a.tct"} << -1 << "";
        QTest::addRow("both") << QStringList{"a.tct", "/t/b.tct"}
                              << QStringList{dir + "a.tct", "/t/b.tct"} << -1 << "";
        QTest::addRow("three") << QStringList{"a", "b", "c"} << QStringList{} << 1
                               << "pitchwright: at most two tactic files, the main tactic and the "
                                  "second; see --help\n";
        QTest::addRow("--version") << QStringList{"--version"} << QStringList{} << 0
                                   << "Pitchwright " PW_TEST_VERSION "\n";
        QTest::addRow("--help") << QStringList{"-h"} << QStringList{} << 0
                                << " [options] [FILE [SECOND]]\n";
        QTest::addRow("unknown option") << QStringList{"--bogus", "a"} << QStringList{} << 1
                                        << "pitchwright: Unknown option 'bogus'.\n";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QFETCH(int, status);
        QFETCH(QString, text);
        const TCommandLine parsed = ParseCommandLine(QStringList{"/bin/pw"} + arguments);
        QCOMPARE(parsed.Files, files);
        QCOMPARE(parsed.Exit.value_or(-1), status);
        QVERIFY2(parsed.Text.contains(text) && parsed.Text.isEmpty() == text.isEmpty(),
                 qPrintable(parsed.Text));
    }
};

QTEST_MAIN(TestEditing)

#include "test_editing.moc"
