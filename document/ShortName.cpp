#include "document/ShortName.h"

#include <QLocale>

QString DisplayName(const QString& path, TPathStyle style) {
    qsizetype separator = path.lastIndexOf(QLatin1Char('/'));
    if (style == TPathStyle::Windows)
        separator = std::max(separator, path.lastIndexOf(QLatin1Char('\\')));
    // With L the length and P the 1-based position of the separator (0 for none),
    // the name is the L - P - 4 characters after it.
    const qsizetype start = separator + 1;
    const qsizetype count = path.size() - start - 4;
    if (count < 0)
        return QString();
    return path.mid(start, count);
}

QString ShortName(const QString& path, TPathStyle style) {
    return QLocale().toUpper(DisplayName(path, style));
}
