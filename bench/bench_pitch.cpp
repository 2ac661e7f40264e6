// The pitch view's drawing, against its floor: copying the bare pitch onto
// the picture, which every redraw starts with. Reported as ratios to that
// floor, measured in the same run, since the machine's speed varies.
//
//   Floor          copy PitchBitmap onto the picture
//   UpdateFields   a full redraw with both tactics, plus the two scores
//   NaiveRedraw    the same redraw with every disc drawn by QPainter
//   CreditsFrame   one frame of the scrolling credits
//   DragMove       one mouse move during a drag: the full redraw, then the preview
//   DragMoveClearBack  the same with "Text without background"
//   UndoDrop       one undo (or redo) of a drop: the step, then the redraw its signal asks for
//   PlayFrame      one frame of play: both tactics between two zones, the ball, the full redraw
//   OverviewAfterEdit  the zones overview drawn again after a player moved, at its opening size
#include "document/TacticDocument.h"
#include "pages/TacticScore.h"
#include "pitch/ColorSchemes.h"
#include "pitch/DragController.h"
#include "pitch/Fonts.h"
#include "pitch/ImageOps.h"
#include "pitch/Overview.h"
#include "pitch/PitchMap.h"
#include "pitch/PitchRenderer.h"
#include "pitch/Play.h"

#include <QGuiApplication>
#include <QTemporaryFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

TCmTactic Spread(int seed) {
    TCmTactic tactic;
    for (int i = 0; i < 11; ++i)
        for (int z = 0; z < 12; ++z) {
            tactic.Players[i].WithBall[z] = {(i * 5 + z + seed) % 27, (i * 3 + z * 2 + seed) % 36};
            tactic.Players[i].WithoutBall[z] = {(i * 7 + seed) % 27, (i * 2 + z) % 36};
        }
    return tactic;
}

const TCmTactic Main = Spread(0);
const TCmTactic Second = Spread(7);

pitch::TScene Scene() {
    pitch::TScene scene;
    scene.Main = &Main;
    scene.Second = &Second;
    scene.SecondMode = pitch::TSecondTactic::Opponent;
    return scene;
}

const std::array<std::string, 6> Credits{"Pitchwright\u2122",
                                         "Idea                   : Pitchwright team",
                                         "Author                 : Pitchwright team",
                                         "Help:    README",
                                         "Licence: GNU GPL 3 or later, see LICENSE",
                                         "         (c) 2026 Pitchwright team"};

