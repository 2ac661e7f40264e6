#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

TCommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Editor of the team tactic files (*.tct) of CM 00/01."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
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
    if (files.size() > 2)
        return error(QStringLiteral("at most two tactic files, the main tactic and the second; "
                                    "see --help"));
    TCommandLine parsed;
    for (const QString& file : files)
        parsed.Files.append(QFileInfo(file).absoluteFilePath());
    return parsed;
}
