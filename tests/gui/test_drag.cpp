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

Q_DECLARE_METATYPE(TCmPos)

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

void TestDrag::drop_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("withBall");
    QTest::addColumn<QPoint>("rightClick"); // during the drag
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("zone"); // whose entry the drop changes, or -1
    QTest::addColumn<TCmPos>("stored");
    // Player 7 stands at (20, 27) with the ball and (14, 18) without, in zone 5.
    // One pixel right of and above a cell's drawn centre drops into that cell;
    // the centre itself, into the cell left of and below.
    const auto drop = [](TCmPos cell) {
        const TPixel c = OwnCentre(cell);
        return QPoint(c.X + 1, c.Y - 1);
    };
    const TPixel own = OwnCentre({20, 27});
    QTest::addRow("general") << 0 << true << QPoint() << drop({3, 33}) << 5 << TCmPos{3, 33};
    QTest::addRow("compare, without ball")
        << 1 << false << QPoint() << drop({20, 4}) << 5 << TCmPos{20, 4};
    QTest::addRow("anti") << 2 << true << QPoint() << drop({0, 0}) << 5 << TCmPos{0, 0};
    QTest::addRow("on its drawn centre")
        << 0 << true << QPoint() << QPoint(own.X, own.Y) << 5 << TCmPos{19, 26};
    QTest::addRow("zone chosen mid-drag")
        << 2 << true << QPoint(300, 50) << drop({25, 34}) << 11 << TCmPos{25, 34};
    QTest::addRow("outside the grid")
        << 0 << false << QPoint() << QPoint(329, 200) << -1 << TCmPos{};
    QTest::addRow("options page") << 3 << true << QPoint(300, 50) << drop({3, 33}) << -1
                                  << TCmPos{};
}

void TestDrag::drop() {
    QFETCH(int, page);
    QFETCH(bool, withBall);
    QFETCH(QPoint, rightClick);
    QFETCH(QPoint, to);
    QFETCH(int, zone);
    QFETCH(TCmPos, stored);
    ChoosePage(*Form, page);
    Click(Find<QRadioButton>(*Form, withBall ? "WithBall" : "WithoutBall"));
    TCmTactic expected = Form->MainTactic();
    const TCmTactic second = Form->SecondTactic();
    auto& grid = withBall ? expected.Players[7].WithBall : expected.Players[7].WithoutBall;
    const TPixel from = TestPoint(grid[5]);
    QTest::mousePress(Image(), Qt::LeftButton, {}, QPoint(from.X, from.Y));
    QCOMPARE(QApplication::overrideCursor() != nullptr, page != 3);
    if (!rightClick.isNull())
        QTest::mousePress(Image(), Qt::RightButton, {}, rightClick);
    QTest::mouseMove(Image(), to);
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, to);
    if (zone >= 0)
        grid[zone] = stored;
    QCOMPARE(Form->BallZone(), zone >= 0 ? zone : 5);
    // Only that entry changed, and only in the main tactic; the preview is gone.
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        QCOMPARE(Form->MainTactic().Players[i].WithBall, expected.Players[i].WithBall);
        QCOMPARE(Form->MainTactic().Players[i].WithoutBall, expected.Players[i].WithoutBall);
        QCOMPARE(Form->SecondTactic().Players[i].WithBall, second.Players[i].WithBall);
    }
    if (page != 3) // where the credits run over it
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
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QList<QColor>>("answers"); // an invalid colour cancels that dialog
    const QColor cancel;
    QTest::addRow("main") << 1 << false << QList<QColor>{QColor(10, 200, 30), QColor(90, 20, 160)};
    QTest::addRow("second, Russian") << 2 << true << QList<QColor>{QColor(200, 200, 0), Qt::cyan};
    QTest::addRow("fill cancelled") << 1 << false << QList<QColor>{cancel};
    QTest::addRow("line cancelled") << 2 << false << QList<QColor>{QColor(1, 2, 3), cancel};
}

void TestDrag::customColours() {
    QFETCH(int, tag);
    QFETCH(QList<QColor>, answers);
    QFETCH(bool, russian);
    if (russian)
        Click(Find<QAbstractButton>(*Form, "BtnRussian"));
    ChoosePage(*Form, 1);
    auto* group = Find<TRadioGroup>(*Form, tag == 1 ? "CheckMainColor" : "CheckSecondColor");
    const TColorTarget target = tag == 1 ? TColorTarget::Main : TColorTarget::Second;
    const auto colors = [&] {
        return tag == 1 ? Form->Document().MainColors() : Form->Document().SecondColors();
    };
    Click(group->Item(1));
    const TTacticColors club = *ClubColors(target, 1);
    QCOMPARE(colors(), club);
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
    QCOMPARE(colors(), (chosen ? TTacticColors{answers[0], answers[1]} : club));
    QCOMPARE(Form->Renderer().Picture() != before, chosen);
    // "Custom" stays selected; clicking it again asks nothing.
    QCOMPARE(group->ItemIndex(), 3);
    Click(group->Item(3));
    QCOMPARE(requests.size(), answers.size());
}

QTEST_MAIN(TestDrag)
#include "test_drag.moc"
