#include "Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>

QMessageBox::StandardButton TQtDialogs::Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& caption, const QString& text,
                                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> TQtDialogs::OpenFileName(QWidget* parent, const QString& folder,
                                                const QString& filter,
                                                const QString& defaultSuffix) {
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> TQtDialogs::Color(QWidget* parent, const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

void TScriptedDialogs::clearLog() {
    Messages.clear();
    OpenRequests.clear();
    ColorRequests.clear();
}

QMessageBox::StandardButton TScriptedDialogs::Message(QWidget*, QMessageBox::Icon icon,
                                                      const QString& caption, const QString& text,
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

std::optional<QString> TScriptedDialogs::OpenFileName(QWidget*, const QString& folder,
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

std::optional<QColor> TScriptedDialogs::Color(QWidget*, const QColor& initial) {
    ColorRequests.append({initial});
    if (Colors.empty())
        return std::nullopt;
    std::optional<QColor> answer = Colors.front();
    Colors.pop_front();
    return answer;
}
