#include "editor/Application.h"
#include "editor/CommandLine.h"
#include "editor/Dialogs.h"
#include "editor/Export.h"
#include "editor/Mainunit.h"

#include <QFontDatabase>
#include <QRegularExpression>

#include <cstdio>
#include <exception>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
// A program of the GUI subsystem has no console of its own: its text goes to
// the file or pipe its caller gave it, else to the console it was started
// from. False when there is neither.
bool WriteToCaller(bool error, const QString& text) {
    HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return false;
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
        if (out == INVALID_HANDLE_VALUE)
            return false;
    }
    DWORD written = 0;
    if (GetConsoleMode(out, &written)) // a console takes UTF-16 as it is
        return WriteConsoleW(out, text.utf16(), static_cast<DWORD>(text.size()), &written, nullptr);
    const QByteArray bytes = text.toUtf8();
    return WriteFile(out, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
#endif

#ifdef _WIN32
// A fixed-pitch family that is there: Windows' own, else the first other.
QString FixedFamily() {
    const QString own = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    if (QFontDatabase::hasFamily(own))
        return own;
    for (const QString& family : QFontDatabase::families())
        if (QFontDatabase::isFixedPitch(family))
            return family;
    return own;
}
#endif

// Prints what the command line answered and returns the status to end with.
// Without a caller to read it on Windows, a message box shows it in a
// fixed-width font, so that the columns of the usage stay in line.
int Answer(const TCommandLine& command, [[maybe_unused]] TDialogs& dialogs) {
    const bool error = *command.Exit != 0;
#ifdef _WIN32
    if (!WriteToCaller(error, command.Text))
        dialogs.Message(nullptr, error ? QMessageBox::Warning : QMessageBox::Information,
                        QCoreApplication::applicationName(),
                        QStringLiteral("<pre style=\"font-family: '%1'\">%2</pre>")
                            .arg(FixedFamily(), command.Text.trimmed().toHtmlEscaped()),
                        QMessageBox::Ok);
#else
    std::fputs(command.Text.toLocal8Bit().constData(), error ? stderr : stdout);
#endif
    return *command.Exit;
}

} // namespace

int main(int argc, char** argv) {
    TQtDialogs dialogs;
#ifndef _WIN32
    // --help and --version need no display, which the application object
    // does: they are answered before it exists.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const TCommandLine early = ParseCommandLine(arguments);
    if (early.Exit == 0)
        return Answer(early, dialogs);
    // A sheet is drawn off the screen, so that it needs no display either, nor
    // does the error of a --sheet command line; Windows draws without one anyway.
    // Without any display, a wrong command line is answered the same way rather
    // than ending in Qt's abort (-platform, Qt's own option, still wins).
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (early.Sheet || (early.Exit && noDisplay) ||
        !arguments.filter(QRegularExpression(QStringLiteral("^--sheet"))).isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TApplication app(argc, argv, dialogs);
    // The application object has taken out the options that are Qt's own
    // (-platform, -style...), which the first reading did not know.
    const TCommandLine command = ParseCommandLine(app.arguments());
    if (command.Exit)
        return Answer(command, dialogs);
    if (command.Sheet) {
        QString error;
        const int status =
            WriteSheetFile(command.SheetTactic, command.SheetOut, command.Force, error);
        return status == 0
                   ? 0
                   : Answer({{}, status, QStringLiteral("pitchwright: ") + error + '\n'}, dialogs);
    }
    try {
        TMainForm form(dialogs);
        // The user chose not to go on without the game.
        if (form.StartupDeclined())
            return -1;
        form.show();
        // Files named on the command line load as if chosen in the open dialog.
        form.OpenArguments(command.Files);
        return app.exec();
    } catch (const std::exception& error) {
        // Start-up could not finish: say why, then end.
        app.ShowException(QString::fromUtf8(error.what()));
        return 1;
    }
}
