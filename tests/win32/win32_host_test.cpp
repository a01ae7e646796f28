// The Win32 host under Wine: a test template's real dialog, driven by real
// messages; what the logic hears and what the controls show.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/window/window_test_host.h"
#include "ui/dialog_template.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_host.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window_system.h"

namespace {

using ui::ControlKind;

enum : int {
  kIdcTitle = 1000,
  kIdcName,
  kIdcStatus,
  kIdcGet,
  kIdcOff,
  kIdcCheck,
  kIdcRadio1,
  kIdcRadio2,
  kIdcDrives,
  kIdcSpeeds,
  kIdcTree,
  kIdcIcon,
};
constexpr int kIdmAbout = 0x0010;
constexpr int kTimerId = 7;
constexpr unsigned kMbYesNo = 0x0004;
constexpr int kIdNo = 7;

constexpr ui::ControlTemplate kControls[] = {
    {kIdcIcon, ControlKind::kIcon, "", 6, 7, 21, 23, ui::kStyleSunken},
    {kIdcTitle, ControlKind::kStatic, "Caf\xC3\xA9 title", 32, 7, 150, 10, ui::kStyleCentered},
    {kIdcName, ControlKind::kEdit, "", 32, 20, 150, 12, 0},
    {kIdcStatus, ControlKind::kEdit, "", 6, 36, 176, 30,
     ui::kStyleMultiLine | ui::kStyleReadOnly | ui::kStyleVerticalScroll | ui::kStyleBorder},
    {kIdcGet, ControlKind::kButton, "Get", 6, 70, 50, 14, 0},
    {kIdcOff, ControlKind::kButton, "Off", 60, 70, 50, 14, ui::kStyleDisabled},
    {kIdcCheck, ControlKind::kCheck, "Check", 114, 70, 50, 10, 0},
    {kIdcRadio1, ControlKind::kRadio, "One", 6, 88, 40, 10, 0},
    {kIdcRadio2, ControlKind::kRadio, "Two", 50, 88, 40, 10, 0},
    {kIdcDrives, ControlKind::kCombo, "", 6, 102, 176, 60, ui::kStyleEditable},
    {kIdcSpeeds, ControlKind::kCombo, "", 6, 118, 80, 60, ui::kStyleVerticalScroll},
    {kIdcTree, ControlKind::kTree, "", 6, 134, 176, 50, ui::kStyleBorder},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 6, 190, 50, 14, ui::kStyleDefaultButton},
    {ui::kIdControlCancel, ControlKind::kButton, "Cancel", 60, 190, 50, 14, 0},
};
constexpr ui::DialogTemplate kDialog = {200, "Host Test", "MS Sans Serif",       8,
                                        190, 210,         ui::kDialogSystemMenu, kControls};

constexpr ui::ControlTemplate kAboutControls[] = {
    {ui::kIdControlStatic, ControlKind::kIcon, "", 11, 17, 21, 20, 0},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 60, 7, 50, 14, ui::kStyleDefaultButton},
};
constexpr ui::DialogTemplate kAbout = {100, "About Host Test",     "MS Sans Serif", 8, 120,
                                       40,  ui::kDialogSystemMenu, kAboutControls};

// Records what the host hands it; handles what `handled` lists.
class RecordingLogic : public ui::DialogLogic {
 public:
  std::vector<std::pair<int, int>> handled;  // (id, code); code -1: any
  std::vector<std::pair<int, int>> commands;
  std::vector<int> sysCommands;
  std::vector<int> timers;
  int inits = 0;
  int destroys = 0;
  ui::WindowHost* host = nullptr;
  std::function<void(ui::WindowHost&)> onInit;
  std::function<void(ui::WindowHost&, int)> onTimer;

  void OnInitDialog(ui::WindowHost& h) override {
    host = &h;
    ++inits;
    h.AppendSystemMenuEntry(kIdmAbout, "&About Host Test...");
    if (onInit) onInit(h);
  }
  bool OnCommand(int id, int code) override {
    commands.emplace_back(id, code);
    for (const auto& [hid, hcode] : handled) {
      if (hid == id && (hcode == -1 || hcode == code)) return true;
    }
    return false;
  }
  bool OnSysCommand(int command) override {
    sysCommands.push_back(command);
    return command == kIdmAbout;
  }
  void OnTimer(int timerId) override {
    timers.push_back(timerId);
    if (onTimer) onTimer(*host, timerId);
  }
  void OnDestroy() override { ++destroys; }

