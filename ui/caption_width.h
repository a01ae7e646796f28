// Window widths that leave room for the whole caption in the title bar: a
// window manager shortens a caption that does not fit ("Syste...mation").
#pragma once

#include <QFont>
#include <QString>

class QMessageBox;

namespace ui {

// The font title bars are drawn in, as far as Qt knows it (bold).
QFont TitleBarFont();

// The narrowest window whose title bar shows `caption` whole in `titleFont`,
// with room for the window menu icon and three title-bar buttons.
int CaptionFitWidth(const QString& caption, const QFont& titleFont);

// Widens a message box to at least CaptionFitWidth of its caption. Message
// boxes size themselves to their text and buttons and ignore a minimum
// width, so the width goes in as a spacer across the box's layout.
void FitCaption(QMessageBox& box);

}  // namespace ui
