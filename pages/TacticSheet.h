#pragma once

#include "document/TacticColors.h"
#include "tactic/Cm_tactic.h"

#include <QByteArray>
#include <QString>

// One page that shows a whole tactic, for posting or printing: its name and
// scores, its 24 grids as small pitches, the team instructions and the
// players' instructions.
namespace pages {

enum class TSheetFormat { Png, Pdf };

struct TSheetContent {
    QString Name; // the tactic's short name
    const TCmTactic* Tactic = nullptr;
    TTacticColors Colors; // the main tactic's colours
    QString FontFamily;   // pitch::WindowFontFace()
};

// The whole sheet as the bytes of a PNG or PDF file; empty on failure. The
// PDF is one A4 portrait page; the PNG has the same layout at 150 dots per
// inch. Needs a QGuiApplication (for the fonts), no window.
QByteArray MakeSheet(const TSheetContent& content, TSheetFormat format);

} // namespace pages