  int Count(int id, int code) const {
    int n = 0;
    for (const auto& c : commands) n += (c.first == id && c.second == code) ? 1 : 0;
    return n;
  }
};

HWND DialogOf(ui::OpenWindow& window) {
  return dynamic_cast<ui::win32::Win32OpenWindow&>(window).DialogHost().Window();
}

class Win32HostTest : public testing::Test {
 protected:
  void Open() {
    window_ = window_test::System().Open(kDialog, logic_);
    ASSERT_TRUE(window_->IsOpen());
    driver_ = window_test::Drive(*window_);
  }
  ui::WindowHost& Host() { return window_->Host(); }
  HWND Dialog() { return DialogOf(*window_); }

  RecordingLogic logic_;
  std::unique_ptr<ui::OpenWindow> window_;
  std::unique_ptr<window_test::WindowDriver> driver_;
};

TEST_F(Win32HostTest, OpensTheTemplateAndRunsItsInit) {
  Open();
  EXPECT_EQ(logic_.inits, 1);
  char caption[64] = {};
  GetWindowTextA(Dialog(), caption, sizeof(caption));
  EXPECT_STREQ(caption, "Host Test");
  EXPECT_EQ(driver_->Text(kIdcTitle), "Caf\xC3\xA9 title");
  EXPECT_TRUE(driver_->Exists(kIdcTree));
  EXPECT_FALSE(driver_->Exists(4242));
  EXPECT_FALSE(driver_->Enabled(kIdcOff));
  EXPECT_TRUE(driver_->Enabled(kIdcGet));
  // The window and the icon control carry the program's icon.
  EXPECT_NE(SendMessageW(Dialog(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendDlgItemMessageW(Dialog(), kIdcIcon, STM_GETICON, 0, 0), 0);
  // Positions are the template's dialog units in the template's font.
  const ui::ItemRect ok = Host().ItemPlace(ui::kIdControlOk);
  const ui::ItemRect get = Host().ItemPlace(kIdcGet);
  RECT units{6, 190, 50, 14};  // x, y, width, height
  MapDialogRect(Dialog(), &units);
  EXPECT_EQ(ok, (ui::ItemRect{units.left, units.top, units.right, units.bottom}));
  EXPECT_EQ(get.x, ok.x);
  EXPECT_LT(get.y, ok.y);
}

// The dialog manager made each control of the class and style the template's
// kind asks for.
TEST_F(Win32HostTest, ControlsAreTheSystemsOwnClasses) {
  Open();
  struct Expected {
    int id;
    const char* windowClass;
    LONG typeBits;  // the low style bits that say what kind of control it is
    LONG mask;
  };
  const Expected expected[] = {
      {kIdcIcon, "Static", SS_ICON, SS_TYPEMASK},
      {kIdcTitle, "Static", SS_CENTER, SS_TYPEMASK},
      {kIdcName, "Edit", 0, ES_MULTILINE},
      {kIdcStatus, "Edit", ES_MULTILINE | ES_READONLY, ES_MULTILINE | ES_READONLY},
      {kIdcGet, "Button", BS_PUSHBUTTON, BS_TYPEMASK},
      {kIdcCheck, "Button", BS_AUTOCHECKBOX, BS_TYPEMASK},
      {kIdcRadio1, "Button", BS_AUTORADIOBUTTON, BS_TYPEMASK},
      {kIdcDrives, "ComboBox", CBS_DROPDOWN, CBS_DROPDOWNLIST},
      {kIdcSpeeds, "ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWNLIST},
      {kIdcTree, "SysTreeView32", 0, 0},
      {ui::kIdControlOk, "Button", BS_DEFPUSHBUTTON, BS_TYPEMASK},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    HWND control = GetDlgItem(Dialog(), e.id);
    ASSERT_NE(control, nullptr);
    char name[32] = {};
    GetClassNameA(control, name, sizeof(name));
    EXPECT_STREQ(name, e.windowClass);
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & e.mask, e.typeBits);
  }
  EXPECT_EQ(LOWORD(SendMessageW(Dialog(), DM_GETDEFID, 0, 0)), ui::kIdOk);
  // One group for the two radio buttons: the first starts it, the next is in it.
  EXPECT_NE(GetWindowLongA(GetDlgItem(Dialog(), kIdcRadio1), GWL_STYLE) & WS_GROUP, 0);
  EXPECT_EQ(GetNextDlgGroupItem(Dialog(), GetDlgItem(Dialog(), kIdcRadio1), FALSE),
            GetDlgItem(Dialog(), kIdcRadio2));
}

// The icon the program sets is the window's and its icon controls'.
TEST_F(Win32HostTest, ProgramIconFromPixels) {
  constexpr int kSize = 16;
  ui::IconImage image{kSize, kSize, std::vector<std::uint32_t>(kSize * kSize, 0xFF3366CCu)};
  image.argb[0] = 0x00000000u;  // one transparent corner
  window_test::System().SetApplicationIcon(image);
  Open();
  const auto icon = reinterpret_cast<HICON>(SendMessageW(Dialog(), WM_GETICON, ICON_BIG, 0));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageW(Dialog(), kIdcIcon, STM_GETICON, 0, 0)),
            icon);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP color{};
  GetObjectW(info.hbmColor, sizeof(color), &color);
  EXPECT_EQ(color.bmWidth, kSize);
  EXPECT_EQ(color.bmHeight, kSize);
  // The pixels as given: a top-down 32-bit copy, the transparent one masked.
  std::vector<std::uint32_t> pixels(kSize * kSize);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, kSize, pixels.data(), &format, DIB_RGB_COLORS);
  std::vector<std::uint8_t> mask(kSize * kSize * 4);
  GetDIBits(screen, info.hbmMask, 0, kSize, mask.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(pixels[1], 0xFF3366CCu);
  EXPECT_EQ(pixels[kSize * kSize - 1], 0xFF3366CCu);
  EXPECT_NE(mask[0], 0);      // transparent
  EXPECT_EQ(mask[4 * 1], 0);  // opaque
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

// The dialog manager reads the template's font: its face (UTF-16, here
// full-width letters and kana) and its point size.
TEST(Win32HostFont, DialogUsesTheTemplatesFont) {
  static constexpr ui::ControlTemplate controls[] = {
      {1, ControlKind::kStatic, "Remaining time", 7, 7, 173, 10, 0}};
  static constexpr ui::DialogTemplate dialog = {
      130,
      "Update progressing...",
      "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF",
      9,
      187,
      47,
      0,
      controls};
  RecordingLogic logic;
  std::unique_ptr<ui::OpenWindow> window = window_test::System().Open(dialog, logic);
  ASSERT_TRUE(window->IsOpen());
  const auto font = reinterpret_cast<HFONT>(SendMessageW(DialogOf(*window), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW described{};
  ASSERT_NE(GetObjectW(font, sizeof(described), &described), 0);
  EXPECT_EQ(std::wstring(described.lfFaceName), L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(described.lfHeight, -MulDiv(9, pixelsPerInch, 72));
  EXPECT_EQ(described.lfWeight, FW_NORMAL);
  // No system menu asked for: no close box either.
  EXPECT_EQ(GetWindowLongW(DialogOf(*window), GWL_STYLE) & WS_SYSMENU, 0);
}

TEST_F(Win32HostTest, TextsEnableChecksAndPlaces) {
  Open();
  Host().SetItemText(kIdcStatus, "line 1\r\nline 2 \xC3\xA9\r\n");
  EXPECT_EQ(driver_->Text(kIdcStatus), "line 1\r\nline 2 \xC3\xA9\r\n");
  EXPECT_EQ(Host().ItemText(kIdcStatus), "line 1\r\nline 2 \xC3\xA9\r\n");
  Host().ScrollItemToEnd(kIdcStatus);
  DWORD start = 0;
  DWORD end = 0;
  SendDlgItemMessageW(Dialog(), kIdcStatus, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, static_cast<DWORD>(GetWindowTextLengthW(GetDlgItem(Dialog(), kIdcStatus))));
  EXPECT_EQ(end, start);

  Host().EnableItem(kIdcOff, true);
  EXPECT_TRUE(Host().ItemEnabled(kIdcOff));
  Host().EnableItem(kIdcGet, false);
  EXPECT_FALSE(driver_->Enabled(kIdcGet));

  // BM_SETCHECK sets one button only, radio buttons too.
  Host().CheckItem(kIdcRadio1, true);
  Host().CheckItem(kIdcRadio2, true);
  EXPECT_TRUE(driver_->Checked(kIdcRadio1));
  EXPECT_TRUE(Host().ItemChecked(kIdcRadio2));
  Host().CheckItem(kIdcRadio1, false);
  EXPECT_FALSE(driver_->Checked(kIdcRadio1));

  Host().MoveItem(kIdcGet, {10, 20, 70, 25});
  EXPECT_EQ(Host().ItemPlace(kIdcGet), (ui::ItemRect{10, 20, 70, 25}));
}

TEST_F(Win32HostTest, PressesReachTheLogicAndUnhandledOkEndsTheDialog) {
  Open();
  driver_->Press(kIdcGet);
  driver_->Press(kIdcOff);  // disabled: no click
  driver_->Press(kIdcCheck);
  EXPECT_EQ(logic_.Count(kIdcGet, ui::kBnClicked), 1);
  EXPECT_EQ(logic_.Count(kIdcOff, ui::kBnClicked), 0);
  EXPECT_TRUE(driver_->Checked(kIdcCheck));  // an auto check box checks itself
  EXPECT_TRUE(driver_->IsOpen());
  driver_->Press(ui::kIdOk);
  EXPECT_FALSE(driver_->IsOpen());
  EXPECT_EQ(window_->Result(), ui::kIdOk);
  EXPECT_EQ(logic_.destroys, 1);
}

TEST_F(Win32HostTest, HandledOkKeepsTheDialogOpen) {
  logic_.handled = {{ui::kIdOk, -1}};
  Open();
  driver_->Press(ui::kIdOk);
  EXPECT_TRUE(driver_->IsOpen());
  EXPECT_EQ(logic_.Count(ui::kIdOk, ui::kBnClicked), 1);
}

TEST_F(Win32HostTest, ComboListsAndTyping) {
  Open();
  for (const char* name : {"D: TAVREON DVD-ROM", "E: \xC3\x89T\xC3\x89"}) {
    Host().AddListItem(kIdcDrives, name);
  }
  EXPECT_EQ(Host().ListItemCount(kIdcDrives), 2);
  EXPECT_EQ(driver_->ListText(kIdcDrives, 1), "E: \xC3\x89T\xC3\x89");
  EXPECT_EQ(Host().ListSelection(kIdcDrives), ui::kNoEntry);
  Host().SelectListItem(kIdcDrives, 1);
  EXPECT_EQ(driver_->ListSelection(kIdcDrives), 1);
  EXPECT_EQ(driver_->Text(kIdcDrives), "E: \xC3\x89T\xC3\x89");
  EXPECT_EQ(logic_.Count(kIdcDrives, ui::kCbnSelChange), 0);  // the logic's own choice

  driver_->ChooseListItem(kIdcDrives, 0);
  EXPECT_EQ(logic_.Count(kIdcDrives, ui::kCbnSelChange), 1);
  EXPECT_EQ(Host().ListSelection(kIdcDrives), 0);

  driver_->Type(kIdcDrives, "F:");
  EXPECT_EQ(logic_.Count(kIdcDrives, ui::kCbnEditChange), 1);
  EXPECT_EQ(driver_->Text(kIdcDrives), "F:");
  EXPECT_EQ(Host().ListSelection(kIdcDrives), ui::kNoEntry);

  // Typed with the list dropped, the combo selects the entry the text begins
  // but the text typed is still no choice of it.
  SendDlgItemMessageW(Dialog(), kIdcDrives, CB_SHOWDROPDOWN, TRUE, 0);
  driver_->Type(kIdcDrives, "E:");
  EXPECT_EQ(Host().ListSelection(kIdcDrives), ui::kNoEntry);
  SendDlgItemMessageW(Dialog(), kIdcDrives, CB_SHOWDROPDOWN, FALSE, 0);

  Host().SelectListItem(kIdcDrives, ui::kNoEntry);
  EXPECT_EQ(driver_->Text(kIdcDrives), "");
  Host().ResetList(kIdcDrives);
  EXPECT_EQ(driver_->ListCount(kIdcDrives), 0);

  // A drop-down list has no edit field to type into.
  Host().AddListItem(kIdcSpeeds, "4X");
  Host().SelectListItem(kIdcSpeeds, 0);
  driver_->Type(kIdcSpeeds, "8X");
  EXPECT_EQ(driver_->Text(kIdcSpeeds), "4X");
  EXPECT_EQ(Host().ListSelection(kIdcSpeeds), 0);
}

TEST_F(Win32HostTest, TreeItemsByInsertionNumber) {
  logic_.handled = {{kIdcTree, ui::kNmDoubleClick}};
  Open();
  ui::WindowHost& host = Host();
  EXPECT_EQ(host.InsertTreeItem(kIdcTree, ui::kNoEntry, "Host 0", true), 0);
  EXPECT_EQ(host.InsertTreeItem(kIdcTree, 0, "Target 1", false), 1);
  EXPECT_EQ(host.InsertTreeItem(kIdcTree, ui::kNoEntry, "Host 1", false), 2);
  EXPECT_EQ(host.InsertTreeItem(kIdcTree, 0, "Target 3 \xC3\xA9", false), 3);
  EXPECT_EQ(host.InsertTreeItem(kIdcTree, 9, "nowhere", false), ui::kNoEntry);
  EXPECT_EQ(host.TreeItemText(kIdcTree, 3), "Target 3 \xC3\xA9");
  EXPECT_EQ(host.TreeItemParent(kIdcTree, 3), 0);
  EXPECT_EQ(host.TreeItemParent(kIdcTree, 2), ui::kNoEntry);
  EXPECT_EQ(host.TreeSelection(kIdcTree), ui::kNoEntry);
  const std::size_t heard = logic_.commands.size();
  host.SelectTreeItem(kIdcTree, 3);
  EXPECT_EQ(host.TreeSelection(kIdcTree), 3);
  EXPECT_EQ(logic_.commands.size(), heard);  // selection changes notify nobody

  // A double click on the tree reaches the logic as NM_DBLCLK.
  HWND tree = GetDlgItem(Dialog(), kIdcTree);
  SendMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ui::win32::Win32WindowSystem::PumpPending();
  EXPECT_EQ(logic_.Count(kIdcTree, ui::kNmDoubleClick), 1);

  host.ResetTree(kIdcTree);
  EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(host.TreeSelection(kIdcTree), ui::kNoEntry);
  EXPECT_EQ(host.InsertTreeItem(kIdcTree, ui::kNoEntry, "again", false), 0);
}

// A tree view selects its first item when it takes the focus with none
// selected; in a tree of drives that would choose a drive for the user. Every
// way the focus comes leaves it unselected; the user's own choice still selects.
TEST_F(Win32HostTest, FocusSelectsNoTreeItem) {
  Open();
  ui::WindowHost& host = Host();
  HWND tree = GetDlgItem(Dialog(), kIdcTree);
  HWND before = GetDlgItem(Dialog(), kIdcSpeeds);
  const auto fill = [&host] {
    host.ResetTree(kIdcTree);
    host.InsertTreeItem(kIdcTree, ui::kNoEntry, "Host 0", true);
    host.InsertTreeItem(kIdcTree, 0, "Target 1", false);
    host.InsertTreeItem(kIdcTree, ui::kNoEntry, "Host 1", false);
  };
  const auto tab = [&] {
    // The dialog manager's own Tab, from the control before the tree.
    MSG key{before, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    ui::win32::Win32DialogHost::TranslateDialogMessage(key);
  };
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"WM_NEXTDLGCTL",
       [&] { SendMessageW(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tree), TRUE); }},
      {"SetFocus", [&] { SetFocus(tree); }},
      {"Tab", tab},
      {"FocusItem", [&] { host.FocusItem(kIdcTree); }},
  };
  for (const auto& [name, focus] : ways) {
    SCOPED_TRACE(name);
    fill();
    SetFocus(before);
    focus();
    ui::win32::Win32WindowSystem::PumpPending();
    ASSERT_EQ(GetFocus(), tree);
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0);
    EXPECT_EQ(host.TreeSelection(kIdcTree), ui::kNoEntry);
  }
  // A key the user presses in the focused tree chooses, as does a click.
  SendMessageW(tree, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_NE(host.TreeSelection(kIdcTree), ui::kNoEntry);
  fill();
  // TVM_GETITEMRECT takes the item in the rectangle's place.
  RECT place{};
  const auto last =
      reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_LASTVISIBLE, 0));
  static_assert(sizeof(last) <= sizeof(place));
  std::memcpy(&place, &last, sizeof(last));
  ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&place)));
  const LPARAM at = MAKELPARAM(place.left + 2, place.top + 2);
  PostMessageW(tree, WM_LBUTTONUP, 0, at);  // ends the control's wait for a drag
  SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(host.TreeSelection(kIdcTree), 2);
  // The choice stays across the focus leaving and coming back.
  SetFocus(before);
  SetFocus(tree);
  EXPECT_EQ(host.TreeSelection(kIdcTree), 2);
}

