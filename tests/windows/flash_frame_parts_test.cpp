// The updater frame's native parts under Wine: the menu bar from the menu
// table, the recent-file slot, the accelerator table, the toolbar, the
// registry settings and the shell registration.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flash/win32/frame_accelerators.h"
#include "flash/win32/frame_menu.h"
#include "flash/win32/frame_toolbar.h"
#include "flash/win32/open_file_dialog.h"
#include "flash/win32/registry_settings.h"
#include "flash/win32/shell_registration.h"
#include "resources/flash/flash_menus.h"
#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"

namespace {

namespace ids = resources;

struct MenuItemSeen {
  std::string text;
  int command;  // -1 for a separator or a popup
  bool grayed;
  bool checked;
};

std::string MenuText(HMENU menu, UINT position) {
  char text[256] = {};
  ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

std::vector<MenuItemSeen> ItemsOf(HMENU popup) {
  std::vector<MenuItemSeen> items;
  const int count = ::GetMenuItemCount(popup);
  for (int position = 0; position < count; ++position) {
    const UINT state = ::GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION);
    if ((state & MF_SEPARATOR) != 0) {
      items.push_back({"", -1, false, false});
      continue;
    }
    const UINT id = ::GetMenuItemID(popup, position);
    items.push_back({MenuText(popup, static_cast<UINT>(position)),
                     id == static_cast<UINT>(-1) ? -1 : static_cast<int>(id),
                     (state & MF_GRAYED) != 0, (state & MF_CHECKED) != 0});
  }
  return items;
}

struct MenuCase {
  const resources::FlashMenus& menus;
  std::vector<std::string> popups;
  std::vector<std::vector<MenuItemSeen>> items;
};

TEST(FlashFrameMenu, BarHasEachBuildsPopupsItemsAndStates) {
  const std::vector<MenuItemSeen> file = {
      {"&Open...\tCtrl+O", ids::kIdFileOpen, false, false},
      {"", -1, false, false},
      {"Recent File", ids::kIdFileMruFirst, true, false},
      {"", -1, false, false},
      {"E&xit", ids::kIdAppExit, false, false},
  };
  const std::vector<MenuItemSeen> view = {{"&Toolbar", ids::kIdViewToolbar, false, true}};
  const MenuCase cases[] = {
      {resources::AspiFlashMenus(),
       {"&File", "Tool", "&View", "&Help"},
       {file,
        {{"F/W File Search ", ids::kIdAspiFirmwareFileSearch, true, false}},
        view,
        {{"System Info", ids::kIdAspiSystemInfo, false, false},
         {"&About FLASHKIT...", ids::kIdAppAbout, false, false}}}},
      {resources::SptiFlashMenus(),
       {"&File", "&View", "&Help"},
       {file, view, {{"&About flashspti...", ids::kIdAppAbout, false, false}}}},
  };
  for (const MenuCase& expected : cases) {
    const flash::FrameMenu menu = flash::BuildFrameMenu(expected.menus);
    ASSERT_EQ(::GetMenuItemCount(menu.bar), static_cast<int>(expected.popups.size()));
    for (std::size_t index = 0; index < expected.popups.size(); ++index) {
      SCOPED_TRACE(expected.popups[index]);
      EXPECT_EQ(MenuText(menu.bar, static_cast<UINT>(index)), expected.popups[index]);
      const std::vector<MenuItemSeen> items =
          ItemsOf(::GetSubMenu(menu.bar, static_cast<int>(index)));
      ASSERT_EQ(items.size(), expected.items[index].size());
      for (std::size_t item = 0; item < items.size(); ++item) {
        EXPECT_EQ(items[item].text, expected.items[index][item].text);
        EXPECT_EQ(items[item].command, expected.items[index][item].command);
        EXPECT_EQ(items[item].grayed, expected.items[index][item].grayed) << items[item].text;
        EXPECT_EQ(items[item].checked, expected.items[index][item].checked) << items[item].text;
      }
    }
    EXPECT_EQ(menu.recentFilePopup, ::GetSubMenu(menu.bar, 0));
    ::DestroyMenu(menu.bar);
  }
}

TEST(FlashFrameMenu, RecentFileSlotTakesEntriesAndFallsBackToThePlaceholder) {
  const flash::FrameMenu menu = flash::BuildFrameMenu(resources::SptiFlashMenus());
  HMENU file = menu.recentFilePopup;

  flash::ShowRecentFiles(menu, {"&1 C:\\b.hex", "&2 C:\\a.hex"}, 5);
  std::vector<MenuItemSeen> items = ItemsOf(file);
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[2].text, "&1 C:\\b.hex");
  EXPECT_EQ(items[2].command, ids::kIdFileMruFirst);
  EXPECT_FALSE(items[2].grayed);
  EXPECT_EQ(items[3].text, "&2 C:\\a.hex");
  EXPECT_EQ(items[3].command, ids::kIdFileMruFirst + 1);
  EXPECT_EQ(items[5].text, "E&xit");

