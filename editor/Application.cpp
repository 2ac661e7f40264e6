#include "Application.h"

#include "Dialogs.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv, TDialogs& dialogs)
    : QApplication(argc, argv)
    , Dialogs(dialogs) {
    setApplicationName(QStringLiteral("Pitchwright"));
    setApplicationDisplayName(QStringLiteral("Pitchwright"));
    setApplicationVersion(QStringLiteral(PW_VERSION));
    setDesktopFileName(QStringLiteral("io.github.pitchwright.Pitchwright"));
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
