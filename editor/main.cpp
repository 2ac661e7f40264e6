#include "editor/Application.h"
#include "editor/CommandLine.h"
#include "editor/Dialogs.h"
#include "editor/Mainunit.h"

#include <exception>

int main(int argc, char** argv) {
    TQtDialogs dialogs;
    TApplication app(argc, argv, dialogs);
    const QStringList files = ParseCommandLine(app);
    try {
        TMainForm form(dialogs);
        // The user chose not to go on without the game.
        if (form.StartupDeclined())
            return -1;
        form.show();
        // Files named on the command line load as if chosen in the open dialog.
        form.OpenArguments(files);
        return app.exec();
    } catch (const std::exception& error) {
        // Start-up could not finish: say why, then end.
        app.ShowException(QString::fromUtf8(error.what()));
        return 1;
    }
}
