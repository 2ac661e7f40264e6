#pragma once

#include "document/TacticColors.h"
#include "tactic/Cm_tactic.h"

#include <QByteArray>
#include <QString>

namespace pages {

enum class TSheetFormat { Png, Pdf };

struct TSheetContent {
    QString Name; // the tactic's short name
    const TCmTactic* Tactic = nullptr;
    TTacticColors Colors; // the main tactic's colours
    QString FontFamily;   // pitch::WindowFontFace()
};

// The whole sheet as the bytes of a PNG or PDF file; empty on failure.
QByteArray MakeSheet(const TSheetContent& content, TSheetFormat format);

} // namespace pages