  // More entries than the list holds: only the first `capacity` are shown.
  flash::ShowRecentFiles(menu, {"&1 x", "&2 y", "&3 z"}, 2);
  items = ItemsOf(file);
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[3].text, "&2 y");
  EXPECT_EQ(items[4].command, -1);  // the separator before Exit

  flash::ShowRecentFiles(menu, {}, 5);
  items = ItemsOf(file);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[2].text, "Recent File");
  EXPECT_EQ(items[2].command, ids::kIdFileMruFirst);
  EXPECT_TRUE(items[2].grayed);
  ::DestroyMenu(menu.bar);
}

TEST(FlashFrameAccelerators, KeyTextsBecomeVirtualKeyEntries) {
  const std::optional<ACCEL> open = flash::AcceleratorEntry("Ctrl+O", ids::kIdFileOpen);
  ASSERT_TRUE(open.has_value());
  EXPECT_EQ(open->fVirt, FCONTROL | FVIRTKEY);
  EXPECT_EQ(open->key, 'O');
  EXPECT_EQ(open->cmd, ids::kIdFileOpen);
  const std::optional<ACCEL> f6 = flash::AcceleratorEntry("Shift+F6", 7);
  ASSERT_TRUE(f6.has_value());
  EXPECT_EQ(f6->fVirt, FSHIFT | FVIRTKEY);
  EXPECT_EQ(f6->key, VK_F6);
  EXPECT_FALSE(flash::AcceleratorEntry("Ctrl+", 1).has_value());
  EXPECT_FALSE(flash::AcceleratorEntry("F13", 1).has_value());
  EXPECT_FALSE(flash::AcceleratorEntry("Ctrl+o", 1).has_value());

  HACCEL table = flash::BuildFrameAccelerators(resources::AspiFlashMenus());
  ASSERT_NE(table, nullptr);
  ACCEL entries[8] = {};
  ASSERT_EQ(::CopyAcceleratorTableA(table, entries, 8), 2);
  EXPECT_EQ(entries[0].key, 'O');
  EXPECT_EQ(entries[0].cmd, ids::kIdFileOpen);
  EXPECT_EQ(entries[1].key, 'N');
  EXPECT_EQ(entries[1].fVirt & ~FNOINVERT, FCONTROL | FVIRTKEY);
  EXPECT_EQ(entries[1].cmd, ids::kIdFileNew);
  ::DestroyAcceleratorTable(table);
}

// A plain parent window for the toolbar.
HWND MakeParent() {
  return ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

TEST(FlashFrameToolbar, ThreeButtonsMiddleDisabledTooltipsFromTheCommandStrings) {
  for (const resources::FlashMenus* menus :
       {&resources::AspiFlashMenus(), &resources::SptiFlashMenus()}) {
    HWND parent = MakeParent();
    ASSERT_NE(parent, nullptr);
    {
      flash::FrameToolbar toolbar;
      ASSERT_TRUE(toolbar.Create(parent, *menus));
      HWND bar = toolbar.Handle();
      EXPECT_EQ(::GetDlgCtrlID(bar), flash::kFrameToolbarId);
      EXPECT_NE(::GetWindowLongA(bar, GWL_STYLE) & TBSTYLE_FLAT, 0);
      EXPECT_NE(::GetWindowLongA(bar, GWL_STYLE) & TBSTYLE_TOOLTIPS, 0);
      ASSERT_EQ(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 3);
      const int middle = menus->toolbar[1].command;
      EXPECT_NE(::SendMessageA(bar, TB_GETSTATE, ids::kIdFileOpen, 0) & TBSTATE_ENABLED, 0);
      EXPECT_EQ(::SendMessageA(bar, TB_GETSTATE, middle, 0) & TBSTATE_ENABLED, 0);
      EXPECT_NE(::SendMessageA(bar, TB_GETSTATE, ids::kIdAppAbout, 0) & TBSTATE_ENABLED, 0);
      const LRESULT size = ::SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
      EXPECT_GE(LOWORD(size), 16);
      EXPECT_GE(HIWORD(size), 15);

      const std::pair<int, std::string> tips[] = {
          {ids::kIdFileOpen, "Open"}, {ids::kIdAppAbout, "About"}, {middle, ""}};
      for (const auto& [command, tip] : tips) {
        NMTTDISPINFOA request{};
        request.hdr.code = TTN_GETDISPINFOA;
        request.hdr.idFrom = static_cast<UINT_PTR>(command);
        ASSERT_TRUE(toolbar.AnswerTooltip(&request.hdr));
        EXPECT_EQ(std::string(request.lpszText), tip);
      }
      NMTTDISPINFOW wide{};
      wide.hdr.code = TTN_GETDISPINFOW;
      wide.hdr.idFrom = ids::kIdFileOpen;
      ASSERT_TRUE(toolbar.AnswerTooltip(&wide.hdr));
      EXPECT_EQ(std::wstring(wide.lpszText), L"Open");
      NMHDR other{};
      other.code = TTN_GETDISPINFOA;
      other.idFrom = ids::kIdAppExit;  // not a button
      EXPECT_FALSE(toolbar.AnswerTooltip(&other));

      // The toolbar is the one band of a bar with a gripper, at the top.
      REBARBANDINFOA band{};
      band.cbSize = REBARBANDINFOA_V3_SIZE;
      band.fMask = RBBIM_STYLE | RBBIM_CHILD;
      ASSERT_EQ(::SendMessageA(toolbar.Bar(), RB_GETBANDCOUNT, 0, 0), 1);
      ASSERT_NE(::SendMessageA(toolbar.Bar(), RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&band)),
                0);
      EXPECT_NE(band.fStyle & RBBS_GRIPPERALWAYS, 0u);
      EXPECT_EQ(band.hwndChild, bar);
      EXPECT_GE(toolbar.Height(), 15);

      toolbar.Show(false);
      EXPECT_FALSE(toolbar.Visible());
      EXPECT_EQ(toolbar.Height(), 0);
    }
    ::DestroyWindow(parent);
  }
}

