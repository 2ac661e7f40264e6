// The pitch view's pictures, compared exactly with the goldens in
// tests/data/pitch: each page with both tactics, every colour scheme, the
// drag preview both ways and the credits, the view at 200 % and the tactic
// sheet. How to regenerate them: README.
#include "FormHarness.h"
#include "Tactics.h"
#include "pages/RadioGroup.h"
#include "pages/TacticSheet.h"
#include "pitch/Fonts.h"

using namespace guitest;
using namespace pitch;

namespace {

void CompareGolden(const QImage& image, const QString& name) {
    guitest::CompareGolden(image, QStringLiteral(PW_GOLDEN_DIR), name);
}

// The main tactic with two overlapping discs in zone 5, the second one
// mirrored, with three discs where the main tactic's are.
TCmTactic Main() {
    TCmTactic tactic = SampleTactic(1);
    tactic.Players[4].WithBall[5] = {13, 16};
    return tactic;
}

TCmTactic Second() {
    TCmTactic tactic = SampleTactic(2);
    for (TCmPlayer& player : tactic.Players)
        for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
            player.WithBall[z].X = 26 - player.WithBall[z].X;
            player.WithoutBall[z].X = 26 - player.WithoutBall[z].X;
        }
    for (int i = 0; i < 3; ++i)
        tactic.Players[i].WithBall[5] = SampleTactic(1).Players[i].WithBall[5];
    return tactic;
}

// One picture of the window: the page, a right click choosing the zone,
// the phase, both colour schemes and a drag of one player held at To.
struct TView {
    TPage Page;
    QPoint Zone;
    bool WithBall;
    int MainScheme, SecondScheme;
    enum { None, Stepped, SmoothClear } Drag;
    int Player;
    QPoint To;
};

} // namespace

Q_DECLARE_METATYPE(TView)

class TestRenderer : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init() { StartWindow(); }
    void cleanup() { StopWindow(); }
    void window_data();
    void window();
    void optionsWithCredits();
    void barePitchForABadZone();
    void creditsTimerAndHideLogo();
    void playFrame(); // 0.4 of the way from zone 5 to 6, the second tactic the opponent
    void scaledPictures_data();
    void scaledPictures();
    void chosenMark_data();
    void chosenMark(); // player 10 ringed, at 100 % and at 200 %

private:
    void LoadBoth(const TCmTactic& main, const TCmTactic& second) {
        Load(*Form, Dialogs, 1, Game->WriteTactic("main.tct", main));
        Load(*Form, Dialogs, 2, Game->WriteTactic("second.tct", second));
    }
};

void TestRenderer::window_data() {
    QTest::addColumn<TView>("view");
    QTest::addRow("general") << TView{TPage::General, {}, true, 0, 0, TView::None, 0, {}};
    QTest::addRow("general-zone0-without-ball")
        << TView{TPage::General, {50, 398}, false, 1, 0, TView::None, 0, {}};
    QTest::addRow("compare") << TView{TPage::Compare, {}, true, 2, 1, TView::None, 0, {}};
    QTest::addRow("anti-zone11") << TView{TPage::Anti, {300, 50}, true, 0, 2, TView::None, 0, {}};
    QTest::addRow("drag-stepped") << TView{TPage::General, {}, true,      1, 0,
                                           TView::Stepped, 9,  {320, 390}};
    QTest::addRow("drag-smooth-clear")
        << TView{TPage::Compare, {}, true, 0, 0, TView::SmoothClear, 2, {150, 120}};
}

