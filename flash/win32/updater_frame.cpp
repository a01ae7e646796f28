// The Win32 frame's commands, document cycle and initial update.
#include "flash/win32/updater_frame.h"

#include "flash/window/form_layout.h"
#include "resources/flash/flash_resource_ids.h"
#include "ui/win32/win32_dialog_host.h"

namespace flash {
namespace {

constexpr int kTree = resources::kIdcDriveTree;

RECT ToRect(const ui::ItemRect& place) {
  return RECT{place.x, place.y, place.x + place.width, place.y + place.height};
}

}  // namespace

Win32UpdaterFrame::Win32UpdaterFrame(const AppVariant& variant,
                                     ui::win32::Win32WindowSystem& windows,
                                     OpenFileDialog& fileDialog, RecentFileList& recentFiles)
    : variant_(variant),
      windows_(windows),
      recentFiles_(recentFiles),
      view_(variant, windows, fileDialog, [this](int command) { Dispatch(command); }),
      documents_(variant, recentFiles, *this),
      window_(variant.menus,
              FrameCallbacks{
                  [this](int command) { Dispatch(command); },
                  [this](const std::vector<std::string>& paths) { DropFiles(paths); },
                  [this] { LayOutForm(); },
              }) {}

Win32UpdaterFrame::~Win32UpdaterFrame() {
  // The form goes before the view it tells, and before the frame it lives in.
  form_.reset();
}

bool Win32UpdaterFrame::Create() {
  RECT first{};
  if (variant_.halfWidthFirstFrame) first = FirstFramePlace();
  if (!window_.Create(FrameWindowStyle(variant_.hasMaximizeBox),
                      variant_.halfWidthFirstFrame ? &first : nullptr, windows_.Session().Icon())) {
    return false;
  }
  form_ = std::make_unique<ui::win32::Win32OpenWindow>(ui::win32::Win32DialogHost::CreateChild(
      windows_.Session(), variant_.dialogs.mainForm, view_, window_.Handle()));
  if (!form_->IsOpen()) return false;
  window_.AttachForm(FormWindow());
  RecentFilesChanged();
  SetCaption(documents_.Caption());
  return true;
}

HWND Win32UpdaterFrame::FormWindow() const {
  return form_ != nullptr ? form_->DialogHost().Window() : nullptr;
}

void Win32UpdaterFrame::LayOutForm() {
  HWND form = FormWindow();
  if (form == nullptr) return;
  RECT client{};
  ::GetClientRect(form, &client);
  view_.LayOut(client.right - client.left, client.bottom - client.top);
}

void Win32UpdaterFrame::Dispatch(int command) {
  // While a command runs the window takes no input.
  if (view_.Busy() || window_.Handle() == nullptr) return;
  const int recent = command - resources::kIdFileMruFirst;
  if (recent >= 0 && recent < recentFiles_.Capacity()) {
    if (static_cast<std::size_t>(recent) < recentFiles_.Entries().size()) {
      // A copy: opening the document reorders the list.
      const std::string path = recentFiles_.Entries()[static_cast<std::size_t>(recent)];
      documents_.OpenDocument(path);
    }
    return;
  }
  DispatchFrameCommand(command, variant_, view_, documents_, *this, systemInfo_);
}

void Win32UpdaterFrame::CloseFrame() { window_.Close(); }

void Win32UpdaterFrame::ToggleToolbar() { window_.ShowToolbar(!window_.Toolbar().Visible()); }

void Win32UpdaterFrame::DropFiles(const std::vector<std::string>& paths) {
  if (view_.Busy()) return;
  for (const std::string& path : paths) documents_.OpenDocument(path);
}

void Win32UpdaterFrame::RecentFilesChanged() {
  std::vector<std::string> texts;
  const std::vector<std::string>& entries = recentFiles_.Entries();
  for (std::size_t index = 0; index < entries.size(); ++index) {
    texts.push_back(RecentFileMenuText(static_cast<int>(index), entries[index]));
  }
  window_.ShowRecentFiles(texts, recentFiles_.Capacity());
}

void Win32UpdaterFrame::InitialUpdate() {
  HWND form = FormWindow();
  if (form == nullptr) return;
  if (HWND tree = ::GetDlgItem(form, kTree)) {
    const LONG style = ::GetWindowLongA(tree, GWL_STYLE);
    ::SetWindowLongA(tree, GWL_STYLE, style | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);
  }
  view_.ScanDrives();
  const int cx = ::GetSystemMetrics(SM_CXFULLSCREEN);
  const int cy = ::GetSystemMetrics(SM_CYFULLSCREEN);
  window_.Place(ToRect(CentredFrameRect(cx, cy)));
  RECT client{};
  ::GetClientRect(form, &client);
  view_.FinishInitialUpdate(client.right - client.left, client.bottom - client.top);
}

}  // namespace flash
