// The updaters' native frame under Wine, on an emulated machine: caption,
// window style and placement, the menu bar and toolbar as the frame shows
// them, accelerators through the real table, files dropped on the frame, the
// recent files in the registry and their menu, the toolbar's View item, System
// Info, and the form's Exit button closing the frame.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "emulator/drive_catalogue.h"
#include "emulator/emulated_machine.h"
#include "emulator/firmware_builder.h"
#include "flash/win32/registry_settings.h"
#include "flash/win32/updater_program.h"
#include "flash/window/form_layout.h"
#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"
#include "tests/support/window_test_machine.h"
#include "tests/window/window_test_host.h"
#include "ui/win32/win32_window_system.h"
// After windows.h, which it needs.
#include <shlobj.h>

namespace {

using flash::AppVariant;
namespace ids = resources;

constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"},
               {"number": 1, "identifier": "NORTHSTAR ULTRA2 WIDE SCSI HOST"}],
  "systemInfoComponent": {"platform": 1, "version": 4.1, "build": 2222},
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"},
    {"letter": "E", "adapter": 1, "target": 0, "type": "0x04",
     "vendor": "WRITEON", "product": "CD-RW DRIVE 4012", "revision": "1.0C"}
  ]})";

constexpr char kSettingsKey[] = "dvdutil flash frame test";

class ScriptedFiles : public flash::OpenFileDialog {
 public:
  std::optional<std::string> ChooseOpenFile(const flash::OpenFileRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::string> answers;
  std::vector<flash::OpenFileRequest> requests;
};

std::string WindowText(HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

RECT WindowPlace(HWND window) {
  RECT place{};
  ::GetWindowRect(window, &place);
  return place;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// A control's rectangle in its dialog's client area.
ui::ItemRect ControlPlace(HWND dialog, int id) {
  RECT place = WindowPlace(::GetDlgItem(dialog, id));
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

// A DROPFILES block as the shell hands it over, ANSI paths.
HDROP DropOf(const std::vector<std::string>& paths) {
  std::size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) bytes += path.size() + 1;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  char* at = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const std::string& path : paths) {
    path.copy(at, path.size());
    at += path.size() + 1;
  }
  ::GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

class FlashFrameTest : public testing::TestWithParam<const AppVariant*> {
 protected:
  const AppVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &AppVariant::Aspi(); }

  void SetUp() override {
    ClearSettings();
    folder_ = std::filesystem::temp_directory_path() /
              ("flash-frame-" + std::string(Variant().applicationTitle));
    std::filesystem::create_directories(folder_);
    hexPath_ = (folder_ / "UPDATE.HEX").string();
    std::ofstream(hexPath_, std::ios::binary)
        << emu::BuildFirmwareHex(*emu::FindDriveModel("KD-410"), "1.05");
    windows_.SetApplicationTitle(Variant().applicationTitle);
    machine_ = testsupport::LoadWindowTestMachine(kMachine);
    ASSERT_NE(machine_, nullptr);
    settings_ = std::make_unique<flash::RegistrySettings>(kSettingsKey, Variant().applicationTitle);
    app_ = std::make_unique<flash::Win32UpdaterApp>(Variant(), windows_, *machine_, *settings_,
                                                    files_);
    firstPrompt_ = windows_.Session().Prompts().size();
    ASSERT_EQ(app_->Start({}), 0);
    // Shown, as the program shows it: a user clicks only what is visible.
    ::ShowWindow(FrameWindow(), SW_SHOWNOACTIVATE);
    driver_ = window_test::Drive(*Frame().Form());
  }

  void TearDown() override {
    driver_.reset();
    app_.reset();
    machine_.reset();
    ClearSettings();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static void ClearSettings() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kSettingsKey).c_str());
  }

  flash::Win32UpdaterFrame& Frame() { return app_->Frame(); }
  HWND FrameWindow() { return Frame().Window().Handle(); }
  HWND FormHandle() {
    return dynamic_cast<ui::win32::Win32OpenWindow&>(*Frame().Form()).DialogHost().Window();
  }
  HWND Toolbar() { return Frame().Window().Toolbar().Handle(); }

  // Messages shown since the start of this test's program.
  std::vector<ui::win32::ShownPrompt> Prompts() {
    const auto& all = windows_.Session().Prompts();
    return {all.begin() + static_cast<std::ptrdiff_t>(firstPrompt_), all.end()};
  }

  std::optional<std::string> RecentSetting(int number) {
    return settings_->ReadValue(ids::kRecentFileSection, "File" + std::to_string(number));
  }

