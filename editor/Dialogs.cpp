#include "editor/Dialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

QString UserFolder() {
#ifdef _WIN32
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#else
    return QDir::homePath();
#endif
}

QMessageBox::StandardButton TQtDialogs::Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& caption, const QString& text,
                                                QMessageBox::StandardButtons buttons) {
    // The texts break their lines with line feed + carriage return pairs,
    // which Qt would show as two breaks each.
    QString shown = text;
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    // Placed against a window not shown yet, the box would sit at the top
    // left; without a parent Qt centres it on the screen.
    QMessageBox box(icon, caption, shown, buttons,
                    parent && parent->isVisible() ? parent : nullptr);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> TQtDialogs::OpenFileName(QWidget* parent, const QString& folder,
                                                const QString& filter,
                                                const QString& defaultSuffix) {
    // A folder that does not exist would be taken apart into a folder and a
    // file name typed in advance: "CM 00-01 not found" + "/tactics" without the game.
    const QString start = QFileInfo(folder).isDir() ? folder : UserFolder();
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> TQtDialogs::SaveFileName(QWidget* parent, const QString& startPath,
                                                const QString& filters,
                                                const QString& defaultSuffix) {
    const QFileInfo start(startPath);
    QFileDialog dialog(parent, QString(),
                       start.absoluteDir().exists() ? start.absolutePath() : UserFolder(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks before replacing a file, and only once.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(start.fileName());
    // A name typed without an extension takes the one of the chosen filter.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            const qsizetype star = filter.indexOf(QStringLiteral("*."));
            if (star >= 0)
                dialog.setDefaultSuffix(
                    filter.mid(star + 2).section(QRegularExpression(QStringLiteral("[ )]")), 0, 0));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> TQtDialogs::Color(QWidget* parent, const QColor& initial,
                                        const QString& title) {
    const QColor color = QColorDialog::getColor(initial, parent, title);
    if (!color.isValid())
        return std::nullopt;
    return color;
}
