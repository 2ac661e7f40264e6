#include "editor/FileErrors.h"

#include <QDir>

namespace {

// The system's reason as a clause: "no space left on device".
QString SystemReason(int system) {
    QString text = QString::fromStdString(CmSystemErrorText(system));
    if (text.size() > 1 && text[1].isLower())
        text[0] = text[0].toLower();
    return text;
}

QString WithReason(const QString& what, int system) {
    return system == 0 ? what + QLatin1Char('.')
                       : what + QStringLiteral(": ") + SystemReason(system) + QLatin1Char('.');
}

// Why a file could not be opened or read as a tactic.
QString OpenReason(TCmFailure failure) {
    switch (failure.Error) {
    case TCmError::Locked:
        return QStringLiteral("The file is held by another program.");
    case TCmError::NotAFile:
        return QStringLiteral("It is not a regular file but a folder, a device or a pipe.");
    case TCmError::TooShort:
        return QStringLiteral("The file is too short to be a tactic file.");
    case TCmError::ReadFailed:
        return WithReason(QStringLiteral("The file could not be read"), failure.System);
    case TCmError::Resized:
        return QStringLiteral("Its size changed since it was loaded, so it no longer holds the "
                              "tactic that was loaded.");
    case TCmError::Replaced:
        return QStringLiteral("The name now leads to another file than the one that was loaded.");
    case TCmError::Moved:
        return QStringLiteral("The file was renamed, replaced or deleted while the save waited, so "
                              "the name no longer leads to the tactic that was loaded.");
    case TCmError::ChangedAfterFailure:
        return QStringLiteral("Another program changed the file after a save into it failed; the "
                              "reserve copy from before that save is kept, and neither is "
                              "overwritten.");
    default:
        return WithReason(QStringLiteral("The file cannot be opened"), failure.System);
    }
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString LoadFailureText(const QString& path, TCmFailure failure) {
    return QStringLiteral("Could not load tactic %1\n%2").arg(Native(path), OpenReason(failure));
}

QString SaveFailureText(const QString& path, const QString& reserve, TCmFailure failure) {
    switch (failure.Error) {
    case TCmError::ReserveFailed:
        return QStringLiteral("Could not make the reserve copy %1\n%2\nThe tactic was not saved; "
                              "its file and any earlier reserve copy are as they were.")
            .arg(Native(reserve),
                 WithReason(QStringLiteral("The copy could not be written"), failure.System));
    case TCmError::ReserveIsTactic:
        return QStringLiteral("Could not make the reserve copy %1\nThat name is the tactic file "
                              "itself.\nThe tactic was not saved.")
            .arg(Native(reserve));
    case TCmError::ReserveUnconfirmed:
        return QStringLiteral("Could not make the reserve copy %1\n%2\nThe tactic was not saved; "
                              "its file is as it was, and the reserve copy was replaced by a "
                              "copy of it.")
            .arg(Native(reserve),
                 WithReason(QStringLiteral("The copy was written, but the disk did not confirm "
                                           "its name"),
                            failure.System));
    case TCmError::WriteFailed:
    case TCmError::FlushFailed: {
        const QString what = failure.Error == TCmError::WriteFailed
                                 ? QStringLiteral("The file could not be written")
                                 : QStringLiteral("The disk did not confirm the write");
        const QString after =
            failure.RolledBack
                ? QStringLiteral("The tactic was not saved; the file was put back as it was, and "
                                 "the reserve copy %1 holds the same tactic.")
                : QStringLiteral("Putting the file back failed too, so it may be damaged: "
                                 "restore it from the reserve copy %1, which holds the previous "
                                 "tactic.");
        return QStringLiteral("Could not save tactic %1\n%2\n%3")
            .arg(Native(path), WithReason(what, failure.System), after.arg(Native(reserve)));
    }
    default:
        return QStringLiteral("Could not save tactic %1\n%2\nNothing was written.")
            .arg(Native(path), OpenReason(failure));
    }
}

QString ExportFailureText(const QString& path, TCmFailure failure) {
    QString reason;
    switch (failure.Error) {
    case TCmError::TargetExists:
        reason = QStringLiteral("A file of that name exists.");
        break;
    case TCmError::TargetIsFolder:
        reason = QStringLiteral("That name is a folder's.");
        break;
    case TCmError::NotAFile:
        reason = OpenReason(failure);
        break;
    case TCmError::FolderNotWritable:
        reason = WithReason(QStringLiteral("The folder does not take new files"), failure.System);
        break;
    case TCmError::DiskFull:
        reason = WithReason(QStringLiteral("The disk is full"), failure.System);
        break;
    case TCmError::FlushFailed:
        reason = WithReason(QStringLiteral("The disk did not confirm the write"), failure.System);
        break;
    case TCmError::NameUnconfirmed:
        return QStringLiteral("Saved %1, but not for certain\n%2\nThe file is in place; should "
                              "the computer stop now, it may be missing afterwards.")
            .arg(Native(path),
                 WithReason(QStringLiteral("The disk did not confirm its name"), failure.System));
    default:
        reason = WithReason(QStringLiteral("The file could not be written"), failure.System);
        break;
    }
    return QStringLiteral("Could not save %1\n%2\nNothing was written.").arg(Native(path), reason);
}

QString CopyFailureText(const QString& path, const QString& reserve, const QString& loaded,
                        TCmFailure failure) {
    const QString head = QStringLiteral("Could not save a copy as %1\n").arg(Native(path));
    switch (failure.Error) {
    case TCmError::CopyIsTactic:
        return head + QStringLiteral("That name, or its reserve copy %1, is the loaded tactic file "
                                     "%2 itself; Save writes into it.\nNothing was written.")
                          .arg(Native(reserve), Native(loaded));
    case TCmError::ReserveFailed:
    case TCmError::ReserveIsTactic:
    case TCmError::ReserveUnconfirmed:
        return SaveFailureText(path, reserve, failure)
            .replace(QStringLiteral("The tactic was not saved"),
                     QStringLiteral("The copy was not saved"));
    case TCmError::TooShort:
    case TCmError::ReadFailed:
    case TCmError::Resized:
        return head + QStringLiteral(
                          "The loaded tactic file %1 cannot be copied. %2\nNothing was written.")
                          .arg(Native(loaded), OpenReason(failure));
    case TCmError::Locked:
    case TCmError::CannotOpen:
        return head + OpenReason(failure) + QStringLiteral("\nNothing was written.");
    default:
        return ExportFailureText(path, failure);
    }
}
