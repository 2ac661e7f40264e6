#include "editor/Application.h"

#include "editor/Dialogs.h"

#include <QDir>
#include <QSettings>

#include <exception>

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>

namespace {

// Where Qt keeps its file and colour dialogs' history on Windows; the colour
// dialog writes it from a static destructor after main() has returned.
constexpr wchar_t QtSettingsKey[] = L"Software\\QtProject";
bool QtSettingsKeyExisted = true;

void RemoveNewQtSettingsKey() {
    if (!QtSettingsKeyExisted)
        RegDeleteTreeW(HKEY_CURRENT_USER, QtSettingsKey);
}

} // namespace
#endif

TApplication::TApplication(int& argc, char** argv, TDialogs& dialogs)
    : QApplication(argc, argv)
    , Dialogs(dialogs) {
    // The application's title. It is not set as the display name as well,
    // which Qt would append to the window's title on some desktops.
    setApplicationName(QStringLiteral("Pitchwright"));
    setApplicationVersion(QStringLiteral(PW_VERSION));
    setDesktopFileName(QStringLiteral("io.github.pitchwright.Pitchwright"));
    // The program's own icon, as the menu and the installer show it, in every
    // size the build made of it.
    QIcon icon;
    for (const QFileInfo& png : QDir(QStringLiteral(":/icon")).entryInfoList(QDir::Files))
        icon.addFile(png.filePath());
    setWindowIcon(icon);
    // The program stores no settings, but Qt's dialogs save their history
    // among the user's settings. Under a path that can never be created, that
    // write finds nowhere to go; in the registry, a key that was not there
    // before is removed again once everything else has ended (handlers run in
    // the reverse order of their registration, so this one runs last).
#ifdef _WIN32
    HKEY key = nullptr;
    QtSettingsKeyExisted =
        RegOpenKeyExW(HKEY_CURRENT_USER, QtSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key != nullptr)
        RegCloseKey(key);
    std::atexit(RemoveNewQtSettingsKey);
#else
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
