// Controls from templates sized for the original fonts, fitted to what they
// must show in the fonts actually used.
#pragma once

class QComboBox;
class QPlainTextEdit;

namespace ui {

// Grows a multi-line edit downwards until `lines` lines of its font show whole.
void ShowLines(QPlainTextEdit& edit, int lines);

// Makes a combo box's dropped list wide enough for its longest entry, so no
// entry is cut; the box itself keeps its width. Call it after filling the list.
void ShowWholeEntries(QComboBox& combo);

}  // namespace ui