// A settings key of this test's own, removed at its end.
class RegistryTest : public ::testing::Test {
 protected:
  static constexpr char kKey[] = "dvdutil flash frame test";
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kKey).c_str());
  }
};

TEST_F(RegistryTest, SettingsLiveUnderKeyApplicationAndSection) {
  flash::RegistrySettings settings(kKey, "flashaspi");
  EXPECT_EQ(settings.SectionPath(resources::kRecentFileSection),
            "Software\\dvdutil flash frame test\\flashaspi\\Recent File List");
  EXPECT_FALSE(settings.ReadValue(resources::kRecentFileSection, "File1").has_value());

  ASSERT_TRUE(settings.ReplaceSection(resources::kRecentFileSection,
                                      {{"File1", "C:\\new.hex"}, {"File2", "C:\\old.hex"}}));
  EXPECT_EQ(settings.ReadValue(resources::kRecentFileSection, "File2"), "C:\\old.hex");
  // Replacing the section drops the values the new list does not name.
  ASSERT_TRUE(settings.ReplaceSection(resources::kRecentFileSection, {{"File1", "C:\\only.hex"}}));
  EXPECT_EQ(settings.ReadValue(resources::kRecentFileSection, "File1"), "C:\\only.hex");
  EXPECT_FALSE(settings.ReadValue(resources::kRecentFileSection, "File2").has_value());

  // What another program left there that is not a string is not taken.
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER,
                            settings.SectionPath(resources::kRecentFileSection).c_str(), 0,
                            KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const DWORD number = 7;
  ::RegSetValueExA(key, "File3", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
  ::RegCloseKey(key);
  EXPECT_FALSE(settings.ReadValue(resources::kRecentFileSection, "File3").has_value());
}

std::string DefaultOf(const std::string& path) {
  char text[512] = {};
  LONG size = sizeof text;
  if (::RegQueryValueA(HKEY_CURRENT_USER, path.c_str(), text, &size) != ERROR_SUCCESS) return "-";
  return text;
}

TEST_F(RegistryTest, DocumentTypeIsRegisteredAndTakesOnlyAFreeOrOwnExtension) {
  const flash::ShellClasses classes{std::string("Software\\") + kKey + "\\Classes", false};
  const std::string root = classes.userPath + "\\";
  const std::string exe = "C:\\dvdutil\\flashaspi.exe";
  ASSERT_TRUE(flash::RegisterShellDocumentType(resources::kAspiDocumentString, exe, classes));
  EXPECT_EQ(DefaultOf(root + "FLASHKIT.Document"), "FLASHKIT Document");
  EXPECT_EQ(DefaultOf(root + "FLASHKIT.Document\\DefaultIcon"), exe + ",0");
  EXPECT_EQ(DefaultOf(root + "FLASHKIT.Document\\shell\\open\\command"), "\"" + exe + "\" \"%1\"");
  EXPECT_EQ(DefaultOf(root + "FLASHKIT.Document\\shell\\print\\command"),
            "\"" + exe + "\" /p \"%1\"");
  EXPECT_EQ(DefaultOf(root + "FLASHKIT.Document\\shell\\printto\\command"),
            "\"" + exe + "\" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
  EXPECT_EQ(DefaultOf(root + ".hex"), "FLASHKIT.Document");

  // Another program's association stays.
  ::RegSetValueA(HKEY_CURRENT_USER, (root + ".hex").c_str(), REG_SZ, "Other.Hex", 9);
  ASSERT_TRUE(flash::RegisterShellDocumentType(resources::kAspiDocumentString, exe, classes));
  EXPECT_EQ(DefaultOf(root + ".hex"), "Other.Hex");

  // flashspti's document string names no type: nothing is written.
  const flash::ShellClasses sptiClasses{std::string("Software\\") + kKey + "\\SptiClasses", false};
  ASSERT_TRUE(flash::RegisterShellDocumentType(resources::kSptiDocumentString, exe, sptiClasses));
  HKEY key = nullptr;
  EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, sptiClasses.userPath.c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
}

TEST(FlashFrameFileDialog, FilterIsTheLoadersDescriptionWithTheHexPattern) {
  const std::string filter = flash::OpenFileFilter("Hex File(.HEX)");
  EXPECT_EQ(filter, std::string("Hex File(.HEX)\0*.hex\0\0", 22));
}

}  // namespace
