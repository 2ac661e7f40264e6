#include "editor/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

QStringList ParseCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Editor of the team tactic files (*.tct) of CM 00/01.\n\n"
        "The game is looked for in the Wine prefix that WINEPREFIX names, and only\n"
        "there, when it is set; else in ~/.wine, then in the prefixes of Lutris (its\n"
        "games' files, then ~/Games), Bottles, PlayOnLinux, CrossOver and Steam's\n"
        "Proton, in this order. The game's registry key counts first; where no prefix\n"
        "has it, a folder holding the game's program (cm0001.exe or cm0102.exe) and a\n"
        "tactics folder. On Windows: the registry, else such a folder under\n"
        "%ProgramFiles%, %ProgramFiles(x86)% or C:\\Games."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Tactic file to load as the main tactic."),
                                 QStringLiteral("[FILE"));
    parser.addPositionalArgument(QStringLiteral("SECOND"),
                                 QStringLiteral("Tactic file to load as the second tactic."),
                                 QStringLiteral("[SECOND]]"));
    // Exits with status 0 after --help or --version, 1 after an unknown option.
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 2) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("pitchwright: at most two tactic files, "
                                               "the main tactic and the second; see --help")));
        std::exit(1);
    }
    QStringList absolute;
    for (const QString& file : files)
        absolute.append(QFileInfo(file).absoluteFilePath());
    return absolute;
}
