#pragma once

#include <QColor>
#include <QList>
#include <QMessageBox>
#include <QString>

#include <deque>
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
    // The colour dialog, titled, preset to a colour; empty when cancelled.
    virtual std::optional<QColor> Color(QWidget* parent, const QColor& initial,
                                        const QString& title) = 0;
};

// Qt's own dialogs (the platform's native ones where it has them). A message
// box shows each line feed + carriage return pair of its text as one line
// break, and one without a shown parent stands in the middle of the screen.
// The open dialog starts in the user's own folder (Windows: Documents) when
// the folder asked for does not exist.
class TQtDialogs final : public TDialogs {
public:
    QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& caption, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& folder,
                                        const QString& filter,
                                        const QString& defaultSuffix) override;
    std::optional<QColor> Color(QWidget* parent, const QColor& initial,
                                const QString& title) override;
};

// Answers from a script, and a log of what was asked. A message box without
// a scripted answer gets its escape answer (Cancel, No or OK), a dialog without
// one is cancelled.
class TScriptedDialogs final : public TDialogs {
public:
    struct TShownMessage {
        QMessageBox::Icon Icon;
        QString Caption;
        QString Text;
        QMessageBox::StandardButtons Buttons;
    };
    struct TOpenRequest {
        QString Folder;
        QString Filter;
        QString DefaultSuffix;
    };
    struct TColorRequest {
        QColor Initial;
        QString Title;
    };

    void setNextAnswer(QMessageBox::StandardButton answer) { Answers.push_back(answer); }
    void setNextFileName(const QString& path) { FileNames.push_back({false, path}); }
    void setNextFileNameCancel() { FileNames.push_back({true, QString()}); }
    void setNextColor(const QColor& color) { Colors.push_back(color); }
    void setNextColorCancel() { Colors.push_back(std::nullopt); }

    const QList<TShownMessage>& messages() const { return Messages; }
    const QList<TOpenRequest>& openRequests() const { return OpenRequests; }
    const QList<TColorRequest>& colorRequests() const { return ColorRequests; }
    void clearLog();

    QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& caption, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& folder,
                                        const QString& filter,
                                        const QString& defaultSuffix) override;
    std::optional<QColor> Color(QWidget* parent, const QColor& initial,
                                const QString& title) override;

private:
    std::deque<QMessageBox::StandardButton> Answers;
    struct TFileAnswer {
        bool Cancel;
        QString Path;
    };
    std::deque<TFileAnswer> FileNames;
    std::deque<std::optional<QColor>> Colors;
    QList<TShownMessage> Messages;
    QList<TOpenRequest> OpenRequests;
    QList<TColorRequest> ColorRequests;
};
