// flashaspi's document type with the desktop: a desktop entry for
// "FLASHKIT.Document" and, where HEX files have no default application yet,
// the association of HEX files with it.
#pragma once

#include <QString>

namespace flash {

inline constexpr char kDocumentDesktopFile[] = "flashkit-document.desktop";
inline constexpr char kHexMimeType[] = "text/x-hex";

// $XDG_DATA_HOME, or ~/.local/share when it is unset or empty.
QString DesktopDataHome();

// Writes <dataHome>/applications/flashkit-document.desktop and, when
// <dataHome>/applications/mimeapps.list names no other default for HEX files,
// makes it their default. False when a file cannot be written.
bool RegisterDocumentType(const QString& dataHome, const QString& executablePath);

}  // namespace flash
