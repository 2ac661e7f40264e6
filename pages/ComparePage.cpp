#include "pages/ComparePage.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <tuple>

namespace pages {

namespace {

struct TLabelSpec {
    const char* Name;
    int Left;
    int Top;
    const char* Text;
    bool Centred;
    bool Small;
};

// English texts, translated by Retranslate.
// clang-format off
constexpr TLabelSpec LabelSpecs[] = {
    {"AttackLab", 216, 8, QT_TRANSLATE_NOOP("pages::TComparePage", "Attacking potential"), true, false},
    {"T1Att", 2, 32, QT_TRANSLATE_NOOP("pages::TComparePage", "Main Tactic"), false, false},
    {"T2Att", 2, 56, QT_TRANSLATE_NOOP("pages::TComparePage", "Second tactic"), false, false},
    {"PoorA", 88, 80, QT_TRANSLATE_NOOP("pages::TComparePage", "VeryPoor"), false, true},
    {"NormalA", 256, 80, QT_TRANSLATE_NOOP("pages::TComparePage", "Normal"), true, true},
    {"SuperA", 408, 80, QT_TRANSLATE_NOOP("pages::TComparePage", "Superb"), false, true},
    {"DefenceLab", 216, 120, QT_TRANSLATE_NOOP("pages::TComparePage", "Defence potential"), true, false},
    {"T1Def", 2, 144, QT_TRANSLATE_NOOP("pages::TComparePage", "Main Tactic"), false, false},
    {"T2Def", 2, 168, QT_TRANSLATE_NOOP("pages::TComparePage", "Second tactic"), false, false},
    {"PoorD", 88, 192, QT_TRANSLATE_NOOP("pages::TComparePage", "VeryPoor"), false, true},
    {"NormalD", 256, 192, QT_TRANSLATE_NOOP("pages::TComparePage", "Normal"), true, true},
    {"SuperD", 404, 192, QT_TRANSLATE_NOOP("pages::TComparePage", "Superb"), false, true},
};
// clang-format on

struct TBarSpec {
    const char* Name;
    int Top;
    int Minimum;
    int Maximum;
};

constexpr int BarLeft = 104;
constexpr int BarWidth = 337;
constexpr int BarHeight = 16;
constexpr TBarSpec BarSpecs[] = {
    {"AttackMain", 32, 1900, 2250},
    {"AttackSecond", 56, 1900, 2250},
    {"DefenceMain", 144, 2200, 2500},
    {"DefenceSecond", 168, 2200, 2500},
};
// The scale labels are a size smaller than the page's text.
constexpr int SmallPointSize = 8;

// A bar ignores a value outside its range, so show what the score means:
// below the minimum as empty, above the maximum as full.
void ShowScore(QProgressBar& bar, int score) {
    bar.setProperty(TComparePage::ScoreProperty, score);
    const int value = std::clamp(score, bar.minimum(), bar.maximum());
    // A bar repaints itself only when its value moved by about a chunk; the
    // fill must follow every change of the score.
    if (value != bar.value())
        bar.update();
    bar.setValue(value);
}

} // namespace

TComparePage::TComparePage(QWidget* parent)
    : QWidget(parent) {
    static_assert(std::size(LabelSpecs) == std::tuple_size_v<decltype(Labels)>);
    for (std::size_t i = 0; i < Labels.size(); ++i) {
        const TLabelSpec& spec = LabelSpecs[i];
        auto* label = Labels[i] = new QLabel(this);
        label->setObjectName(QString::fromLatin1(spec.Name));
        if (spec.Centred)
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        if (spec.Small) {
            QFont small = label->font();
            small.setPointSize(SmallPointSize);
            label->setFont(small);
        }
        label->move(spec.Left, spec.Top);
    }
    for (int i = 0; i < 4; ++i) {
        auto* bar = new QProgressBar(this);
        bar->setObjectName(QString::fromLatin1(BarSpecs[i].Name));
        bar->setGeometry(BarLeft, BarSpecs[i].Top, BarWidth, BarHeight);
        bar->setTextVisible(false);
        Bars[i] = bar;
    }
    Retranslate();
}

void TComparePage::Retranslate() {
    for (std::size_t i = 0; i < Labels.size(); ++i) {
        Labels[i]->setText(tr(LabelSpecs[i].Text));
        Labels[i]->adjustSize();
    }
}

void TComparePage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TComparePage::SetRanges() {
    for (int i = 0; i < 4; ++i) {
        QProgressBar& bar = *Bars[i];
        bar.setMaximum(BarSpecs[i].Maximum);
        bar.setMinimum(BarSpecs[i].Minimum);
        // A new range resets a bar whose position falls outside it; keep showing
        // the score it was given.
        const QVariant score = bar.property(ScoreProperty);
        if (score.isValid())
            ShowScore(bar, score.toInt());
    }
}

void TComparePage::SetScores(const TTacticScore& main, const TTacticScore& second) {
    ShowScore(*Bars[0], main.Attack);
    ShowScore(*Bars[1], second.Attack);
    ShowScore(*Bars[2], main.Defence);
    ShowScore(*Bars[3], second.Defence);
}

} // namespace pages
