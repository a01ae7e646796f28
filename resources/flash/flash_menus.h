// Menu bar, toolbar, accelerators and command strings (resource 128) of the
// two updater builds.
#pragma once

#include <span>

namespace resources {

inline constexpr unsigned kMenuPlain = 0;
inline constexpr unsigned kMenuSeparator = 1u << 0;
inline constexpr unsigned kMenuRecentFiles = 1u << 1;  // the recent-file list goes here
inline constexpr unsigned kMenuCheckable = 1u << 2;
inline constexpr unsigned kMenuAlwaysDisabled = 1u << 3;  // a command with no handler

struct MenuItemTemplate {
  const char* menu;  // the popup it belongs to, e.g. "&File"
  const char* text;  // "\t" separates the accelerator text
  int command;
  unsigned flags;
};

struct ToolbarButtonTemplate {
  int command;
  int image;  // index into the toolbar images
  bool alwaysDisabled;
};

struct AcceleratorTemplate {
  const char* keys;  // portable key sequence text, e.g. "Ctrl+O"
  int command;
};

struct CommandString {
  int command;
  const char* text;  // prompt "\n" tooltip
};

struct FlashMenus {
  std::span<const MenuItemTemplate> menuBar;
  std::span<const ToolbarButtonTemplate> toolbar;
  std::span<const AcceleratorTemplate> accelerators;
  std::span<const CommandString> strings;
};

const FlashMenus& AspiFlashMenus();
const FlashMenus& SptiFlashMenus();

// The tooltip of a command: the text after the first "\n" of its string, or
// empty when the command has no string.
const char* CommandTooltip(const FlashMenus& menus, int command);

}  // namespace resources
