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

// $XDG_CONFIG_HOME, or ~/.config when it is unset or empty.
QString DesktopConfigHome();

// Writes <dataHome>/applications/flashkit-document.desktop and, when neither
// <configHome>/mimeapps.list nor <dataHome>/applications/mimeapps.list names a
// default for HEX files yet, makes it their default in the latter. False when
// a file cannot be read or written.
bool RegisterDocumentType(const QString& dataHome, const QString& configHome,
                          const QString& executablePath);

}  // namespace flash
