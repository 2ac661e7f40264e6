// The pitch view inside the window: which tactics each page draws and how,
// the phase buttons, the bars that follow every redraw, and the credits'
// timer with "Hide logo".
#include "FormHarness.h"
#include "PitchMap.h"
#include "TacticScore.h"
#include "Tactics.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace guitest;

namespace {

QRgb At(const QImage& image, pitch::TPixel p) {
    return image.pixel(p.X, p.Y) & 0xFFFFFF;
}

// The fill colour shows left of a disc's number, inside the disc.
bool FilledAt(const TMainForm& form, pitch::TPixel centre, QRgb fill) {
    return At(form.Renderer().Picture(), {centre.X - 7, centre.Y}) == (fill & 0xFFFFFF);
}

constexpr QRgb White = qRgb(255, 255, 255);

} // namespace

class TestPitchView : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { StopWindow(); }

    void eachPageDrawsTheSecondTacticItsWay();
    void phaseButtonsSwitchTheGrids();
    void barsFollowTheLoadedTactics();
    void creditsRunOnlyOnTheOptionsPage();
    void hideLogoRemovesAndResumesTheCredits();
};

void TestPitchView::init() {
    StartWindow();
    Load(*Form, Dialogs, 1, Game->WriteTactic("main.tct", Uniform({3, 20}, {3, 5})));
}

void TestPitchView::eachPageDrawsTheSecondTacticItsWay() {
    const QImage& picture = Form->Renderer().Picture();
    // Options page, no second tactic yet: the main tactic alone.
    QVERIFY(FilledAt(*Form, pitch::OwnCentre({3, 20}), White));
    Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", Uniform({20, 30}, {0, 0})));
    // Options and Anti: the opponent's without-ball place of the opposite zone, turned.
    QCOMPARE(Form->BallZone(), 5);
    const pitch::TPixel opponent{320, 15};
    QVERIFY(FilledAt(*Form, opponent, White));
    QCOMPARE(At(picture, {opponent.X, opponent.Y - 11}), qRgb(255, 0, 0) & 0xFFFFFF);
    ChoosePage(*Form, 2);
    QVERIFY(FilledAt(*Form, opponent, White));
    // Compare: the with-ball place, own orientation, 2 pixels right and down.
    ChoosePage(*Form, 1);
    const pitch::TPixel same = pitch::OwnCentre({20, 30});
    QVERIFY(FilledAt(*Form, {same.X + 2, same.Y + 2}, White));
    QVERIFY(!FilledAt(*Form, opponent, White));
    // General: no second tactic.
    ChoosePage(*Form, 0);
    QVERIFY(!FilledAt(*Form, {same.X + 2, same.Y + 2}, White));
    QVERIFY(!FilledAt(*Form, opponent, White));
    QVERIFY(FilledAt(*Form, pitch::OwnCentre({3, 20}), White));
    QCOMPARE(Form->Renderer().PlayersBitmap(), picture);
}

void TestPitchView::phaseButtonsSwitchTheGrids() {
    ChoosePage(*Form, 0);
    auto* without = Find<QRadioButton>(*Form, "WithoutBall");
    Click(without);
    QVERIFY(without->isChecked());
    QVERIFY(FilledAt(*Form, pitch::OwnCentre({3, 5}), White));
    QVERIFY(!FilledAt(*Form, pitch::OwnCentre({3, 20}), White));
    Click(Find<QRadioButton>(*Form, "WithBall"));
    QVERIFY(FilledAt(*Form, pitch::OwnCentre({3, 20}), White));
}

void TestPitchView::barsFollowTheLoadedTactics() {
    const TCmTactic second = Uniform({10, 19}, {10, 13});
    Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", second));
    const pages::TTacticScore main = pages::ScoreTactic(Form->MainTactic());
    QCOMPARE(main.Attack, 110 * 20);
    QCOMPARE(Find<QProgressBar>(*Form, "AttackMain")->value(), 2200);
    QCOMPARE(Find<QProgressBar>(*Form, "AttackSecond")->value(), 110 * 19);
    // 110 * (35 - 5) is above the range: a full bar.
    QCOMPARE(Find<QProgressBar>(*Form, "DefenceMain")->value(), 2500);
    QCOMPARE(Find<QProgressBar>(*Form, "DefenceSecond")->value(), 110 * 22);
}

void TestPitchView::creditsRunOnlyOnTheOptionsPage() {
    auto* timer = Find<QTimer>(*Form, "Timer");
    QVERIFY(timer->isActive());
    QTRY_VERIFY(Form->Renderer().CreditsTop() < 405);
    const int before = Form->Renderer().CreditsTop();
    ChoosePage(*Form, 0);
    QVERIFY(!timer->isActive());
    const int stopped = Form->Renderer().CreditsTop();
    QVERIFY(stopped <= before);
    QTest::qWait(120);
    QCOMPARE(Form->Renderer().CreditsTop(), stopped);
    // Back on Options they go on from where they stopped.
    ChoosePage(*Form, 3);
    QVERIFY(timer->isActive());
    QCOMPARE(Form->Renderer().CreditsTop(), stopped);
    QTRY_VERIFY(Form->Renderer().CreditsTop() < stopped);
}

void TestPitchView::hideLogoRemovesAndResumesTheCredits() {
    auto* hide = Find<QCheckBox>(*Form, "HideLogo");
    auto* timer = Find<QTimer>(*Form, "Timer");
    QTRY_VERIFY(Form->Renderer().Picture() != Form->Renderer().PlayersBitmap() ||
                Form->Renderer().CreditsTop() < 380);
    Click(hide);
    QVERIFY(!timer->isActive());
    QCOMPARE(Form->Renderer().Picture(), Form->Renderer().PlayersBitmap());
    QVERIFY(FilledAt(*Form, pitch::OwnCentre({3, 20}), White));
    const int stopped = Form->Renderer().CreditsTop();
    QTest::qWait(120);
    QCOMPARE(Form->Renderer().CreditsTop(), stopped);
    // A redraw on the Options page does not start them while hidden.
    Click(Find<QRadioButton>(*Form, "WithBall"));
    QVERIFY(!timer->isActive());
    Click(hide);
    QVERIFY(timer->isActive());
    QTRY_VERIFY(Form->Renderer().CreditsTop() < stopped);
    QVERIFY(Form->Renderer().CreditsTop() > stopped - 40);
}

QTEST_MAIN(TestPitchView)
#include "test_pitchview.moc"