void TestRenderer::window() {
    QFETCH(TView, view);
    // The window starts on the Options page: the first credits frame makes
    // the labels bold for good.
    QTRY_VERIFY(Form->Renderer().BoldLabels());
    LoadBoth(Main(), Second());
    ChoosePage(*Form, TPage::Options);
    Click(Find<TRadioGroup>(*Form, "CheckMainColor")->Item(view.MainScheme));
    Click(Find<TRadioGroup>(*Form, "CheckSecondColor")->Item(view.SecondScheme));
    const bool smooth = view.Drag == TView::SmoothClear;
    if (smooth) {
        Click(Find<QCheckBox>(*Form, "SmoothMove"));
        Click(Find<QCheckBox>(*Form, "ClearBack"));
    }
    ChoosePage(*Form, view.Page);
    Click(Find<QRadioButton>(*Form, view.WithBall ? "WithBall" : "WithoutBall"));
    QWidget* image = Find(*Form, "Image");
    if (!view.Zone.isNull())
        QTest::mouseClick(image, Qt::RightButton, {}, view.Zone);
    if (view.Drag != TView::None) {
        const TPixel from = TestPoint(Form->MainTactic().Players[view.Player].WithBall[5]);
        QTest::mousePress(image, Qt::LeftButton, {}, QPoint(from.X, from.Y));
        QTest::mouseMove(image, view.To);
    }
    CompareGolden(Form->Renderer().Picture(), QTest::currentDataTag());
    if (view.Drag != TView::None)
        QTest::mouseRelease(image, Qt::LeftButton, {}, view.To);
}

void TestRenderer::optionsWithCredits() {
    LoadBoth(Main(), Second());
    TPitchRenderer cached(pitch::WindowFontFace());
    TPitchRenderer direct(pitch::WindowFontFace());
    QCOMPARE(QFontInfo(cached.LabelFont(15)).family(), QStringLiteral("Comic Neue"));
    direct.SetUseCache(false);
    const TScene scene{&Form->MainTactic(), &Form->SecondTactic(), 5, false,
                       TSecondTactic::Opponent};
    const TPreview preview = *PreviewAt(100, 100, false, 9);
    for (TPitchRenderer* renderer : {&cached, &direct}) {
        renderer->Redraw(scene);
        // The first frame draws the title below the view, and ends in bold.
        renderer->CreditsFrame(Form->Credits());
        QCOMPARE(renderer->CreditsTop(), 409);
        renderer->Redraw(scene);
        renderer->DrawPreview(preview, "10", scene.MainColors, false);
    }
    // Cached discs, labels and preview are pixel-equal to drawing them directly.
    QCOMPARE(cached.Picture(), direct.Picture());
    cached.SetCreditsTop(61);
    cached.CreditsFrame(Form->Credits());
    CompareGolden(cached.Picture(), "options-credits");
    // The title climbs to -350, then starts again just below the view: 760 frames.
    direct.SetCreditsTop(-348);
    for (const int top : {-349, -350, 409, 408}) {
        direct.CreditsFrame(Form->Credits());
        QCOMPARE(direct.CreditsTop(), top);
    }
    // Hide logo: the last redraw, without the credits and the preview.
    direct.Redraw(scene);
    cached.ShowPlayers();
    QCOMPARE(cached.Picture(), direct.Picture());
}

void TestRenderer::barePitchForABadZone() {
    TPitchRenderer renderer(pitch::WindowFontFace());
    CompareGolden(renderer.PitchBitmap(), "pitch");
    // A zone outside the twelve has no frame and no positions to draw.
    const TCmTactic tactic = Main();
    for (const int zone : {-1, 12}) {
        renderer.Redraw({&tactic, &tactic, zone, true, TSecondTactic::Same});
        QCOMPARE(renderer.Picture(), renderer.PitchBitmap().copy(0, 0, ViewWidth, ViewHeight));
    }
}

void TestRenderer::creditsTimerAndHideLogo() {
    LoadBoth(Uniform({3, 20}, {3, 5}), Uniform({10, 19}, {10, 13}));
    auto* timer = Find<QTimer>(*Form, "Timer");
    ChoosePage(*Form, TPage::Options);
    QVERIFY(timer->isActive());
    QTRY_VERIFY(Form->Renderer().CreditsTop() < 400);
    ChoosePage(*Form, TPage::General);
    QVERIFY(!timer->isActive());
    const int stopped = Form->Renderer().CreditsTop();
    QTest::qWait(120);
    // Back on Options they go on from where they stopped.
    ChoosePage(*Form, TPage::Options);
    QCOMPARE(Form->Renderer().CreditsTop(), stopped);
    auto* hide = Find<QCheckBox>(*Form, "HideLogo");
    Click(hide);
    QVERIFY(!timer->isActive());
    QCOMPARE(Form->Renderer().Picture(), Form->Renderer().PlayersBitmap());
    // A redraw on the Options page does not start them while hidden.
    Click(Find<QRadioButton>(*Form, "WithoutBall"));
    QVERIFY(!timer->isActive());
    Click(hide);
    QVERIFY(timer->isActive());
    QTRY_VERIFY(Form->Renderer().CreditsTop() < stopped);
}