void BM_Floor(benchmark::State& state) {
    pitch::TPitchRenderer renderer(pitch::WindowFontFace());
    QImage picture(pitch::ViewWidth, pitch::ViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        pitch::CopyPicture(picture, renderer.PitchBitmap());
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_Floor);

void Redraw(benchmark::State& state, bool cached) {
    pitch::TPitchRenderer renderer(pitch::WindowFontFace());
    renderer.SetUseCache(cached);
    const pitch::TScene scene = Scene();
    for (auto _ : state) {
        renderer.Redraw(scene);
        benchmark::DoNotOptimize(pages::ScoreTactic(Main));
        benchmark::DoNotOptimize(pages::ScoreTactic(Second));
    }
}

void BM_UpdateFields(benchmark::State& state) {
    Redraw(state, true);
}
BENCHMARK(BM_UpdateFields);

void BM_NaiveRedraw(benchmark::State& state) {
    Redraw(state, false);
}
BENCHMARK(BM_NaiveRedraw);

void BM_CreditsFrame(benchmark::State& state) {
    pitch::TPitchRenderer renderer(pitch::WindowFontFace());
    renderer.Redraw(Scene());
    renderer.SetCreditsTop(300);
    for (auto _ : state) {
        renderer.CreditsFrame(Credits);
        if (renderer.CreditsTop() < -300)
            renderer.SetCreditsTop(300);
    }
}
BENCHMARK(BM_CreditsFrame);

void DragMove(benchmark::State& state, bool clearBack) {
    pitch::TPitchRenderer renderer(pitch::WindowFontFace());
    const pitch::TScene scene = Scene();
    const TTacticColors colors = scene.MainColors;
    int step = 0;
    for (auto _ : state) {
        // The pointer wanders over the pitch, a pixel at a time.
        const int x = 20 + step % 280;
        const int y = 30 + (step / 280) % 340;
        ++step;
        renderer.Redraw(scene);
        benchmark::DoNotOptimize(pages::ScoreTactic(Main));
        benchmark::DoNotOptimize(pages::ScoreTactic(Second));
        if (const auto preview = pitch::PreviewAt(x, y, true, 4))
            renderer.DrawPreview(*preview, Main.Players[4].NumberText, colors, clearBack);
    }
}

void BM_DragMove(benchmark::State& state) {
    DragMove(state, false);
}
BENCHMARK(BM_DragMove);

// With "Text without background" the read-out is drawn afresh each time.
void BM_DragMoveClearBack(benchmark::State& state) {
    DragMove(state, true);
}
BENCHMARK(BM_DragMoveClearBack);

// An undo of a drop, as the window does it: the step puts the old cell back
// and the document's signal redraws the view once. Undo and redo alternate,
// so every iteration is one step and one redraw.
void BM_UndoDrop(benchmark::State& state) {
    pitch::TPitchRenderer renderer(pitch::WindowFontFace());
    // The document holds the same main tactic as the other rows draw.
    QTemporaryFile file;
    if (!file.open() || !file.write(QByteArray(TCmTactic::MinimumFileSize, '\0')) ||
        !file.flush() || !TCmTactic(Main).Save(NativeFileName(file.fileName()))) {
        state.SkipWithError("no tactic file");
        return;
    }
    TTacticDocument document(*pitch::ClubColors(pitch::TColorTarget::Main, 0),
                             *pitch::ClubColors(pitch::TColorTarget::Second, 0));
    if (document.LoadMain(file.fileName()).Error != TCmError::None) {
        state.SkipWithError("the tactic file does not load");
        return;
    }
    pitch::TScene scene = Scene();
    scene.Main = &document.Main();
    QObject::connect(&document, &TTacticDocument::positionsChanged, [&] {
        renderer.Redraw(scene);
        benchmark::DoNotOptimize(pages::ScoreTactic(document.Main()));
        benchmark::DoNotOptimize(pages::ScoreTactic(Second));
    });
    document.MovePlayer(4, 5, true, {13, 20});
    bool undo = true;
    for (auto _ : state) {
        if (undo)
            document.History().undo();
        else
            document.History().redo();
        undo = !undo;
    }
}
BENCHMARK(BM_UndoDrop);

// Play along the default route at 30 frames a zone, the second tactic as the
// opponent: every frame puts 22 discs between their two positions and redraws.
void BM_PlayFrame(benchmark::State& state) {
    pitch::TPitchRenderer renderer(pitch::WindowFontFace());
    pitch::TScene scene = Scene();
    const std::vector<int>& route = pitch::DefaultRoute();
    constexpr int frames = 30;
    int frame = 0;
    for (auto _ : state) {
        const auto leg = static_cast<std::size_t>(frame / frames) % route.size();
        scene.Step = pitch::TPlayStep{route[leg], route[(leg + 1) % route.size()],
                                      pitch::Ease(double(frame % frames) / frames)};
        ++frame;
        renderer.Redraw(scene);
        benchmark::DoNotOptimize(renderer.Picture().constBits());
    }
}
BENCHMARK(BM_PlayFrame);
void BM_OverviewAfterEdit(benchmark::State& state) {
    pitch::TOverview overview(pitch::WindowFontFace());
    TCmTactic main = Main;
    pitch::TScene scene = Scene();
    scene.Main = &main;
    const QSize size(390, 610); // the overview of the zones window as it opens
    overview.Draw(scene, {}, size, 1.0);
    int step = 0;
    for (auto _ : state) {
        main.Players[4].WithBall[5] = {13, 16 + (++step & 1)};
        benchmark::DoNotOptimize(overview.Draw(scene, {}, size, 1.0).constBits());
    }
}
BENCHMARK(BM_OverviewAfterEdit);

// Prints each benchmark's time as a multiple of the floor's, once all have run.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                Times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double floor = Times["BM_Floor"];
        if (floor <= 0)
            return;
        std::printf("\nRatio to the floor (copying PitchBitmap, %.2f us):\n", floor / 1000);
        for (const auto& [name, time] : Times)
            std::printf("  %-18s %6.2f x\n", name.c_str() + 3, time / floor);
        const auto move = Times.find("BM_DragMove");
        if (move != Times.end())
            std::printf("  drag moves the view can follow: %.0f a second\n", 1e9 / move->second);
        const auto play = Times.find("BM_PlayFrame");
        if (play != Times.end())
            std::printf("  play at 30 frames a second: %.3f %% of one core\n",
                        play->second * 30 / 1e9 * 100);
        const auto credits = Times.find("BM_CreditsFrame");
        if (credits != Times.end())
            std::printf("  credits at 20 frames a second: %.3f %% of one core\n",
                        credits->second * 20 / 1e9 * 100);
    }

private:
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
