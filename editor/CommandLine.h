#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line `pitchwright [FILE [SECOND]]` asks for: the files to
// load, or a text to print and the status to end the program with (--help
// and --version: their text and 0; more than two files or an unknown option:
// the error and 1); or, with `--sheet TACTIC OUT [--force]`, a tactic sheet
// to write without a window.
struct TCommandLine {
    // Absolute paths, the main tactic first.
    QStringList Files;
    // Set when the program is to end at once, printing Text (on the standard
    // output for status 0, else on the standard error).
    std::optional<int> Exit;
    QString Text;
    // --sheet: the tactic file and the sheet's file, as given.
    QString SheetTactic{};
    QString SheetOut{};
    bool Sheet = false;
    bool Force = false;
};

// Parses `arguments` (the program's name first). Needs no application object,
// so that --help and --version work without a display.
TCommandLine ParseCommandLine(const QStringList& arguments);
