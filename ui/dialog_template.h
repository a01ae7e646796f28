// Declarative dialog templates: a dialog's caption, font and size and its
// controls, every position and size in dialog units.
#pragma once

#include <span>

namespace ui {

enum class ControlKind {
  kStatic,
  kIcon,
  kEdit,
  kButton,
  kTree,
  kCombo,
  kProgress,
  kGroup,
  kRadio,
  kCheck
};

// Control style flags (a subset of the Windows styles the templates use).
inline constexpr unsigned kStyleNone = 0;
inline constexpr unsigned kStyleMultiLine = 1u << 0;
inline constexpr unsigned kStyleReadOnly = 1u << 1;
inline constexpr unsigned kStyleVerticalScroll = 1u << 2;
inline constexpr unsigned kStyleSunken = 1u << 3;
inline constexpr unsigned kStyleDefaultButton = 1u << 4;
inline constexpr unsigned kStyleBorder = 1u << 5;
inline constexpr unsigned kStyleCentered = 1u << 6;
inline constexpr unsigned kStyleEditable = 1u << 7;  // combo box with an edit field
inline constexpr unsigned kStyleDisabled = 1u << 8;  // WS_DISABLED: created disabled

// Dialog style flags.
inline constexpr unsigned kDialogSystemMenu = 1u << 0;

// Control ids of the stock buttons.
inline constexpr int kIdControlOk = 1;
inline constexpr int kIdControlCancel = 2;
inline constexpr int kIdControlStatic = -1;

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;  // UTF-8; "\r\n" breaks a static text's lines
  int x;
  int y;
  int width;
  int height;
  unsigned style;
};

struct DialogTemplate {
  int id;
  const char* caption;     // UTF-8
  const char* fontFamily;  // UTF-8; a missing family falls back to the system's choice
  int pointSize;
  int width;
  int height;
  unsigned style;
  std::span<const ControlTemplate> controls;
};

}  // namespace ui
