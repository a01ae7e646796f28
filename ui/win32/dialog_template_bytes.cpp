// DLGTEMPLATEEX bytes from a dialog template: the header, the font, then each
// control as a DWORD-aligned DLGITEMTEMPLATEEX, little-endian throughout.
#include "ui/win32/dialog_template_bytes.h"

#include <cstring>
#include <limits>

namespace ui::win32 {
namespace {

static_assert(DialogHeaderLayout::kHeight + sizeof(std::int16_t) == DialogHeaderLayout::kSize);
static_assert(DialogHeaderLayout::kSize == 26, "DLGTEMPLATEEX's fixed part");
static_assert(ItemHeaderLayout::kId + sizeof(std::uint32_t) == ItemHeaderLayout::kSize);
static_assert(ItemHeaderLayout::kSize == 24, "DLGITEMTEMPLATEEX's fixed part");

// Appends little-endian fields up to kMaxTemplateBytes; past that it refuses
// every write and reports the failure once at the end.
class TemplateWriter {
 public:
  void Put8(std::uint8_t value) {
    if (!Reserve(1)) return;
    bytes_.push_back(value);
  }
  void Put16(std::uint16_t value) {
    if (!Reserve(2)) return;
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void Put32(std::uint32_t value) {
    Put16(static_cast<std::uint16_t>(value & 0xFFFFu));
    Put16(static_cast<std::uint16_t>(value >> 16));
  }
  void PutSigned16(int value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
      failed_ = true;
      return;
    }
    Put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
  }
  // A zero-terminated UTF-16 string.
  void PutString(const char* utf8) {
    for (const char16_t unit : Utf8ToUtf16(utf8 != nullptr ? utf8 : "")) Put16(unit);
    Put16(0);
  }
  void PutOrdinal(std::uint16_t ordinal) {
    Put16(kOrdinalMarker);
    Put16(ordinal);
  }
  void AlignTo(std::size_t alignment) {
    while (!failed_ && bytes_.size() % alignment != 0) Put8(0);
  }
  std::size_t Size() const { return bytes_.size(); }
  void Fail() { failed_ = true; }
  std::vector<std::uint8_t> Take() {
    return failed_ ? std::vector<std::uint8_t>{} : std::move(bytes_);
  }

 private:
  bool Reserve(std::size_t count) {
    if (failed_ || bytes_.size() + count > kMaxTemplateBytes) {
      failed_ = true;
      return false;
    }
    return true;
  }

