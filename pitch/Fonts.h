#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace pitch {

// The game's face, which the window and the pitch view are drawn in.
inline QString WindowFontFace() {
    return QStringLiteral("Comic Sans MS");
}

// A font family with the face that stands in for it where the game's own
// "Comic Sans MS" is missing: its look-alike Comic Neue.
inline QStringList WithFallbacks(const QString& family) {
    return {family, QStringLiteral("Comic Neue")};
}

// The letters Comic Neue lacks (Cyrillic) come from a narrow face, so that
// the Russian texts fit controls sized for the game's font. Qt's font
// substitutions are process-wide; setting them again changes nothing.
inline void InstallFontFallbacks() {
    QFont::insertSubstitutions(QStringLiteral("Comic Neue"),
                               {QStringLiteral("Liberation Sans Narrow"),
                                QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("DejaVu Sans")});
}

} // namespace pitch
