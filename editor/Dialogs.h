#pragma once

#include <QColor>
#include <QList>
#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

// Every dialog and message box of the window goes through this seam, so that
// tests answer them from a script instead of a user.
class TDialogs {
public:
    virtual ~TDialogs() = default;

    // A modal message box; returns the button pressed (the escape button when closed).
    virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& caption, const QString& text,
                                                QMessageBox::StandardButtons buttons) = 0;
    // The open dialog for one existing file; empty when cancelled.
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& folder,
                                                const QString& filter,
                                                const QString& defaultSuffix) = 0;
    // The save dialog for a new file, starting at `startPath` (a folder and a
    // file name); `filters` are separated by ";;". It does not ask about an
    // existing file: the caller does. Empty when cancelled.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& startPath,
                                                const QString& filters,
                                                const QString& defaultSuffix) = 0;
    // The colour dialog, titled, preset to a colour; empty when cancelled.
    virtual std::optional<QColor> Color(QWidget* parent, const QColor& initial,
                                        const QString& title) = 0;
};

// The user's own folder, where file dialogs start unless told otherwise:
// the home folder, on Windows the Documents folder.
QString UserFolder();

// Qt's own dialogs (the platform's native ones where it has them). A message
// box shows each line feed + carriage return pair of its text as one line
// break, and one without a shown parent stands in the middle of the screen.
// The open and save dialogs start in the user's own folder (Windows:
// Documents) when the folder asked for does not exist.
class TQtDialogs final : public TDialogs {
public:
    QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& caption, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& folder,
                                        const QString& filter,
                                        const QString& defaultSuffix) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& startPath,
                                        const QString& filters,
                                        const QString& defaultSuffix) override;
    std::optional<QColor> Color(QWidget* parent, const QColor& initial,
                                const QString& title) override;
};
