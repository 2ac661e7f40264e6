#include "editor/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

TCommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Editor of the team tactic files (*.tct) of CM 00/01.\n\n"
        "The game is looked for in the Wine prefix that WINEPREFIX names, and only\n"
        "there, when it is set; else in ~/.wine, then in the prefixes of Lutris (its\n"
        "games' files, then ~/Games), Bottles, PlayOnLinux, CrossOver and Steam's\n"
        "Proton, in this order. The game's registry key counts first; where no prefix\n"
        "has it, a folder holding the game's program (cm0001.exe or cm0102.exe) and a\n"
        "tactics folder. On Windows: the registry, else such a folder under\n"
        "%ProgramFiles%, %ProgramFiles(x86)% or C:\\Games.\n\n"
        "With --sheet TACTIC OUT, the sheet of the tactic file TACTIC is written to\n"
        "OUT, a PNG picture or a PDF document by its extension, and nothing else\n"
        "happens: no window, no display needed. An existing OUT is replaced only with\n"
        "--force. The exit status is 0 when the sheet was written."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption sheet(
        QStringLiteral("sheet"),
        QStringLiteral("Write the sheet of tactic file TACTIC to OUT (.png or .pdf) and end."),
        QStringLiteral("TACTIC"));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("With --sheet: replace an existing OUT."));
    parser.addOption(sheet);
    parser.addOption(force);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Tactic file to load as the main tactic."),
                                 QStringLiteral("[FILE"));
    parser.addPositionalArgument(QStringLiteral("SECOND"),
                                 QStringLiteral("Tactic file to load as the second tactic."),
                                 QStringLiteral("[SECOND]]"));
    const QString program = arguments.value(0, QStringLiteral("pitchwright"));
    const auto error = [](const QString& text) {
        return TCommandLine{{}, 1, QStringLiteral("pitchwright: ") + text + QLatin1Char('\n')};
    };
    if (!parser.parse(arguments))
        return error(parser.errorText());
    // Without an application object Qt names the program by a placeholder.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return {{}, 0, parser.helpText().replace(QStringLiteral("<executable_name>"), program)};
    if (parser.isSet(version))
        return {{}, 0, QStringLiteral("Pitchwright " PW_VERSION "\n")};
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(sheet)) {
        if (files.size() != 1)
            return error(QStringLiteral("--sheet takes a tactic file and the sheet's file: "
                                        "--sheet TACTIC OUT"));
        TCommandLine parsed;
        parsed.Sheet = true;
        parsed.SheetTactic = parser.value(sheet);
        parsed.SheetOut = files[0];
        parsed.Force = parser.isSet(force);
        return parsed;
    }
    if (parser.isSet(force))
        return error(QStringLiteral("--force belongs to --sheet; see --help"));
    if (files.size() > 2)
        return error(QStringLiteral("at most two tactic files, the main tactic and the second; "
                                    "see --help"));
    TCommandLine parsed;
    for (const QString& file : files)
        parsed.Files.append(QFileInfo(file).absoluteFilePath());
    return parsed;
}
