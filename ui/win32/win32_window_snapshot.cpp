// The snapshot runs from a thread timer, so whichever loop the program runs
// dispatches it; GDI+ writes the PNG.
#include "ui/win32/win32_window_snapshot.h"

// objidl.h before gdiplus.h, whose declarations build on it.
// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ui::win32 {
namespace {

constexpr char kSnapshotVariable[] = "DVDUTIL_SNAPSHOT";
constexpr char kPressVariable[] = "DVDUTIL_SNAPSHOT_PRESS";
constexpr UINT kSettleMilliseconds = 400;
// GDI+'s PNG encoder.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

struct Snapshot {
  bool armed = false;
  HWND window = nullptr;
  UINT_PTR timer = 0;
};

Snapshot& State() {
  static Snapshot snapshot;
  return snapshot;
}

std::wstring Environment(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::vector<wchar_t> value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
  return length < size ? std::wstring(value.data(), length) : std::wstring();
}

std::wstring ProgramName() {
  std::vector<wchar_t> path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
  std::wstring name(path.data(), length < MAX_PATH ? length : 0);
  const std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  if (GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

// The control with `id` anywhere inside `window` (a frame's form included).
HWND FindControl(HWND window, int id) {
  ControlSearch search{id, nullptr};
  EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Finish(HWND window) {
  if (IsWindow(window) != FALSE) DestroyWindow(window);
}

void CALLBACK Act(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  Snapshot& state = State();
  HWND window = state.window;
  if (IsWindow(window) == FALSE) return;
  const std::wstring press = Environment(L"DVDUTIL_SNAPSHOT_PRESS");
  if (!press.empty()) {
    SetEnvironmentVariableW(L"DVDUTIL_SNAPSHOT_PRESS", nullptr);
    wchar_t* end = nullptr;
    const long id = std::wcstol(press.c_str(), &end, 10);
    HWND control = (end != press.c_str() && *end == L'\0')
                       ? FindControl(window, static_cast<int>(id))
                       : nullptr;
    if (control == nullptr) {
      std::fprintf(stderr, "%s: no control %ls to press\n", kPressVariable, press.c_str());
      Finish(window);
      return;
    }
    SendMessageW(control, BM_CLICK, 0, 0);  // may run to the end of a started tool
    if (IsWindow(window) != FALSE) state.timer = SetTimer(nullptr, 0, kSettleMilliseconds, Act);
    return;
  }
  std::wstring folder = Environment(L"DVDUTIL_SNAPSHOT");
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  SaveWindowImage(window, folder + ProgramName() + L".png");
  Finish(window);
}

}  // namespace

void ArmWindowSnapshot(HWND window) {
  Snapshot& state = State();
  if (state.armed || window == nullptr || Environment(L"DVDUTIL_SNAPSHOT").empty()) return;
  state.armed = true;
  state.window = window;
  state.timer = SetTimer(nullptr, 0, kSettleMilliseconds, Act);
}

bool SaveWindowImage(HWND window, const std::wstring& path) {
  // On top and painted, then copied from the screen as it shows.
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // What was painted reaches the screen: GDI's batch, and the window surfaces
  // a system may flush only while the thread waits (Wine's X11 driver).
  GdiFlush();
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  bool saved = false;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
      saved = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &kPngEncoder,
                                                       nullptr) == Gdiplus::Ok;
      Gdiplus::DllExports::GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
  }
  DeleteObject(bitmap);
  if (!saved) std::fprintf(stderr, "%s: cannot write %ls\n", kSnapshotVariable, path.c_str());
  return saved;
}

}  // namespace ui::win32
