#include "ReserveCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool CopyFileReplacing(const QString& source, const QString& target) {
    QFile in(source);
    // A directory (or anything else that is no regular file) is never
    // replaced, and a file is never its own copy (names that differ only in
    // case on Windows, say).
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir() || targetInfo == QFileInfo(source) || !in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0) {
            out.cancelWriting();
            break;
        }
        if (got == 0)
            break;
        if (out.write(buffer, got) != got) {
            out.cancelWriting();
            break;
        }
    }
    return out.commit();
}
