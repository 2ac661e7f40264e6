#pragma once

#include "pages/TacticScore.h"

#include <QWidget>

#include <array>

class QLabel;
class QProgressBar;

namespace pages {

// Content of the Compare page: the attacking and defence bars of both
// tactics with their labels (object names as the controls' names).
class TComparePage : public QWidget {
    Q_OBJECT
public:
    // Dynamic property of each bar holding the score last set, unclamped.
    static constexpr const char* ScoreProperty = "score";

    explicit TComparePage(QWidget* parent = nullptr);

    // Start-up: each maximum before its minimum.
    void SetRanges();
    // Positions of AttackMain, AttackSecond, DefenceMain, DefenceSecond, in that order, unclamped.
    void SetScores(const TTacticScore& main, const TTacticScore& second);

    QProgressBar* AttackMain() const { return Bars[0]; }
    QProgressBar* AttackSecond() const { return Bars[1]; }
    QProgressBar* DefenceMain() const { return Bars[2]; }
    QProgressBar* DefenceSecond() const { return Bars[3]; }

protected:
    void changeEvent(QEvent* event) override;

private:
    // Sets the labels' texts in the interface language.
    void Retranslate();

    QProgressBar* Bars[4] = {};
    std::array<QLabel*, 12> Labels = {};
};

} // namespace pages
