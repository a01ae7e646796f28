// The message loop, owner-less message boxes and the painted wait.
#include "ui/win32/win32_window_system.h"

#include <system_error>
#include <thread>

#include "ui/win32/win32_window_snapshot.h"

namespace ui::win32 {
namespace {

// Paint messages handled per pump: far more than any window set needs, and a
// bound should a window never validate what it paints.
constexpr int kMaxPaintMessagesPerPump = 1000;

void Dispatch(MSG& message) {
  if (Win32DialogHost::TranslateDialogMessage(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
}

void Win32WindowSystem::SetApplicationTitle(const std::string& title) { session_.SetTitle(title); }

void Win32WindowSystem::SetApplicationIcon(const IconImage& icon) { session_.SetIcon(icon); }

std::unique_ptr<OpenWindow> Win32WindowSystem::Open(const DialogTemplate& dialog,
                                                    DialogLogic& logic) {
  return std::make_unique<Win32OpenWindow>(
      Win32DialogHost::CreateModeless(session_, dialog, logic, nullptr));
}

int Win32WindowSystem::RunUntilClosed(OpenWindow& window) {
  if (auto* dialog = dynamic_cast<Win32OpenWindow*>(&window)) {
    ArmWindowSnapshot(dialog->DialogHost().Window());
  }
  MSG message{};
  while (window.IsOpen()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT: leave it for the outer loop, if there is one.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    Dispatch(message);
  }
  return window.Result();
}

int Win32WindowSystem::MessageBox(const std::string& text, const std::string& caption,
                                  unsigned style) {
  return session_.MessageBox(nullptr, text, caption, style);
}

void Win32WindowSystem::RunPainted(const std::function<void()>& work) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (done == nullptr) {
    work();
    return;
  }
  std::thread worker;
  try {
    worker = std::thread([&work, done] {
      work();
      SetEvent(done);
    });
  } catch (const std::system_error&) {
    CloseHandle(done);
    work();
    return;
  }
  // Sleeps until the work is done or a window needs painting (or another
  // thread sends a message); input stays queued until afterwards.
  for (;;) {
    const DWORD woken =
        MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE);
    if (woken != WAIT_OBJECT_0 + 1) break;
    PumpPaint();
  }
  worker.join();
  CloseHandle(done);
}

void Win32WindowSystem::PumpPaint() {
  MSG message{};
  for (int i = 0; i < kMaxPaintMessagesPerPump &&
                  PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT) != FALSE;
       ++i) {
    DispatchMessageW(&message);
  }
}

void Win32WindowSystem::PumpPending() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

}  // namespace ui::win32
