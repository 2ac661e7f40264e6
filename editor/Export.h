#pragma once

#include "pages/TacticSheet.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Pictures of a tactic written as new files, from the window and from the
// command line.

// The sheet's format by the name's extension (.png or .pdf, in any case).
std::optional<pages::TSheetFormat> SheetFormatOf(const QString& path);

// `pitchwright --sheet TACTIC OUT [--force]`: the sheet of the tactic file
// `tactic` written to `out`, replacing a file there only with `replace`.
// Returns the exit status; on failure `error` says why.
int WriteSheetFile(const QString& tactic, const QString& out, bool replace, QString& error);
