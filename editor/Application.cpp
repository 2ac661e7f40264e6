#include "Application.h"

#include "Artwork.h"
#include "Dialogs.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv, TDialogs& dialogs)
    : QApplication(argc, argv)
    , Dialogs(dialogs) {
    // The application's title. It is not set as the display name as well,
    // which Qt would append to the window's title on some desktops.
    setApplicationName(QStringLiteral("Pitchwright"));
    setApplicationVersion(QStringLiteral(PW_VERSION));
    setDesktopFileName(QStringLiteral("io.github.pitchwright.Pitchwright"));
    setWindowIcon(QIcon(artwork::Football(64)));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error"));
    }
    return false;
}

void TApplication::ShowException(const QString& message) {
    Dialogs.Message(activeWindow(), QMessageBox::Critical, applicationDisplayName(), message,
                    QMessageBox::Ok);
}