TEST_F(Win32HostTest, SystemMenuEntryAndSystemCommands) {
  Open();
  HMENU menu = GetSystemMenu(Dialog(), FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));
  char text[64] = {};
  GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof(text), MF_BYPOSITION);
  EXPECT_STREQ(text, "&About Host Test...");
  EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(kIdmAbout));

  driver_->SystemCommand(kIdmAbout);
  EXPECT_EQ(logic_.sysCommands, std::vector<int>{kIdmAbout});
  EXPECT_TRUE(driver_->IsOpen());
  // The logic leaves SC_CLOSE alone: the dialog manager turns it into IDCANCEL.
  driver_->SystemCommand(ui::kSysClose);
  EXPECT_EQ(logic_.Count(ui::kIdCancel, ui::kBnClicked), 1);
  EXPECT_FALSE(driver_->IsOpen());
  EXPECT_EQ(window_->Result(), ui::kIdCancel);
}

TEST_F(Win32HostTest, HostSystemCloseGoesThroughCancel) {
  logic_.handled = {{ui::kIdCancel, -1}};
  Open();
  Host().SystemCommand(ui::kSysClose);
  ui::win32::Win32WindowSystem::PumpPending();
  EXPECT_EQ(logic_.Count(ui::kIdCancel, ui::kBnClicked), 1);
  EXPECT_TRUE(driver_->IsOpen());
}

