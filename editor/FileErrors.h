#pragma once

#include "tactic/Cm_file.h"

#include <QString>

// What the window tells the user when a tactic file cannot be loaded or
// saved: which file, what failed and why, in the system's own words where
// it gave any, and what became of the file and its reserve copy.

// "Could not load tactic PATH" and the reason.
QString LoadFailureText(const QString& path, TCmFailure failure);

// A failed save. `reserve` is the reserve copy's path: it holds the previous
// tactic when the failure came after the copy was made, and the text says
// whether a failed write was undone.
QString SaveFailureText(const QString& path, const QString& reserve, TCmFailure failure);

// A picture or sheet that could not be written as the new file `path`; the
// text says what became of the file (nothing, but for an unconfirmed name).
QString ExportFailureText(const QString& path, TCmFailure failure);

// A copy of the main tactic (loaded from `loaded`) that could not be written
// as `path`, whose own reserve copy is `reserve`; nothing was written but
// for what the text names.
QString CopyFailureText(const QString& path, const QString& reserve, const QString& loaded,
                        TCmFailure failure);