  std::vector<std::uint8_t> bytes_;
  bool failed_ = false;
};

bool Has(unsigned style, unsigned flag) { return (style & flag) != 0; }

bool HasLineBreak(const char* text) {
  return text != nullptr && std::strchr(text, '\n') != nullptr;
}

std::uint32_t KindStyle(const ControlTemplate& control) {
  const unsigned style = control.style;
  switch (control.kind) {
    case ControlKind::kStatic:
      return (Has(style, kStyleCentered) ? kSsCenter : kSsLeft) |
             (Has(style, kStyleSunken) ? kSsSunken : 0u) | kWsGroup;
    case ControlKind::kIcon:
      return kSsIcon | (Has(style, kStyleSunken) ? kSsSunken : 0u) | kWsGroup;
    case ControlKind::kEdit:
      return kEsLeft |
             (Has(style, kStyleMultiLine) ? kEsMultiLine | kEsAutoVScroll : kEsAutoHScroll) |
             (Has(style, kStyleReadOnly) ? kEsReadOnly : 0u) |
             (Has(style, kStyleVerticalScroll) ? kWsVScroll : 0u) | kWsTabStop;
    case ControlKind::kButton:
      return (Has(style, kStyleDefaultButton) ? kBsDefPushButton : kBsPushButton) |
             (HasLineBreak(control.text) ? kBsMultiLine : 0u) | kWsTabStop;
    case ControlKind::kTree:
      return kWsTabStop;
    case ControlKind::kCombo:
      return (Has(style, kStyleEditable) ? kCbsDropDown | kCbsAutoHScroll : kCbsDropDownList) |
             (Has(style, kStyleVerticalScroll) ? kWsVScroll : 0u) | kWsTabStop;
    case ControlKind::kProgress:
      return 0;
    case ControlKind::kGroup:
      return kBsGroupBox;
    case ControlKind::kRadio:
      return kBsAutoRadioButton;
    case ControlKind::kCheck:
      return kBsAutoCheckBox | kWsTabStop;
  }
  return 0;
}

// The class of a control: a predefined atom or a common control's name.
void PutControlClass(TemplateWriter& writer, ControlKind kind) {
  switch (kind) {
    case ControlKind::kStatic:
    case ControlKind::kIcon:
      writer.PutOrdinal(kAtomStatic);
      return;
    case ControlKind::kEdit:
      writer.PutOrdinal(kAtomEdit);
      return;
    case ControlKind::kButton:
    case ControlKind::kGroup:
    case ControlKind::kRadio:
    case ControlKind::kCheck:
      writer.PutOrdinal(kAtomButton);
      return;
    case ControlKind::kCombo:
      writer.PutOrdinal(kAtomComboBox);
      return;
    case ControlKind::kTree:
      writer.PutString(kTreeViewClass);
      return;
    case ControlKind::kProgress:
      writer.PutString(kProgressClass);
      return;
  }
  writer.Fail();
}

// Appends one code point as UTF-16.
void PutCodePoint(std::u16string& out, char32_t point) {
  if (point < 0x10000) {
    out.push_back(static_cast<char16_t>(point));
    return;
  }
  point -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text) {
  constexpr char32_t kReplacement = 0xFFFD;
  std::u16string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      length = 1;
      point = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      point = lead & 0x1Fu;
      minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      point = lead & 0x0Fu;
      minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      point = lead & 0x07u;
      minimum = 0x10000;
    } else {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    bool valid = i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      point = (point << 6) | (next & 0x3Fu);
    }
    if (!valid || point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    PutCodePoint(out, point);
    i += length;
  }
  return out;
}

std::uint32_t DialogStyle(const DialogTemplate& dialog, DialogForm form) {
  if (form == DialogForm::kChild) return kWsChild | kDsControl | kDsSetFont;
  return kWsPopup | kWsCaption | kDsModalFrame | kDsSetFont |
         (Has(dialog.style, kDialogSystemMenu) ? kWsSysMenu : 0u);
}

std::uint32_t ControlStyle(const DialogTemplate& dialog, std::size_t index) {
  const auto& controls = dialog.controls;
  if (index >= controls.size()) return 0;
  const ControlTemplate& control = controls[index];
  std::uint32_t style = kWsChild | kWsVisible | KindStyle(control);
  if (Has(control.style, kStyleBorder)) style |= kWsBorder;
  if (Has(control.style, kStyleDisabled)) style |= kWsDisabled;
  // A run of radio buttons is one group: its first starts it and is the tab
  // stop, and the control after the run starts the next group.
  const bool afterRadio = index > 0 && controls[index - 1].kind == ControlKind::kRadio;
  if (control.kind == ControlKind::kRadio && !afterRadio) style |= kWsGroup | kWsTabStop;
  if (control.kind != ControlKind::kRadio && afterRadio) style |= kWsGroup;
  return style;
}

std::vector<std::uint8_t> BuildDialogTemplateBytes(const DialogTemplate& dialog, DialogForm form) {
  TemplateWriter writer;
  if (dialog.controls.size() > std::numeric_limits<std::uint16_t>::max()) return {};
  writer.Put16(kDialogTemplateVersion);
  writer.Put16(kDialogTemplateSignature);
  writer.Put32(0);  // helpID
  writer.Put32(0);  // exStyle: the modal frame's edge comes with DS_MODALFRAME
  writer.Put32(DialogStyle(dialog, form));
  writer.Put16(static_cast<std::uint16_t>(dialog.controls.size()));
  writer.PutSigned16(0);  // x, y: the host centres the window when it opens
  writer.PutSigned16(0);
  writer.PutSigned16(dialog.width);
  writer.PutSigned16(dialog.height);
  writer.Put16(0);  // no menu
  writer.Put16(0);  // the dialog class
  writer.PutString(form == DialogForm::kChild ? "" : dialog.caption);
  writer.PutSigned16(dialog.pointSize);
  writer.Put16(kFontWeightNormal);
  writer.Put8(0);  // not italic
  writer.Put8(kDefaultCharset);
  writer.PutString(dialog.fontFamily);

  for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
    const ControlTemplate& control = dialog.controls[index];
    writer.AlignTo(kItemAlignment);
    writer.Put32(0);  // helpID
    writer.Put32(0);  // exStyle
    writer.Put32(ControlStyle(dialog, index));
    writer.PutSigned16(control.x);
    writer.PutSigned16(control.y);
    writer.PutSigned16(control.width);
    writer.PutSigned16(control.height);
    writer.Put32(static_cast<std::uint32_t>(control.id));
    PutControlClass(writer, control.kind);
    writer.PutString(control.text);
    writer.Put16(0);  // no creation data
  }
  return writer.Take();
}

}  // namespace ui::win32
