#pragma once

#include <QString>

// Copies a file byte for byte to `target`, replacing a file of that name.
// The copy is written aside and renamed into place only when complete, so a
// failure never leaves a partial target and keeps an older one as it was.
// False when either cannot be done, or when both names are the same file.
bool CopyFileReplacing(const QString& source, const QString& target);