// Enter and Escape go through IsDialogMessage: Enter to the default button
// (a focused push button is the default while it has the focus), Escape to
// IDCANCEL.
TEST_F(Win32HostTest, EnterAndEscapeFollowTheDialogManager) {
  logic_.handled = {{ui::kIdOk, -1}, {ui::kIdCancel, -1}};
  logic_.onInit = [](ui::WindowHost& host) { host.FocusItem(kIdcCheck); };
  Open();
  HWND check = GetDlgItem(Dialog(), kIdcCheck);
  EXPECT_EQ(GetFocus(), check);  // the logic's focus, not the first tab stop
  PostMessageW(check, WM_KEYDOWN, VK_RETURN, 0);
  ui::win32::Win32WindowSystem::PumpPending();
  EXPECT_EQ(logic_.Count(ui::kIdOk, ui::kBnClicked), 1);
  PostMessageW(check, WM_KEYDOWN, VK_ESCAPE, 0);
  ui::win32::Win32WindowSystem::PumpPending();
  EXPECT_EQ(logic_.Count(ui::kIdCancel, ui::kBnClicked), 1);

  Host().FocusItem(kIdcGet);
  HWND get = GetDlgItem(Dialog(), kIdcGet);
  EXPECT_EQ(GetFocus(), get);
  PostMessageW(get, WM_KEYDOWN, VK_RETURN, 0);
  ui::win32::Win32WindowSystem::PumpPending();
  EXPECT_EQ(logic_.Count(kIdcGet, ui::kBnClicked), 1);
  EXPECT_EQ(logic_.Count(ui::kIdOk, ui::kBnClicked), 1);
  EXPECT_TRUE(driver_->IsOpen());
}

