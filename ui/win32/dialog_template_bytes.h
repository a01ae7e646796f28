// In-memory dialog templates: the DLGTEMPLATEEX bytes that
// CreateDialogIndirectParam and DialogBoxIndirectParam take, built from a
// ui::DialogTemplate with the styles a resource compiler would give it. Plain
// C++ (no <windows.h>), so the bytes are checked on every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/dialog_template.h"

namespace ui::win32 {

// Window, dialog and control styles the templates use (the values of the
// Windows SDK's constants of the same names).
inline constexpr std::uint32_t kWsPopup = 0x80000000u;
inline constexpr std::uint32_t kWsChild = 0x40000000u;
inline constexpr std::uint32_t kWsVisible = 0x10000000u;
inline constexpr std::uint32_t kWsDisabled = 0x08000000u;
inline constexpr std::uint32_t kWsCaption = 0x00C00000u;
inline constexpr std::uint32_t kWsBorder = 0x00800000u;
inline constexpr std::uint32_t kWsVScroll = 0x00200000u;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000u;
inline constexpr std::uint32_t kWsGroup = 0x00020000u;
inline constexpr std::uint32_t kWsTabStop = 0x00010000u;

inline constexpr std::uint32_t kDsSetFont = 0x0040u;
inline constexpr std::uint32_t kDsModalFrame = 0x0080u;
inline constexpr std::uint32_t kDsControl = 0x0400u;

inline constexpr std::uint32_t kBsPushButton = 0x0000u;
inline constexpr std::uint32_t kBsDefPushButton = 0x0001u;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x0003u;
inline constexpr std::uint32_t kBsGroupBox = 0x0007u;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x0009u;
inline constexpr std::uint32_t kBsMultiLine = 0x2000u;

inline constexpr std::uint32_t kEsLeft = 0x0000u;
inline constexpr std::uint32_t kEsMultiLine = 0x0004u;
inline constexpr std::uint32_t kEsAutoVScroll = 0x0040u;
inline constexpr std::uint32_t kEsAutoHScroll = 0x0080u;
inline constexpr std::uint32_t kEsReadOnly = 0x0800u;

inline constexpr std::uint32_t kSsLeft = 0x0000u;
inline constexpr std::uint32_t kSsCenter = 0x0001u;
inline constexpr std::uint32_t kSsIcon = 0x0003u;
inline constexpr std::uint32_t kSsSunken = 0x1000u;

inline constexpr std::uint32_t kCbsDropDown = 0x0002u;
inline constexpr std::uint32_t kCbsDropDownList = 0x0003u;
inline constexpr std::uint32_t kCbsAutoHScroll = 0x0040u;

// Predefined window classes, as the atoms a template names them by.
inline constexpr std::uint16_t kAtomButton = 0x0080;
inline constexpr std::uint16_t kAtomEdit = 0x0081;
inline constexpr std::uint16_t kAtomStatic = 0x0082;
inline constexpr std::uint16_t kAtomComboBox = 0x0085;
// Common-control classes go by name.
inline constexpr char kTreeViewClass[] = "SysTreeView32";
inline constexpr char kProgressClass[] = "msctls_progress32";

// The header fields of DLGTEMPLATEEX and DLGITEMTEMPLATEEX.
inline constexpr std::uint16_t kDialogTemplateVersion = 1;
inline constexpr std::uint16_t kDialogTemplateSignature = 0xFFFF;
inline constexpr std::uint16_t kOrdinalMarker = 0xFFFF;  // an atom or ordinal follows
inline constexpr std::uint16_t kFontWeightNormal = 400;  // FW_NORMAL
inline constexpr std::uint8_t kDefaultCharset = 1;       // DEFAULT_CHARSET: by face name

// Fixed part of DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style,
// cDlgItems, x, y, cx, cy; then menu, class, title and the font.
struct DialogHeaderLayout {
  static constexpr std::size_t kVersion = 0;
  static constexpr std::size_t kSignature = 2;
  static constexpr std::size_t kHelpId = 4;
  static constexpr std::size_t kExStyle = 8;
  static constexpr std::size_t kStyle = 12;
  static constexpr std::size_t kItemCount = 16;
  static constexpr std::size_t kX = 18;
  static constexpr std::size_t kY = 20;
  static constexpr std::size_t kWidth = 22;
  static constexpr std::size_t kHeight = 24;
  static constexpr std::size_t kSize = 26;
};

// Fixed part of DLGITEMTEMPLATEEX: helpID, exStyle, style, x, y, cx, cy, id;
// then the class, the title and the size of the creation data.
struct ItemHeaderLayout {
  static constexpr std::size_t kHelpId = 0;
  static constexpr std::size_t kExStyle = 4;
  static constexpr std::size_t kStyle = 8;
  static constexpr std::size_t kX = 12;
  static constexpr std::size_t kY = 14;
  static constexpr std::size_t kWidth = 16;
  static constexpr std::size_t kHeight = 18;
  static constexpr std::size_t kId = 20;
  static constexpr std::size_t kSize = 24;
};

// Each item starts on a DWORD boundary of the template.
inline constexpr std::size_t kItemAlignment = 4;
// Larger templates are refused (ours are a few hundred bytes).
inline constexpr std::size_t kMaxTemplateBytes = 64 * 1024;

enum class DialogForm {
  kPopup,  // a dialog window of its own: caption, modal frame, system menu if asked
  kChild,  // a form inside another window (DS_CONTROL | WS_CHILD), no caption
};

// The window style of the dialog itself.
std::uint32_t DialogStyle(const DialogTemplate& dialog, DialogForm form);

// The window style of a control at `index` of `dialog` (WS_GROUP depends on its
// neighbours, as radio-button groups do).
std::uint32_t ControlStyle(const DialogTemplate& dialog, std::size_t index);

// The whole template; empty when it cannot be expressed (a position beyond a
// 16-bit field, too many items, more than kMaxTemplateBytes).
std::vector<std::uint8_t> BuildDialogTemplateBytes(const DialogTemplate& dialog, DialogForm form);

// UTF-8 to UTF-16 (a malformed sequence becomes U+FFFD).
std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace ui::win32
