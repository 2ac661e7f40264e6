#include "Application.h"

#include "Artwork.h"
#include "Dialogs.h"

#include <QSettings>

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
#ifndef _WIN32
    // The program stores no settings, but Qt's file dialog saves its history
    // under the user's settings folder when it closes. Under a path that can
    // never be created, that write finds nowhere to go.
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null/pitchwright"));
#endif
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
