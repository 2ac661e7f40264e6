// Dragging players and choosing custom colours in the window, with real
// mouse events and scripted colour dialogs: what a drop stores and where it
// stores nothing, the pointer that always comes back, and the colour pair.
#include "FormHarness.h"
#include "RadioGroup.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>

using namespace guitest;
using namespace pitch;

class TestDrag : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void drop_data();
    void drop();
    void pointerComesBackWhenTheWindowLosesTheMouse();
    void customColours_data();
    void customColours();

private:
    QWidget* Image() const { return Find(*Form, "Image"); }
};

void TestDrag::init() {
    StartWindow();
    Load(*Form, Dialogs, 1, Game->WriteTactic("main.tct", SampleTactic(1)));
    Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", SampleTactic(2)));
    Dialogs.clearLog();
}

void TestDrag::cleanup() {
    // Whatever a test did, the pointer is visible again.
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    StopWindow();
}

// A drag of player 7, who stands at (20, 27) with the ball and (14, 18)
// without in zone 5, with a right click on the way; Zone is the zone whose
// entry the drop changes to Stored, or -1.
struct TDrop {
    int Page;
    bool WithBall;
    QPoint RightClick, To;
    int Zone;
    TCmPos Stored;
};
Q_DECLARE_METATYPE(TDrop)

void TestDrag::drop_data() {
    QTest::addColumn<TDrop>("drop");
    // One pixel right of and above a cell's drawn centre drops into that
    // cell; the centre itself, into the cell left of and below.
    const auto at = [](TCmPos cell, int dx = 1, int dy = -1) {
        return QPoint(OwnCentre(cell).X + dx, OwnCentre(cell).Y + dy);
    };
    QTest::addRow("general") << TDrop{0, true, {}, at({3, 33}), 5, {3, 33}};
    QTest::addRow("compare, without ball") << TDrop{1, false, {}, at({20, 4}), 5, {20, 4}};
    QTest::addRow("anti") << TDrop{2, true, {}, at({0, 0}), 5, {0, 0}};
    QTest::addRow("on its drawn centre") << TDrop{0, true, {}, at({20, 27}, 0, 0), 5, {19, 26}};
    QTest::addRow("zone chosen mid-drag") << TDrop{2, true, {300, 50}, at({25, 34}), 11, {25, 34}};
    QTest::addRow("outside the grid") << TDrop{0, false, {}, {329, 200}, -1, {}};
    QTest::addRow("options page") << TDrop{3, true, {300, 50}, at({3, 33}), -1, {}};
}

void TestDrag::drop() {
    QFETCH(TDrop, drop);
    ChoosePage(*Form, drop.Page);
    Click(Find<QRadioButton>(*Form, drop.WithBall ? "WithBall" : "WithoutBall"));
    TCmTactic expected = Form->MainTactic();
    const TCmTactic second = Form->SecondTactic();
    auto& grid = drop.WithBall ? expected.Players[7].WithBall : expected.Players[7].WithoutBall;
    const TPixel from = TestPoint(grid[5]);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QCOMPARE(QApplication::overrideCursor() != nullptr, drop.Page != 3);
    if (!drop.RightClick.isNull())
        QTest::mousePress(Image(), Qt::RightButton, {}, drop.RightClick);
    QTest::mouseMove(Image(), drop.To);
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, drop.To);
    if (drop.Zone >= 0)
        grid[drop.Zone] = drop.Stored;
    QCOMPARE(Form->BallZone(), std::max(drop.Zone, 5));
    // Only that entry changed, and only in the main tactic; the preview is gone.
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        QCOMPARE(Form->MainTactic().Players[i].WithBall, expected.Players[i].WithBall);
        QCOMPARE(Form->MainTactic().Players[i].WithoutBall, expected.Players[i].WithoutBall);
        QCOMPARE(Form->SecondTactic().Players[i].WithBall, second.Players[i].WithBall);
    }
    if (drop.Page != 3) // where the credits run over it
        QCOMPARE(Form->Renderer().Picture(), Form->Renderer().PlayersBitmap());
}

void TestDrag::pointerComesBackWhenTheWindowLosesTheMouse() {
    ChoosePage(*Form, 0);
    const TCmPos kept = Form->MainTactic().Players[4].WithBall[5];
    const TPixel from = TestPoint(kept);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QTest::mouseMove(Image(), QPoint(200, 100));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
    QEvent deactivate(QEvent::ActivationChange);
    QApplication::sendEvent(Form.get(), &deactivate);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The drag is over: the release that may still come stores nothing.
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, QPoint(200, 100));
    QCOMPARE(Form->MainTactic().Players[4].WithBall[5], kept);
    QCOMPARE(Form->Renderer().Picture(), Form->Renderer().PlayersBitmap());
    // Closed mid-drag: the pointer comes back too.
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QVERIFY(QApplication::overrideCursor());
    Form->close();
}

void TestDrag::customColours_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QList<QColor>>("answers"); // an invalid colour cancels that dialog
    QTest::addRow("main") << 1 << QList<QColor>{QColor(10, 200, 30), QColor(90, 20, 160)};
    QTest::addRow("second, in Russian") << 2 << QList<QColor>{QColor(200, 200, 0), Qt::cyan};
    QTest::addRow("fill cancelled") << 1 << QList<QColor>{QColor()};
    QTest::addRow("line cancelled") << 2 << QList<QColor>{QColor(1, 2, 3), QColor()};
}

void TestDrag::customColours() {
    QFETCH(int, tag);
    QFETCH(QList<QColor>, answers);
    if (QTest::currentDataTag() == QLatin1String("second, in Russian"))
        Click(Find<QAbstractButton>(*Form, "BtnRussian"));
    ChoosePage(*Form, 1);
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

QTEST_MAIN(TestDrag)
#include "test_drag.moc"
