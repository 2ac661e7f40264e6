#pragma once

#include <QApplication>

class TDialogs;

// The application object: its title is the program's, and an exception that
// escapes an event handler is shown in a message box captioned with that
// title instead of ending the program; the handler's work stops where it was.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv, TDialogs& dialogs);

    bool notify(QObject* receiver, QEvent* event) override;
    // The message box for an exception's text.
    void ShowException(const QString& message);

private:
    TDialogs& Dialogs;
};
