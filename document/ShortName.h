#pragma once

#include <QString>

// How a path separates its folders: Windows accepts both slashes, Unix only '/'.
enum class TPathStyle { Unix, Windows };

#ifdef _WIN32
inline constexpr TPathStyle NativePathStyle = TPathStyle::Windows;
#else
inline constexpr TPathStyle NativePathStyle = TPathStyle::Unix;
#endif

// The name a tactic is shown and reserve-copied under: the part after the last
// separator without its last four characters (".tct"), upper-cased by the
// locale; empty when that part has fewer than four characters.
QString ShortName(const QString& path, TPathStyle style = NativePathStyle);
// The same part of the path in its own case, as the window shows it.
QString DisplayName(const QString& path, TPathStyle style = NativePathStyle);