void TestRenderer::playFrame() {
    const TCmTactic main = Main(), second = Second();
    TScene scene{&main, &second, 5, true, TSecondTactic::Opponent};
    scene.Step = TPlayStep{5, 6, 0.4};
    TPitchRenderer renderer(pitch::WindowFontFace());
    renderer.Redraw(scene);
    CompareGolden(renderer.Picture(), "play-opponent");
}

// Pictures drawn as vectors: the view at a device pixel ratio, with a drag
// preview and a credits frame over it, and the tactic sheet in both formats.
enum { View, SheetPng, SheetPdf };

void TestRenderer::scaledPictures_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<qreal>("ratio");
    QTest::addRow("pitch-200") << int(View) << 2.0;
    QTest::addRow("pitch-125-size") << int(View) << 1.25;
    QTest::addRow("sheet") << int(SheetPng) << 1.0;
    QTest::addRow("sheet-pdf") << int(SheetPdf) << 1.0;
}

void TestRenderer::scaledPictures() {
    QFETCH(int, kind);
    QFETCH(qreal, ratio);
    const TCmTactic main = Main(), second = Second();
    if (kind == View) {
        TPitchRenderer renderer(pitch::WindowFontFace());
        const TScene scene{&main, &second, 5, true, TSecondTactic::Same};
        renderer.Redraw(scene);
        const QImage atOne = renderer.Picture().copy();
        renderer.SetDevicePixelRatio(ratio);
        const QImage& picture = renderer.Picture();
        QCOMPARE(picture.size(), QSize(qCeil(331 * ratio), qCeil(399 * ratio)));
        QCOMPARE(picture.devicePixelRatio(), ratio);
        if (ratio == 2.0) {
            renderer.CreditsFrame(Form->Credits());
            renderer.SetCreditsTop(300);
            renderer.CreditsFrame(Form->Credits());
            renderer.DrawPreview(*PreviewAt(150, 120, true, 9), "10", scene.MainColors, false);
            CompareGolden(picture, QTest::currentDataTag());
            return;
        }
        // Back at 100 % the picture is the one drawn pixel by pixel.
        renderer.SetDevicePixelRatio(1.0);
        renderer.ShowPlayers();
        QCOMPARE(renderer.Picture(), atOne);
        return;
    }
    const QByteArray bytes =
        pages::MakeSheet({"ATTACK", &main, {Qt::white, Qt::blue}, WindowFontFace()},
                         kind == SheetPng ? pages::TSheetFormat::Png : pages::TSheetFormat::Pdf);
    if (kind == SheetPng) {
        CompareGolden(QImage::fromData(bytes, "PNG"), QTest::currentDataTag());
    } else {
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
    }
    QVERIFY(pages::MakeSheet({}, pages::TSheetFormat::Png).isEmpty());
}

void TestRenderer::chosenMark_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addRow("chosen") << 1.0;
    QTest::addRow("chosen-200") << 2.0;
}

void TestRenderer::chosenMark() {
    QFETCH(qreal, ratio);
    const TCmTactic main = Main();
    TScene scene{&main, nullptr, 5, true};
    scene.Chosen = 9;
    TPitchRenderer renderer(pitch::WindowFontFace());
    renderer.SetDevicePixelRatio(ratio);
    renderer.Redraw(scene);
    CompareGolden(renderer.Picture(), QTest::currentDataTag());
}

QTEST_MAIN(TestRenderer)
#include "test_renderer.moc"
