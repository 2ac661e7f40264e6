#pragma once

// The window's dialogs answered by the tests.
#include "editor/Dialogs.h"

#include <deque>

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

inline void TScriptedDialogs::clearLog() {
    Messages.clear();
    OpenRequests.clear();
    ColorRequests.clear();
}

inline QMessageBox::StandardButton TScriptedDialogs::Message(QWidget*, QMessageBox::Icon icon,
                                                             const QString& caption,
                                                             const QString& text,
                                                             QMessageBox::StandardButtons buttons) {
    Messages.append({icon, caption, text, buttons});
    if (!Answers.empty()) {
        const QMessageBox::StandardButton answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    for (QMessageBox::StandardButton escape :
         {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
        if (buttons.testFlag(escape))
            return escape;
    return QMessageBox::NoButton;
}

inline std::optional<QString> TScriptedDialogs::OpenFileName(QWidget*, const QString& folder,
                                                             const QString& filter,
                                                             const QString& defaultSuffix) {
    OpenRequests.append({folder, filter, defaultSuffix});
    if (FileNames.empty())
        return std::nullopt;
    const TFileAnswer answer = FileNames.front();
    FileNames.pop_front();
    if (answer.Cancel)
        return std::nullopt;
    return answer.Path;
}

inline std::optional<QColor> TScriptedDialogs::Color(QWidget*, const QColor& initial,
                                                     const QString& title) {
    ColorRequests.append({initial, title});
    if (Colors.empty())
        return std::nullopt;
    std::optional<QColor> answer = Colors.front();
    Colors.pop_front();
    return answer;
}
