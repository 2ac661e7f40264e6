#pragma once

#include <QColor>

// The two colours a tactic's discs are drawn in.
struct TTacticColors {
    QColor Fill;
    QColor Line;
    friend bool operator==(const TTacticColors&, const TTacticColors&) = default;
};
