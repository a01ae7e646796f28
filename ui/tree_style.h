// The tree-view styles of a Windows tree control: connecting lines, expand
// buttons, and both at the root level too. Qt's styles draw neither lines
// nor button boxes, so a small style draws them for the trees that ask.
#pragma once

class QTreeView;

namespace ui {

inline constexpr unsigned kTreeHasLines = 1u << 0;     // dotted lines between items
inline constexpr unsigned kTreeHasButtons = 1u << 1;   // "+"/"-" boxes on items with children
inline constexpr unsigned kTreeLinesAtRoot = 1u << 2;  // lines and buttons for top-level items

// Gives `tree` these styles (replacing any given before) and repaints it.
void SetTreeStyle(QTreeView& tree, unsigned styles);
// The styles SetTreeStyle gave `tree`; 0 for a tree it never styled.
unsigned TreeStyleOf(const QTreeView& tree);

}  // namespace ui
