// The DLGTEMPLATEEX bytes, read back field by field: the header, the font, and
// each item's alignment, style, class, position, id and text.
#include "ui/win32/dialog_template_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ui::win32 {
namespace {

// Reads a template back; every read is bounds-checked by at().
class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  std::uint16_t U16(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes_.at(offset) | (bytes_.at(offset + 1) << 8));
  }
  std::uint32_t U32(std::size_t offset) const {
    return U16(offset) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
  }
  std::int16_t S16(std::size_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
  // A zero-terminated UTF-16 string at `offset`; moves `offset` past it.
  std::u16string String(std::size_t& offset) const {
    std::u16string text;
    for (std::uint16_t unit = U16(offset); unit != 0; unit = U16(offset)) {
      text.push_back(static_cast<char16_t>(unit));
      offset += 2;
    }
    offset += 2;
    return text;
  }
  // A class or title: an ordinal (0xFFFF, value) or a string.
  std::variant<std::uint16_t, std::u16string> NameOrOrdinal(std::size_t& offset) const {
    if (U16(offset) == kOrdinalMarker) {
      offset += 4;
      return U16(offset - 2);
    }
    return String(offset);
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
};

struct Item {
  std::size_t offset;
  std::uint32_t style;
  int x, y, width, height;
  std::uint32_t id;
  std::variant<std::uint16_t, std::u16string> windowClass;
  std::u16string text;
};

struct Parsed {
  std::uint32_t style;
  int itemCount, width, height;
  std::u16string caption;
  int pointSize, weight, italic, charset;
  std::u16string face;
  std::vector<Item> items;
  std::size_t end;
};

Parsed Parse(const std::vector<std::uint8_t>& bytes) {
  const Reader in(bytes);
  using H = DialogHeaderLayout;
  EXPECT_EQ(in.U16(H::kVersion), 1);
  EXPECT_EQ(in.U16(H::kSignature), 0xFFFF);
  EXPECT_EQ(in.U32(H::kHelpId), 0u);
  EXPECT_EQ(in.U32(H::kExStyle), 0u);
  Parsed out{};
  out.style = in.U32(H::kStyle);
  out.itemCount = in.U16(H::kItemCount);
  out.width = in.S16(H::kWidth);
  out.height = in.S16(H::kHeight);
  std::size_t at = H::kSize;
  EXPECT_EQ(in.U16(at), 0) << "menu";
  EXPECT_EQ(in.U16(at + 2), 0) << "class";
  at += 4;
  out.caption = in.String(at);
  out.pointSize = in.U16(at);
  out.weight = in.U16(at + 2);
  out.italic = bytes.at(at + 4);
  out.charset = bytes.at(at + 5);
  at += 6;
  out.face = in.String(at);
  for (int i = 0; i < out.itemCount; ++i) {
    at = (at + 3) / 4 * 4;
    using I = ItemHeaderLayout;
    Item item{at,
              in.U32(at + I::kStyle),
              in.S16(at + I::kX),
              in.S16(at + I::kY),
              in.S16(at + I::kWidth),
              in.S16(at + I::kHeight),
              in.U32(at + I::kId),
              {},
              {}};
    EXPECT_EQ(in.U32(at + I::kHelpId), 0u);
    EXPECT_EQ(in.U32(at + I::kExStyle), 0u);
    at += I::kSize;
    item.windowClass = in.NameOrOrdinal(at);
    item.text = in.String(at);
    EXPECT_EQ(in.U16(at), 0) << "creation data";
    at += 2;
    out.items.push_back(item);
  }
  out.end = at;
  return out;
}

// "ＭＳ Ｐゴシック" in UTF-8 and UTF-16.
constexpr char kGothicUtf8[] =
    "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";
constexpr char16_t kGothicUtf16[] = u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";

constexpr std::uint32_t kChild = kWsChild | kWsVisible;
constexpr std::uint32_t kMultiLineBox = kStyleMultiLine | kStyleReadOnly | kStyleVerticalScroll;

// One control of each kind and style the templates use, with the window style,
// class and text it must get.
struct ControlCase {
  ControlTemplate control;
  std::uint32_t style;
  std::variant<std::uint16_t, std::u16string> windowClass;
  std::u16string text;
};

const ControlCase kControlCases[] = {
    {{10, ControlKind::kStatic, "Drive\r\nList", 7, 8, 186, 9, 0},
     kChild | kSsLeft | kWsGroup,
     kAtomStatic,
     u"Drive\r\nList"},
    {{11, ControlKind::kStatic, "Title", 32, 14, 158, 12, kStyleCentered | kStyleSunken},
     kChild | kSsCenter | kSsSunken | kWsGroup,
     kAtomStatic,
     u"Title"},
    {{12, ControlKind::kIcon, "", 6, 7, 21, 23, kStyleSunken},
     kChild | kSsIcon | kSsSunken | kWsGroup,
     kAtomStatic,
     u""},
    {{13, ControlKind::kEdit, "", 6, 228, 184, 46, kMultiLineBox | kStyleBorder},
     kChild | kEsMultiLine | kEsAutoVScroll | kEsReadOnly | kWsVScroll | kWsBorder | kWsTabStop,
     kAtomEdit,
     u""},
    {{14, ControlKind::kEdit, "v1", 40, 18, 130, 14, kStyleReadOnly},
     kChild | kEsAutoHScroll | kEsReadOnly | kWsTabStop,
     kAtomEdit,
     u"v1"},
    {{15, ControlKind::kButton, "Get Region", 6, 279, 50, 14, 0},
     kChild | kBsPushButton | kWsTabStop,
     kAtomButton,
     u"Get Region"},
    {{1, ControlKind::kButton, "OK", 178, 7, 50, 14, kStyleDefaultButton},
     kChild | kBsDefPushButton | kWsTabStop,
     kAtomButton,
     u"OK"},
    {{16, ControlKind::kButton, "Quiet Mode\n(Temporary)", 7, 97, 95, 27, kStyleDisabled},
     kChild | kBsPushButton | kBsMultiLine | kWsTabStop | kWsDisabled,
     kAtomButton,
     u"Quiet Mode\n(Temporary)"},
    {{17, ControlKind::kCombo, "", 6, 37, 184, 86, kStyleEditable},
     kChild | kCbsDropDown | kCbsAutoHScroll | kWsTabStop,
     kAtomComboBox,
     u""},
    {{18, ControlKind::kCombo, "", 7, 76, 94, 30, kStyleVerticalScroll},
     kChild | kCbsDropDownList | kWsVScroll | kWsTabStop,
     kAtomComboBox,
     u""},
    {{19, ControlKind::kGroup, "Disc Regional Code", 6, 170, 184, 53, 0},
     kChild | kBsGroupBox,
     kAtomButton,
     u"Disc Regional Code"},
    {{20, ControlKind::kCheck, "Region 1", 23, 178, 46, 19, kStyleDisabled},
     kChild | kBsAutoCheckBox | kWsTabStop | kWsDisabled,
     kAtomButton,
     u"Region 1"},
    {{21, ControlKind::kTree, "", 7, 18, 186, 60, kStyleBorder},
     kChild | kWsBorder | kWsTabStop,
     std::u16string(u"SysTreeView32"),
     u""},
    {{22, ControlKind::kProgress, "", 7, 23, 173, 14, 0},
     kChild,
     std::u16string(u"msctls_progress32"),
     u""},
    {{kIdControlStatic, ControlKind::kStatic, "\xC3\xA9t\xC3\xA9", 7, 23, 40, 10, 0},
     kChild | kSsLeft | kWsGroup,
     kAtomStatic,
     u"\u00E9t\u00E9"},
};

std::vector<ControlTemplate> CaseControls() {
  std::vector<ControlTemplate> controls;
  for (const ControlCase& c : kControlCases) controls.push_back(c.control);
  return controls;
}

TEST(DialogTemplateBytes, HeaderAndFontOfAPopupDialog) {
  const std::vector<ControlTemplate> controls = CaseControls();
  const DialogTemplate dialog{130, "Update progressing...", kGothicUtf8, 9, 187,
                              47,  kDialogSystemMenu,       controls};
  const std::vector<std::uint8_t> bytes = BuildDialogTemplateBytes(dialog, DialogForm::kPopup);
  const Parsed parsed = Parse(bytes);
  EXPECT_EQ(parsed.style, kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont);
  EXPECT_EQ(parsed.itemCount, static_cast<int>(controls.size()));
  EXPECT_EQ(parsed.width, 187);
  EXPECT_EQ(parsed.height, 47);
  EXPECT_EQ(parsed.caption, u"Update progressing...");
  EXPECT_EQ(parsed.pointSize, 9);
  EXPECT_EQ(parsed.weight, 400);
  EXPECT_EQ(parsed.italic, 0);
  EXPECT_EQ(parsed.charset, 1);
  EXPECT_EQ(parsed.face, kGothicUtf16);
  EXPECT_EQ(parsed.end, bytes.size());
}

TEST(DialogTemplateBytes, EveryControlKindGetsItsClassStyleAndPlace) {
  const std::vector<ControlTemplate> controls = CaseControls();
  const DialogTemplate dialog{102, "Test", "MS Sans Serif", 8, 199, 300, 0, controls};
  const Parsed parsed = Parse(BuildDialogTemplateBytes(dialog, DialogForm::kPopup));
  EXPECT_EQ(parsed.style, kWsPopup | kWsCaption | kDsModalFrame | kDsSetFont);
  ASSERT_EQ(parsed.items.size(), std::size(kControlCases));
  for (std::size_t i = 0; i < parsed.items.size(); ++i) {
    const ControlCase& expected = kControlCases[i];
    const Item& item = parsed.items[i];
    SCOPED_TRACE(testing::Message() << "control " << expected.control.id);
    EXPECT_EQ(item.offset % 4, 0u);
    EXPECT_EQ(item.style, expected.style) << std::hex << item.style;
    EXPECT_EQ(item.style, ControlStyle(dialog, i));
    EXPECT_EQ(item.windowClass, expected.windowClass);
    EXPECT_EQ(item.text, expected.text);
    EXPECT_EQ(item.id, static_cast<std::uint32_t>(expected.control.id));
    EXPECT_EQ(item.x, expected.control.x);
    EXPECT_EQ(item.y, expected.control.y);
    EXPECT_EQ(item.width, expected.control.width);
    EXPECT_EQ(item.height, expected.control.height);
  }
}

// Radio buttons in a row form one group: the first starts it and takes the
// tab stop, the control after the row starts the next group.
TEST(DialogTemplateBytes, RadioRunsAreOneGroup) {
  const ControlTemplate controls[] = {
      {30, ControlKind::kGroup, "Code", 6, 55, 184, 113, 0},
      {31, ControlKind::kRadio, "Region 1", 18, 68, 89, 10, kStyleDisabled},
      {32, ControlKind::kRadio, "Region 2", 18, 80, 89, 10, 0},
      {33, ControlKind::kCheck, "Region 1", 23, 178, 46, 19, 0},
  };
  const DialogTemplate dialog{1, "", "MS Sans Serif", 8, 10, 10, 0, controls};
  const Parsed parsed = Parse(BuildDialogTemplateBytes(dialog, DialogForm::kPopup));
  ASSERT_EQ(parsed.items.size(), 4u);
  EXPECT_EQ(parsed.items[0].style, kChild | kBsGroupBox);
  EXPECT_EQ(parsed.items[1].style,
            kChild | kBsAutoRadioButton | kWsGroup | kWsTabStop | kWsDisabled);
  EXPECT_EQ(parsed.items[2].style, kChild | kBsAutoRadioButton);
  EXPECT_EQ(parsed.items[3].style, kChild | kBsAutoCheckBox | kWsTabStop | kWsGroup);
}

TEST(DialogTemplateBytes, ChildFormHasNoCaptionOrFrame) {
  const ControlTemplate controls[] = {{1001, ControlKind::kTree, "", 7, 7, 186, 60, 0}};
  const DialogTemplate dialog{101, "Main", "Arial Black",     10,
                              200, 180,    kDialogSystemMenu, controls};
  const Parsed parsed = Parse(BuildDialogTemplateBytes(dialog, DialogForm::kChild));
  EXPECT_EQ(parsed.style, kWsChild | kDsControl | kDsSetFont);
  EXPECT_EQ(parsed.caption, u"");
  EXPECT_EQ(parsed.pointSize, 10);
  EXPECT_EQ(parsed.face, u"Arial Black");
  ASSERT_EQ(parsed.items.size(), 1u);
  EXPECT_EQ(parsed.items[0].id, 1001u);
}

TEST(DialogTemplateBytes, RefusesWhatTheFieldsCannotHold) {
  const ControlTemplate far[] = {{1, ControlKind::kButton, "OK", 40000, 0, 10, 10, 0}};
  EXPECT_TRUE(
      BuildDialogTemplateBytes({1, "", "F", 8, 10, 10, 0, far}, DialogForm::kPopup).empty());
  const ControlTemplate negative[] = {{1, ControlKind::kButton, "OK", -40000, 0, 10, 10, 0}};
  EXPECT_TRUE(
      BuildDialogTemplateBytes({1, "", "F", 8, 10, 10, 0, negative}, DialogForm::kPopup).empty());
  const std::string longText(kMaxTemplateBytes / 2, 'x');
  const ControlTemplate huge[] = {{1, ControlKind::kStatic, longText.c_str(), 0, 0, 10, 10, 0}};
  EXPECT_TRUE(
      BuildDialogTemplateBytes({1, "", "F", 8, 10, 10, 0, huge}, DialogForm::kPopup).empty());
  const ControlTemplate fits[] = {{1, ControlKind::kButton, "OK", 32767, -32768, 10, 10, 0}};
  EXPECT_FALSE(
      BuildDialogTemplateBytes({1, "", "F", 8, 10, 10, 0, fits}, DialogForm::kPopup).empty());
}

TEST(DialogTemplateBytes, Utf8ToUtf16) {
  EXPECT_EQ(Utf8ToUtf16(kGothicUtf8), kGothicUtf16);
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  // Truncated, overlong and stray bytes each become one replacement.
  EXPECT_EQ(Utf8ToUtf16("a\xE3\x82"), u"a\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\x80z"), u"\uFFFDz");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
}

}  // namespace
}  // namespace ui::win32