TEST_F(Win32HostTest, MessageBoxesAndModalDialogsAreScripted) {
  window_test::System().SetApplicationTitle("Host Test App");
  Open();
  driver_->PresetAnswer(kIdNo);
  EXPECT_EQ(Host().MessageBox("Sure?", "", kMbYesNo), kIdNo);
  EXPECT_EQ(Host().MessageBox("Done", "Own", 0), ui::kIdOk);
  const std::vector<window_test::ShownMessage> shown = driver_->Messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Sure?");
  EXPECT_EQ(shown[0].caption, "Host Test App");
  EXPECT_EQ(shown[0].style, kMbYesNo);
  EXPECT_EQ(shown[1].caption, "Own");

  RecordingLogic about;
  EXPECT_EQ(Host().RunModal(kAbout, about), ui::kIdOk);
  EXPECT_EQ(about.inits, 1);
  EXPECT_EQ(about.destroys, 1);
  EXPECT_EQ(driver_->ModalCaptions(), std::vector<std::string>{"About Host Test"});
}

TEST_F(Win32HostTest, TimerRunsUntilTheLogicEndsTheLoop) {
  logic_.onInit = [](ui::WindowHost& host) { host.SetTimer(kTimerId, 1); };
  logic_.onTimer = [this](ui::WindowHost& host, int) {
    if (logic_.timers.size() == 3) {
      host.KillTimer(kTimerId);
      host.EndDialog(42);
    }
  };
  Open();
  EXPECT_EQ(window_test::System().RunUntilClosed(*window_), 42);
  EXPECT_EQ(logic_.timers, (std::vector<int>{kTimerId, kTimerId, kTimerId}));
}

