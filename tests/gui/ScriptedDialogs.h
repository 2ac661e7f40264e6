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
    void setNextFileName(const QString& path) { FileNames.push_back(path); }
    void setNextFileNameCancel() { FileNames.push_back(std::nullopt); }
    void setNextColor(const QColor& color) { Colors.push_back(color); }
    void setNextColorCancel() { Colors.push_back(std::nullopt); }

    const QList<TShownMessage>& messages() const { return Messages; }
    const QList<TOpenRequest>& openRequests() const { return OpenRequests; }
    const QList<TOpenRequest>& saveRequests() const { return SaveRequests; }
    const QList<TColorRequest>& colorRequests() const { return ColorRequests; }
    void clearLog() {
        Messages.clear(), OpenRequests.clear(), SaveRequests.clear(), ColorRequests.clear();
    }

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon icon, const QString& caption,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons) override {
        Messages.append({icon, caption, text, buttons});
        if (!Answers.empty())
            return Next(Answers);
        for (QMessageBox::StandardButton escape :
             {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
            if (buttons.testFlag(escape))
                return escape;
        return QMessageBox::NoButton;
    }
    std::optional<QString> OpenFileName(QWidget*, const QString& folder, const QString& filter,
                                        const QString& defaultSuffix) override {
        OpenRequests.append({folder, filter, defaultSuffix});
        return FileNames.empty() ? std::nullopt : Next(FileNames);
    }
    // Takes its answer from the same script as the open dialog.
    std::optional<QString> SaveFileName(QWidget*, const QString& startPath, const QString& filters,
                                        const QString& defaultSuffix) override {
        SaveRequests.append({startPath, filters, defaultSuffix});
        return FileNames.empty() ? std::nullopt : Next(FileNames);
    }
    std::optional<QColor> Color(QWidget*, const QColor& initial, const QString& title) override {
        ColorRequests.append({initial, title});
        return Colors.empty() ? std::nullopt : Next(Colors);
    }

private:
    template <typename T>
    static T Next(std::deque<T>& answers) {
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<QMessageBox::StandardButton> Answers;
    std::deque<std::optional<QString>> FileNames;
    std::deque<std::optional<QColor>> Colors;
    QList<TShownMessage> Messages;
    QList<TOpenRequest> OpenRequests;
    QList<TOpenRequest> SaveRequests; // Folder: the start path, a file name in a folder
    QList<TColorRequest> ColorRequests;
};
