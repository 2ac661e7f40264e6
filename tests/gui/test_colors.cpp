// The colour schemes of both tactics, checked on the picture's pixels, and
// the custom pair chosen in two colour dialogs.
#include "FormHarness.h"
#include "PitchMap.h"
#include "RadioGroup.h"
#include "Tactics.h"

#include <QRadioButton>
#include <QTest>

using namespace guitest;
using pitch::TPixel;

namespace {

QRgb At(const QImage& image, TPixel p) {
    return image.pixel(p.X, p.Y) & 0xFFFFFF;
}

struct TLook {
    QRgb Fill;
    QRgb Line;
};

} // namespace

class TestColors : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { StopWindow(); }

    void clubSchemesOnThePicture();
    void customColoursFromTwoDialogs();
    void cancellingEitherDialogChangesNothing();
    void clickingTheSelectedItemDoesNothing();

private:
    // Fill (inside, left of the number) and outline (top of the disc) of
    // the main disc and of the second tactic's disc.
    TLook MainLook() const;
    TLook SecondLook() const;
    TRadioGroup* Group(int tag) const {
        return Find<TRadioGroup>(*Form, tag == 1 ? "CheckMainColor" : "CheckSecondColor");
    }
    void Choose(int tag, int item) { Click(Group(tag)->Item(item)); }
};

void TestColors::init() {
    StartWindow();
    // The main tactic at (5, 10), the second at (0, 0) without the ball: on
    // the Options page the second shows turned, at (320, 15).
    Load(*Form, Dialogs, 1, Game->WriteTactic("main.tct", Uniform({5, 10})));
    Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", Uniform({20, 20}, {0, 0})));
    // Hide logo, so that no credits cross the discs.
    Click(Find<QAbstractButton>(*Form, "HideLogo"));
    Dialogs.clearLog();
}

TLook TestColors::MainLook() const {
    const TPixel c = pitch::OwnCentre({5, 10});
    const QImage& picture = Form->Renderer().Picture();
    return {At(picture, {c.X - 7, c.Y}), At(picture, {c.X, c.Y - 11})};
}

TLook TestColors::SecondLook() const {
    const TPixel c{320, 15};
    const QImage& picture = Form->Renderer().Picture();
    return {At(picture, {c.X - 7, c.Y}), At(picture, {c.X, c.Y - 11})};
}

void TestColors::clubSchemesOnThePicture() {
    const QRgb white = 0xFFFFFF, blue = 0x0000FF, red = 0xFF0000, black = 0, yellow = 0xFFFF00;
    QCOMPARE(MainLook().Fill, white);
    QCOMPARE(MainLook().Line, blue);
    QCOMPARE(SecondLook().Fill, white);
    QCOMPARE(SecondLook().Line, red);
    const struct {
        int Tag, Item;
        TLook Look;
    } schemes[] = {
        {1, 1, {red, blue}},   // CSKA
        {1, 2, {black, red}},  // AC Milan
        {1, 0, {white, blue}}, // Zenit
        {2, 1, {yellow, red}}, // Alania
        {2, 2, {black, blue}}, // Internazionale
        {2, 0, {white, red}},  // Spartak M
    };
    for (const auto& scheme : schemes) {
        Choose(scheme.Tag, scheme.Item);
        const TLook look = scheme.Tag == 1 ? MainLook() : SecondLook();
        QCOMPARE(look.Fill, scheme.Look.Fill);
        QCOMPARE(look.Line, scheme.Look.Line);
    }
    QVERIFY(Dialogs.colorRequests().isEmpty());
}

void TestColors::customColoursFromTwoDialogs() {
    Choose(1, 1); // CSKA: red on blue
    Dialogs.setNextColor(QColor(10, 200, 30));
    Dialogs.setNextColor(QColor(90, 20, 160));
    Choose(1, 3);
    // Preset first to the fill colour, then to the line colour, each titled
    // with the colour it picks.
    QCOMPARE(Dialogs.colorRequests().size(), 2);
    QCOMPARE(Dialogs.colorRequests()[0].Initial, QColor(255, 0, 0));
    QCOMPARE(Dialogs.colorRequests()[1].Initial, QColor(0, 0, 255));
    QCOMPARE(Dialogs.colorRequests()[0].Title, QStringLiteral("Fill colour"));
    QCOMPARE(Dialogs.colorRequests()[1].Title, QStringLiteral("Line colour"));
    QCOMPARE(MainLook().Fill, qRgb(10, 200, 30) & 0xFFFFFFu);
    QCOMPARE(MainLook().Line, qRgb(90, 20, 160) & 0xFFFFFFu);

    // The titles are English in Russian too.
    Click(Find<QAbstractButton>(*Form, "BtnRussian"));
    Dialogs.setNextColor(QColor(200, 200, 0));
    Dialogs.setNextColor(QColor(0, 100, 100));
    Choose(2, 3);
    QCOMPARE(Dialogs.colorRequests()[2].Initial, QColor(255, 255, 255));
    QCOMPARE(Dialogs.colorRequests()[3].Initial, QColor(255, 0, 0));
    QCOMPARE(Dialogs.colorRequests()[2].Title, QStringLiteral("Fill colour"));
    QCOMPARE(Dialogs.colorRequests()[3].Title, QStringLiteral("Line colour"));
    QCOMPARE(SecondLook().Fill, qRgb(200, 200, 0) & 0xFFFFFFu);
    QCOMPARE(SecondLook().Line, qRgb(0, 100, 100) & 0xFFFFFFu);
    // The main tactic kept its own.
    QCOMPARE(MainLook().Fill, qRgb(10, 200, 30) & 0xFFFFFFu);
}

void TestColors::cancellingEitherDialogChangesNothing() {
    const QImage before = Form->Renderer().Picture().copy();
    Dialogs.setNextColorCancel();
    Choose(1, 3);
    QCOMPARE(Dialogs.colorRequests().size(), 1);
    QCOMPARE(Form->Renderer().Picture(), before);
    QCOMPARE(Group(1)->ItemIndex(), 3);

    // A fill colour picked in the first dialog is dropped when the second is cancelled.
    Choose(1, 0);
    Dialogs.setNextColor(QColor(1, 2, 3));
    Dialogs.setNextColorCancel();
    Choose(1, 3);
    QCOMPARE(Dialogs.colorRequests().size(), 3);
    QCOMPARE(Form->Renderer().Picture(), before);
    QCOMPARE(MainLook().Fill, 0xFFFFFFu);
}

void TestColors::clickingTheSelectedItemDoesNothing() {
    Dialogs.setNextColor(QColor(1, 2, 3));
    Dialogs.setNextColor(QColor(4, 5, 6));
    Choose(1, 3);
    QCOMPARE(Dialogs.colorRequests().size(), 2);
    // "Custom" again: no dialog; another item first, then "Custom", asks anew.
    Choose(1, 3);
    QCOMPARE(Dialogs.colorRequests().size(), 2);
    Choose(1, 2);
    Dialogs.setNextColor(QColor(7, 8, 9));
    Dialogs.setNextColor(QColor(10, 11, 12));
    Choose(1, 3);
    QCOMPARE(Dialogs.colorRequests().size(), 4);
    QCOMPARE(MainLook().Fill, qRgb(7, 8, 9) & 0xFFFFFFu);
}

QTEST_MAIN(TestColors)
#include "test_colors.moc"
