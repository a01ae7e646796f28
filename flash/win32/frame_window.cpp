// FrameWindow: the frame's class, its messages and its loop.
#include "flash/win32/frame_window.h"

#include <shellapi.h>

#include "flash/win32/frame_accelerators.h"
#include "resources/flash/flash_resource_ids.h"
#include "ui/win32/win32_dialog_host.h"

namespace flash {
namespace {

// Room for a dropped file's path with the "A" calls.
constexpr UINT kDropPathCapacity = 1024;

HINSTANCE ThisModule() { return ::GetModuleHandleA(nullptr); }

bool RegisterFrameClass(WNDPROC procedure, HICON icon) {
  WNDCLASSA existing{};
  if (::GetClassInfoA(ThisModule(), kFrameWindowClass, &existing)) return true;
  WNDCLASSA frameClass{};
  frameClass.style = CS_DBLCLKS;
  frameClass.lpfnWndProc = procedure;
  frameClass.hInstance = ThisModule();
  frameClass.hIcon = icon;
  frameClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frameClass.lpszClassName = kFrameWindowClass;
  return ::RegisterClassA(&frameClass) != 0;
}

}  // namespace

DWORD FrameWindowStyle(bool hasMaximizeBox) {
  if (!hasMaximizeBox) return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  return WS_OVERLAPPEDWINDOW & ~WS_THICKFRAME;
}

RECT FirstFramePlace() {
  const int cx = ::GetSystemMetrics(SM_CXFULLSCREEN);
  const int cy = ::GetSystemMetrics(SM_CYFULLSCREEN);
  return RECT{cx / 4, cy / 4, cx / 4 + cx / 2, cy / 4 + cy};
}

FrameWindow::FrameWindow(const resources::FlashMenus& menus, FrameCallbacks callbacks)
    : menusTable_(menus), callbacks_(std::move(callbacks)) {}

FrameWindow::~FrameWindow() {
  if (frame_ != nullptr) ::DestroyWindow(frame_);
  if (accelerators_ != nullptr) ::DestroyAcceleratorTable(accelerators_);
}

bool FrameWindow::Create(DWORD style, const RECT* first, HICON icon) {
  if (!RegisterFrameClass(&FrameWindow::WindowProcedure, icon)) return false;
  menu_ = BuildFrameMenu(menusTable_);
  accelerators_ = BuildFrameAccelerators(menusTable_);
  const int x = first != nullptr ? first->left : CW_USEDEFAULT;
  const int y = first != nullptr ? first->top : CW_USEDEFAULT;
  const int width = first != nullptr ? first->right - first->left : CW_USEDEFAULT;
  const int height = first != nullptr ? first->bottom - first->top : CW_USEDEFAULT;
  frame_ = ::CreateWindowExA(0, kFrameWindowClass, "", style, x, y, width, height, nullptr,
                             menu_.bar, ThisModule(), this);
  if (frame_ == nullptr) {
    // A menu that never reached a window is not destroyed with one.
    ::DestroyMenu(menu_.bar);
    menu_ = FrameMenu{};
    return false;
  }
  ::DragAcceptFiles(frame_, TRUE);
  return true;
}

LRESULT CALLBACK FrameWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* self = static_cast<FrameWindow*>(creation->lpCreateParams);
    self->frame_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FrameWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
  return self->OnMessage(message, wParam, lParam);
}

LRESULT FrameWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return toolbar_.Create(frame_, menusTable_) ? 0 : -1;
    case WM_SIZE:
      // A minimized frame has no client area to lay the form out in.
      if (wParam == SIZE_MINIMIZED) return 0;
      toolbar_.FitToFrame();
      FitForm();
      return 0;
    case WM_SETFOCUS:
      if (form_ != nullptr) ::SetFocus(form_);
      return 0;
    case WM_COMMAND:
      // Menu items and accelerators carry no window; toolbar buttons carry the bar.
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == toolbar_.Handle()) {
        if (callbacks_.command) callbacks_.command(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY:
      if (toolbar_.AnswerTooltip(reinterpret_cast<NMHDR*>(lParam))) return 0;
      break;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      ::DestroyWindow(frame_);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrA(frame_, GWLP_USERDATA, 0);
      frame_ = nullptr;
      form_ = nullptr;
      // Only a running loop is ended: a quit message left behind would end
      // the next modal loop of the thread instead.
      if (looping_) ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(frame_, message, wParam, lParam);
}

void FrameWindow::AttachForm(HWND form) {
  form_ = form;
  FitForm();
}

RECT FrameWindow::FormPlace() const {
  RECT client{};
  if (frame_ != nullptr) ::GetClientRect(frame_, &client);
  client.top += toolbar_.Height();
  if (client.bottom < client.top) client.bottom = client.top;
  return client;
}

void FrameWindow::FitForm() {
  if (form_ == nullptr) return;
  const RECT place = FormPlace();
  ::MoveWindow(form_, place.left, place.top, place.right - place.left, place.bottom - place.top,
               TRUE);
  if (callbacks_.formResized) callbacks_.formResized();
}

void FrameWindow::SetCaption(const std::string& caption) {
  if (frame_ != nullptr) ::SetWindowTextA(frame_, caption.c_str());
}

void FrameWindow::ShowToolbar(bool visible) {
  toolbar_.Show(visible);
  ::CheckMenuItem(menu_.bar, resources::kIdViewToolbar,
                  MF_BYCOMMAND | (visible ? MF_CHECKED : MF_UNCHECKED));
  FitForm();
}

void FrameWindow::Place(const RECT& place) {
  if (frame_ != nullptr) {
    ::MoveWindow(frame_, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 TRUE);
  }
}

void FrameWindow::ShowRecentFiles(const std::vector<std::string>& entryTexts, int capacity) {
  flash::ShowRecentFiles(menu_, entryTexts, capacity);
}

void FrameWindow::Close() {
  if (frame_ != nullptr) ::SendMessageA(frame_, WM_CLOSE, 0, 0);
}

void FrameWindow::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    char path[kDropPathCapacity] = {};
    const UINT length = ::DragQueryFileA(drop, index, path, kDropPathCapacity);
    // A path that did not fit is not opened under a cut name.
    if (length > 0 && length < kDropPathCapacity) paths.emplace_back(path, length);
  }
  ::DragFinish(drop);
  if (callbacks_.dropFiles && !paths.empty()) callbacks_.dropFiles(paths);
}

int FrameWindow::RunMessageLoop() {
  MSG message{};
  looping_ = true;
  while (frame_ != nullptr && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (accelerators_ != nullptr && ::TranslateAcceleratorW(frame_, accelerators_, &message) != 0) {
      continue;
    }
    // The form's keys (Tab, mnemonics) and those of any other dialog of ours.
    if (ui::win32::Win32DialogHost::TranslateDialogMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  looping_ = false;
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

}  // namespace flash
