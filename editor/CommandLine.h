#pragma once

#include <QStringList>

class QCoreApplication;

// The command line: `pitchwright [FILE [SECOND]]`, --help and --version.
// --help and --version print their text and end the program with status 0;
// more than two files end it with a message and status 1. Returns the files
// as absolute paths, the main tactic first.
QStringList ParseCommandLine(const QCoreApplication& app);