  // A key with Ctrl held, through the frame's accelerator table as the loop does.
  bool CtrlKey(WORD key) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG message{FrameWindow(), WM_KEYDOWN, key, 0, 0, {}};
    const bool translated =
        ::TranslateAcceleratorW(FrameWindow(), Frame().Window().Accelerators(), &message) != 0;
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    ui::win32::Win32WindowSystem::PumpPending();
    return translated;
  }

  void MenuCommand(int command) {
    ::SendMessageA(FrameWindow(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    ui::win32::Win32WindowSystem::PumpPending();
  }

  RECT CentredPlace() const {
    const ui::ItemRect centred = flash::CentredFrameRect(::GetSystemMetrics(SM_CXFULLSCREEN),
                                                         ::GetSystemMetrics(SM_CYFULLSCREEN));
    return {centred.x, centred.y, centred.x + centred.width, centred.y + centred.height};
  }

  ui::win32::Win32WindowSystem& windows_ =
      dynamic_cast<ui::win32::Win32WindowSystem&>(window_test::System());
  std::filesystem::path folder_;
  std::string hexPath_;
  ScriptedFiles files_;
  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<flash::RegistrySettings> settings_;
  std::unique_ptr<flash::Win32UpdaterApp> app_;
  std::unique_ptr<window_test::WindowDriver> driver_;
  std::size_t firstPrompt_ = 0;
};

TEST_P(FlashFrameTest, CaptionStyleMenusAndToolbarAreTheBuildsOwn) {
  EXPECT_EQ(WindowText(FrameWindow()), IsAspi()
                                           ? "DVD-ROM Firmware Update Tool for Win32 - FLASHKIT"
                                           : "Update DVD for W2K - ");
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(FrameWindow(), GWL_STYLE));
  const DWORD boxes = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
  EXPECT_EQ(style & boxes, IsAspi() ? (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
                                    : (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));

  HMENU bar = ::GetMenu(FrameWindow());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(::GetMenuItemCount(bar), IsAspi() ? 4 : 3);
  char text[128] = {};
  ::GetMenuStringA(bar, ids::kIdAppAbout, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, IsAspi() ? "&About FLASHKIT..." : "&About flashspti...");
  ::GetMenuStringA(bar, ids::kIdFileOpen, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Open...\tCtrl+O");
  ::GetMenuStringA(bar, ids::kIdFileMruFirst, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Recent File");
  EXPECT_NE(::GetMenuState(bar, ids::kIdFileMruFirst, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(::GetMenuState(bar, ids::kIdViewToolbar, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(::GetMenuState(bar, ids::kIdAspiSystemInfo, MF_BYCOMMAND) != static_cast<UINT>(-1),
            IsAspi());
  if (IsAspi()) {
    EXPECT_NE(::GetMenuState(bar, ids::kIdAspiFirmwareFileSearch, MF_BYCOMMAND) & MF_GRAYED, 0u);
  }

  ASSERT_EQ(::SendMessageA(Toolbar(), TB_BUTTONCOUNT, 0, 0), 3);
  const int middle = IsAspi() ? ids::kIdAspiToolbarMiddle : ids::kIdSptiToolbarMiddle;
  EXPECT_EQ(::SendMessageA(Toolbar(), TB_GETSTATE, middle, 0) & TBSTATE_ENABLED, 0);
  EXPECT_NE(::SendMessageA(Toolbar(), TB_GETSTATE, ids::kIdFileOpen, 0) & TBSTATE_ENABLED, 0);
  // The middle button is the toolbar's, not a menu's: no command of the menu.
  EXPECT_EQ(::GetMenuState(bar, ids::kIdAspiToolbarMiddle, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_P(FlashFrameTest, FrameIsCentredAndTheFormFillsItByTheFormsFormulas) {
  EXPECT_TRUE(SameRect(WindowPlace(FrameWindow()), CentredPlace()))
      << Describe(WindowPlace(FrameWindow())) << " vs " << Describe(CentredPlace());
  // The form starts below the toolbar and takes the rest of the client area.
  RECT client{};
  ::GetClientRect(FrameWindow(), &client);
  RECT form = WindowPlace(FormHandle());
  ::MapWindowPoints(nullptr, FrameWindow(), reinterpret_cast<POINT*>(&form), 2);
  EXPECT_EQ(form.top, Frame().Window().Toolbar().Height());
  EXPECT_GT(form.top, 0);
  EXPECT_EQ(form.bottom, client.bottom);
  EXPECT_EQ(form.right - form.left, client.right);

  const int labelId = IsAspi() ? Variant().driveListLabelId : Variant().statusLabelId;
  const flash::FormLayout layout =
      flash::LayOutForm(Variant().layout, form.right - form.left, form.bottom - form.top,
                        ControlPlace(FormHandle(), labelId).height,
                        ControlPlace(FormHandle(), Variant().fileOpenId).height);
  EXPECT_EQ(ControlPlace(FormHandle(), ids::kIdcDriveTree), layout.driveTree);
  EXPECT_EQ(ControlPlace(FormHandle(), Variant().statusBoxId), layout.statusBox);
  EXPECT_EQ(ControlPlace(FormHandle(), Variant().exitId), layout.exit);

  const LONG tree = ::GetWindowLongA(::GetDlgItem(FormHandle(), ids::kIdcDriveTree), GWL_STYLE);
  EXPECT_EQ(tree & (TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT),
            TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);
}

TEST_P(FlashFrameTest, MinimizingKeepsTheLayoutAndMaximizingLaysTheFormOutAgain) {
  const ui::ItemRect exit = ControlPlace(FormHandle(), Variant().exitId);
  ::ShowWindow(FrameWindow(), SW_MINIMIZE);
  EXPECT_EQ(ControlPlace(FormHandle(), Variant().exitId).width, exit.width);
  ::ShowWindow(FrameWindow(), SW_RESTORE);
  EXPECT_EQ(ControlPlace(FormHandle(), Variant().exitId), exit);
  if (!IsAspi()) return;  // only flashaspi has a maximize box
  ::ShowWindow(FrameWindow(), SW_MAXIMIZE);
  RECT form{};
  ::GetClientRect(FormHandle(), &form);
  const flash::FormLayout layout =
      flash::LayOutForm(Variant().layout, form.right, form.bottom,
                        ControlPlace(FormHandle(), Variant().driveListLabelId).height,
                        ControlPlace(FormHandle(), Variant().fileOpenId).height);
  EXPECT_GT(form.right, exit.x + exit.width);
  EXPECT_EQ(ControlPlace(FormHandle(), Variant().exitId), layout.exit);
}

TEST_P(FlashFrameTest, OlderBuildsFirstFrameIsHalfTheScreenWideAndFullHigh) {
  // A frame created but given no document yet: only its first placement.
  flash::RecentFileList recent(*settings_, Variant().recentFileCount);
  flash::Win32UpdaterFrame frame(Variant(), windows_, files_, recent);
  ASSERT_TRUE(frame.Create());
  const int cx = ::GetSystemMetrics(SM_CXFULLSCREEN);
  const int cy = ::GetSystemMetrics(SM_CYFULLSCREEN);
  const RECT place = WindowPlace(frame.Window().Handle());
  if (IsAspi()) {
    EXPECT_TRUE(SameRect(place, RECT{cx / 4, cy / 4, cx / 4 + cx / 2, cy / 4 + cy}))
        << Describe(place);
  } else {
    EXPECT_FALSE(SameRect(place, RECT{cx / 4, cy / 4, cx / 4 + cx / 2, cy / 4 + cy}));
  }
}

TEST_P(FlashFrameTest, CtrlNRescansAndRecentresCtrlOOpensTheFileDialog) {
  ::MoveWindow(FrameWindow(), 3, 4, 300, 200, TRUE);
  machine_->Log().Clear();
  ASSERT_TRUE(CtrlKey('N'));
  EXPECT_TRUE(SameRect(WindowPlace(FrameWindow()), CentredPlace()));
  bool inquired = false;
  for (const emu::LoggedCommand& command : machine_->Log().Entries()) {
    inquired = inquired || command.cdb[0] == 0x12;
  }
  EXPECT_TRUE(inquired);

  ASSERT_TRUE(CtrlKey('O'));
  ASSERT_EQ(files_.requests.size(), 1u);
  EXPECT_EQ(files_.requests[0].title, "Select the Update Hex File");
  // Other keys with Ctrl are not the frame's.
  EXPECT_FALSE(CtrlKey('S'));
  EXPECT_EQ(files_.requests.size(), 1u);
}

TEST_P(FlashFrameTest, DroppedFileIsOpenedAsADocumentAndLoadsNoFirmware) {
  Frame().View().SetStatusText("before\r\n");
  Frame().View().RefreshStatusBox();
  ::SendMessageA(FrameWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({hexPath_})), 0);
  ui::win32::Win32WindowSystem::PumpPending();

  EXPECT_EQ(driver_->Text(Variant().statusBoxId), "before\r\n");
  EXPECT_FALSE(app_->Program().Image().fileOpenUsed);
  EXPECT_EQ(RecentSetting(1), hexPath_);
  EXPECT_EQ(WindowText(FrameWindow()),
            IsAspi() ? "UPDATE.HEX - FLASHKIT" : "Update DVD for W2K - ");
  char text[512] = {};
  HMENU bar = ::GetMenu(FrameWindow());
  ::GetMenuStringA(bar, ids::kIdFileMruFirst, text, sizeof text, MF_BYCOMMAND);
  EXPECT_EQ(std::string(text), "&1 " + hexPath_);
  EXPECT_EQ(::GetMenuState(bar, ids::kIdFileMruFirst, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_TRUE(Prompts().empty());
}

TEST_P(FlashFrameTest, RecentListIsKeptInTheRegistryUpToTheBuildsLength) {
  std::vector<std::string> paths;
  for (int number = 0; number < 11; ++number) {
    paths.push_back((folder_ / ("f" + std::to_string(number) + ".hex")).string());
    std::ofstream(paths.back()) << ":00000001FF\n";
  }
  ::SendMessageA(FrameWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(paths)), 0);
  const int capacity = Variant().recentFileCount;
  EXPECT_EQ(RecentSetting(1), paths.back());
  EXPECT_EQ(RecentSetting(capacity), paths[paths.size() - static_cast<std::size_t>(capacity)]);
  EXPECT_FALSE(RecentSetting(capacity + 1).has_value());
  HMENU file = ::GetSubMenu(::GetMenu(FrameWindow()), 0);
  EXPECT_EQ(::GetMenuItemCount(file), 4 + capacity);

  // A recent entry whose file went is reported and dropped, from the menu too.
  std::filesystem::remove(paths.back());
  MenuCommand(ids::kIdFileMruFirst);
  const std::vector<ui::win32::ShownPrompt> prompts = Prompts();
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_NE(prompts[0].text.find("Cannot find this file."), std::string::npos) << prompts[0].text;
  EXPECT_EQ(prompts[0].caption, Variant().applicationTitle);
  EXPECT_EQ(RecentSetting(1), paths[paths.size() - 2]);
  EXPECT_EQ(::GetMenuItemCount(file), 4 + capacity - 1);

  // Another entry goes to the top; the list is read back by the next run.
  MenuCommand(ids::kIdFileMruFirst + 2);
  EXPECT_EQ(RecentSetting(1), paths[paths.size() - 4]);
  flash::RecentFileList reread(*settings_, capacity);
  reread.Load();
  EXPECT_EQ(reread.Entries().front(), paths[paths.size() - 4]);
}

TEST_P(FlashFrameTest, ToolbarItemHidesAndShowsTheToolbarAndTicksItself) {
  HMENU bar = ::GetMenu(FrameWindow());
  MenuCommand(ids::kIdViewToolbar);
  EXPECT_FALSE(::IsWindowVisible(Toolbar()));
  EXPECT_EQ(::GetMenuState(bar, ids::kIdViewToolbar, MF_BYCOMMAND) & MF_CHECKED, 0u);
  RECT form = WindowPlace(FormHandle());
  ::MapWindowPoints(nullptr, FrameWindow(), reinterpret_cast<POINT*>(&form), 2);
  EXPECT_EQ(form.top, 0);
  MenuCommand(ids::kIdViewToolbar);
  EXPECT_NE(::IsWindowVisible(Toolbar()), FALSE);
  EXPECT_NE(::GetMenuState(bar, ids::kIdViewToolbar, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_P(FlashFrameTest, ToolbarAboutOpensTheAboutBoxAndHelpHasSystemInfoInTheOlderBuild) {
  const std::size_t modals = driver_->ModalCaptions().size();
  ::SendMessageA(FrameWindow(), WM_COMMAND, MAKEWPARAM(ids::kIdAppAbout, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Toolbar()));
  const std::vector<std::string> captions = driver_->ModalCaptions();
  ASSERT_EQ(captions.size(), modals + 1);
  EXPECT_EQ(captions.back(), IsAspi() ? "About FLASHKIT for Win32" : "About flashspti");

  MenuCommand(ids::kIdAspiSystemInfo);
  const std::vector<ui::win32::ShownPrompt> prompts = Prompts();
  if (IsAspi()) {
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "Platform = 1\r\n OS Verison = 4.100.2222");
    EXPECT_EQ(prompts[0].caption, "System Information");
  } else {
    EXPECT_TRUE(prompts.empty());
  }
}

TEST_P(FlashFrameTest, UpdateRunsThroughTheFramesFormToVerifyOk) {
  files_.answers.push_back(hexPath_);
  driver_->Press(Variant().fileOpenId);
  ASSERT_NE(driver_->Text(Variant().statusBoxId).find("F/W file load success."), std::string::npos)
      << driver_->Text(Variant().statusBoxId);
  ui::WindowHost& form = Frame().Form()->Host();
  const int driveD = IsAspi() ? 1 : 0;  // below its adapter, or the first letter
  form.SelectTreeItem(ids::kIdcDriveTree, driveD);
  const std::size_t modals = driver_->ModalCaptions().size();
  driver_->Press(Variant().updateId);

  const std::vector<std::string> captions = driver_->ModalCaptions();
  ASSERT_EQ(captions.size(), modals + 1);
  EXPECT_EQ(captions.back(), "Confirmation of update");
  const std::string status = driver_->Text(Variant().statusBoxId);
  EXPECT_NE(status.find("Verify OK\r\nEnd update\r\n"), std::string::npos) << status;
  EXPECT_FALSE(Frame().View().ProgressWindow().IsShown());
  EXPECT_EQ(Prompts().size(), IsAspi() ? 0u : 1u);
  EXPECT_TRUE(::IsWindow(FrameWindow()));
}

TEST_P(FlashFrameTest, SystemInfoWithoutTheComponentSaysSoAndStartUpWasSilent) {
  if (!IsAspi()) return;  // only flashaspi has System Info
  driver_.reset();
  app_.reset();
  machine_ = testsupport::LoadWindowTestMachine(
      R"({"systemInfoComponent": {"createFails": true},
          "adapters": [{"number": 0, "identifier": "ESDI_506"}], "devices": []})");
  ASSERT_NE(machine_, nullptr);
  app_ =
      std::make_unique<flash::Win32UpdaterApp>(Variant(), windows_, *machine_, *settings_, files_);
  firstPrompt_ = windows_.Session().Prompts().size();
  ASSERT_EQ(app_->Start({}), 0);
  EXPECT_TRUE(Prompts().empty());
  MenuCommand(ids::kIdAspiSystemInfo);
  const std::vector<ui::win32::ShownPrompt> prompts = Prompts();
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_EQ(prompts[0].text, "The system information is not available on this computer.");
  EXPECT_EQ(prompts[0].caption, "System Information");
}

TEST_P(FlashFrameTest, DoubleClickInTheTreeUpdatesOnlyInTheNtBuildAfterFileOpen) {
  HWND tree = ::GetDlgItem(FormHandle(), ids::kIdcDriveTree);
  // The tree's own double click on the first drive's label (a button press
  // first would make the tree wait for the real mouse to move or let go).
  const auto doubleClick = [&] {
    HTREEITEM first = TreeView_GetRoot(tree);
    RECT label{};
    TreeView_GetItemRect(tree, first, &label, TRUE);
    const LPARAM at = MAKELPARAM(label.left + 2, (label.top + label.bottom) / 2);
    ::SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ui::win32::Win32WindowSystem::PumpPending();
  };
  doubleClick();
  EXPECT_EQ(driver_->Text(Variant().statusBoxId), "");
  driver_->Press(Variant().fileOpenId);  // cancelled: the flag is set all the same
  doubleClick();
  const std::string status = driver_->Text(Variant().statusBoxId);
  if (IsAspi()) {
    EXPECT_EQ(status, "");
  } else {
    // The update ran, and refused: no image is loaded.
    EXPECT_NE(status.find("This file is not available"), std::string::npos) << status;
  }
  EXPECT_TRUE(Frame().View().Confirmations().empty());
}

TEST_P(FlashFrameTest, ExitButtonClosesTheFrame) {
  HWND frame = FrameWindow();
  driver_->Press(Variant().exitId);
  EXPECT_FALSE(::IsWindow(frame));
  EXPECT_EQ(Frame().Window().Handle(), nullptr);
  EXPECT_TRUE(Prompts().empty());
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, FlashFrameTest,
                         testing::Values(&AppVariant::Aspi(), &AppVariant::Spti()),
                         [](const testing::TestParamInfo<const AppVariant*>& info) {
                           return std::string(info.param->applicationTitle);
                         });

TEST(FlashFrameCommandLine, ShellSwitchesAreNoDocuments) {
  EXPECT_EQ(flash::DocumentArguments({"/p", "C:\\a.hex", "-x"}),
            std::vector<std::string>{"C:\\a.hex"});
  EXPECT_TRUE(flash::PrintRequested({"/pt", "C:\\a.hex", "printer"}));
  EXPECT_FALSE(flash::PrintRequested({"C:\\a.hex"}));
}

}  // namespace