// The work runs on another thread; a command posted meanwhile waits until
// the work is done, and a click or key made meanwhile has no effect at all.
TEST_F(Win32HostTest, RunPaintedTakesNoInputUntilTheWorkIsDone) {
  Open();
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id worker;
  HWND dialog = Dialog();
  HWND get = GetDlgItem(dialog, kIdcGet);
  window_test::System().RunPainted([&] {
    worker = std::this_thread::get_id();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kIdcGet, BN_CLICKED),
                 reinterpret_cast<LPARAM>(get));
    PostMessageW(get, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(get, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    PostMessageW(get, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(get, WM_KEYUP, VK_SPACE, 0);
    // Repaint requested from here is served by the waiting thread.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    SendMessageW(dialog, WM_NULL, 0, 0);
  });
  EXPECT_NE(worker, self);
  EXPECT_EQ(logic_.Count(kIdcGet, ui::kBnClicked), 0);
  ui::win32::Win32WindowSystem::PumpPending();
  EXPECT_EQ(logic_.Count(kIdcGet, ui::kBnClicked), 1);
}

TEST_F(Win32HostTest, ChildFormSitsInsideItsParent) {
  Open();
  auto& system = dynamic_cast<ui::win32::Win32WindowSystem&>(window_test::System());
  RecordingLogic formLogic;
  std::unique_ptr<ui::win32::Win32DialogHost> form =
      ui::win32::Win32DialogHost::CreateChild(system.Session(), kAbout, formLogic, Dialog());
  ASSERT_TRUE(form->IsOpen());
  EXPECT_EQ(GetParent(form->Window()), Dialog());
  EXPECT_NE(GetWindowLongW(form->Window(), GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(GetWindowLongW(form->Window(), GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(formLogic.inits, 1);
  // A form's OK is its logic's to handle: unhandled, it ends nothing.
  SendMessageW(GetDlgItem(form->Window(), ui::kIdOk), BM_CLICK, 0, 0);
  EXPECT_TRUE(form->IsOpen());
  form.reset();
  EXPECT_EQ(formLogic.destroys, 1);
  EXPECT_TRUE(driver_->IsOpen());
}

}  // namespace
