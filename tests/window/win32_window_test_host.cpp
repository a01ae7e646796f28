// The Win32 host's side of the shared window tests (under Wine): a scripted
// Win32WindowSystem and a driver that sends the real controls the messages a
// user's clicks and keys would (BM_CLICK, CBN_SELCHANGE, WM_SYSCOMMAND) and
// reads them back with GetDlgItemTextA and friends.
#include <cstddef>
#include <map>

#include "tests/window/window_test_host.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window_system.h"

namespace window_test {
namespace {

using ui::win32::Win32WindowSystem;

// Where a window's records start: what it shows from its initialisation on.
struct RecordStart {
  std::size_t message = 0;
  std::size_t modal = 0;
};

class TestWindowSystem : public Win32WindowSystem {
 public:
  TestWindowSystem() { Session().SetScripted(true); }

  std::unique_ptr<ui::OpenWindow> Open(const ui::DialogTemplate& dialog,
                                       ui::DialogLogic& logic) override {
    const RecordStart start{Session().Prompts().size(), Session().ModalCaptions().size()};
    std::unique_ptr<ui::OpenWindow> window = Win32WindowSystem::Open(dialog, logic);
    starts_[window.get()] = start;
    return window;
  }

  // A window opened elsewhere (a frame's form) starts where the records stand now.
  RecordStart StartOf(ui::OpenWindow& window) {
    const auto found = starts_.find(&window);
    if (found != starts_.end()) return found->second;
    return RecordStart{Session().Prompts().size(), Session().ModalCaptions().size()};
  }

 private:
  // Windows are never dereferenced through this map, only looked up.
  std::map<const ui::OpenWindow*, RecordStart> starts_;
};

TestWindowSystem& Win32System() {
  // Lives to the end of the program, after every window of every test.
  static auto* system = new TestWindowSystem();
  return *system;
}

bool IsComboBox(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof(name));
  return lstrcmpiA(name, "ComboBox") == 0;
}

class Win32WindowDriver : public WindowDriver {
 public:
  explicit Win32WindowDriver(ui::OpenWindow& window)
      : window_(window),
        host_(dynamic_cast<ui::win32::Win32OpenWindow&>(window).DialogHost()),
        firstMessage_(Win32System().StartOf(window).message),
        firstModal_(Win32System().StartOf(window).modal) {}

  // A user cannot click a disabled or hidden button.
  void Press(int id) override {
    HWND button = Item(id);
    if (button != nullptr && IsWindowEnabled(button) != FALSE && IsWindowVisible(button) != FALSE) {
      SendMessageW(button, BM_CLICK, 0, 0);
    }
    Win32WindowSystem::PumpPending();
  }

  void SystemCommand(int command) override {
    if (host_.Window() != nullptr) {
      SendMessageW(host_.Window(), WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
    }
    // SC_CLOSE's IDCANCEL comes posted.
    Win32WindowSystem::PumpPending();
  }

  void ChooseListItem(int id, int index) override {
    HWND combo = Item(id);
    if (combo == nullptr) return;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(host_.Window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    Win32WindowSystem::PumpPending();
  }

  void Type(int id, const std::string& text) override {
    HWND control = Item(id);
    if (control == nullptr) return;
    // A combo box takes typing in its edit field; none in a drop-down list.
    if (IsComboBox(control)) {
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      if (GetComboBoxInfo(control, &info) == FALSE || info.hwndItem == nullptr ||
          info.hwndItem == info.hwndCombo) {
        return;
      }
      control = info.hwndItem;
    }
    // Select everything and replace it, as typing over it does: the edit
    // control reports the change (EN_CHANGE, CBN_EDITCHANGE from a combo).
    const std::string ansi = ui::win32::Utf8ToAnsi(text);
    SendMessageA(control, EM_SETSEL, 0, -1);
    SendMessageA(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ansi.c_str()));
    Win32WindowSystem::PumpPending();
  }

  std::string Text(int id) const override { return ui::win32::WindowTextUtf8(Item(id)); }
  bool Enabled(int id) const override {
    HWND item = Item(id);
    return item != nullptr && IsWindowEnabled(item) != FALSE;
  }
  bool Checked(int id) const override {
    HWND item = Item(id);
    return item != nullptr && SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  bool Exists(int id) const override { return Item(id) != nullptr; }
  int ListCount(int id) const override { return host_.ListItemCount(id); }
  std::string ListText(int id, int index) const override { return host_.ListItemText(id, index); }
  int ListSelection(int id) const override { return host_.ListSelection(id); }
  bool IsOpen() const override { return window_.IsOpen(); }

  void PresetAnswer(int answer) override { Win32System().Session().PresetAnswer(answer); }

  std::vector<ShownMessage> Messages() const override {
    const auto& prompts = Win32System().Session().Prompts();
    std::vector<ShownMessage> shown;
    for (std::size_t k = firstMessage_; k < prompts.size(); ++k) {
      shown.push_back({prompts[k].text, prompts[k].caption, prompts[k].style});
    }
    return shown;
  }

  std::vector<std::string> ModalCaptions() const override {
    const auto& captions = Win32System().Session().ModalCaptions();
    return std::vector<std::string>(captions.begin() + static_cast<std::ptrdiff_t>(firstModal_),
                                    captions.end());
  }

 private:
  HWND Item(int id) const {
    return host_.Window() != nullptr ? GetDlgItem(host_.Window(), id) : nullptr;
  }

  ui::OpenWindow& window_;
  ui::win32::Win32DialogHost& host_;
  std::size_t firstMessage_;
  std::size_t firstModal_;
};

}  // namespace

ui::WindowSystem& System() { return Win32System(); }

std::unique_ptr<WindowDriver> Drive(ui::OpenWindow& window) {
  return std::make_unique<Win32WindowDriver>(window);
}

}  // namespace window_test
