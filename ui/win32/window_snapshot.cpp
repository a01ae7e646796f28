// The snapshot sequence on a timer of the message loop, and the window's image
// copied from the screen into a 32-bit DIB and written as PNG.
#include "ui/win32/window_snapshot.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/snapshot/png_encoder.h"

namespace ui {
namespace {

constexpr char kSnapshotVariable[] = "DVDUTIL_SNAPSHOT";
constexpr char kPressVariable[] = "DVDUTIL_SNAPSHOT_PRESS";
constexpr UINT kSettleMilliseconds = 400;
constexpr DWORD kVariableLimit = 32767;  // the longest environment value Windows keeps
constexpr std::uint32_t kOpaque = 0xFF000000u;

std::string Variable(const char* name) {
  std::vector<char> value(kVariableLimit + 1);
  const DWORD length = GetEnvironmentVariableA(name, value.data(), kVariableLimit + 1);
  if (length == 0 || length > kVariableLimit) return {};
  return std::string(value.data(), length);
}

std::string ProgramName() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

Win32WindowSnapshot::Win32WindowSnapshot() : folder_(Variable(kSnapshotVariable)) {
  const std::string press = Variable(kPressVariable);
  SetEnvironmentVariableA(kPressVariable, nullptr);
  if (!press.empty()) {
    pressId_ = std::atoi(press.c_str());
    pressPending_ = true;
  }
}

void Win32WindowSnapshot::WindowShown(HWND window) {
  if (!Requested() || window_ != nullptr || done_) return;
  window_ = window;
  Settle();
}

// The timer's id is the snapshot itself, so the callback needs no global.
void Win32WindowSnapshot::Settle() {
  SetTimer(window_, reinterpret_cast<UINT_PTR>(this), kSettleMilliseconds,
           &Win32WindowSnapshot::OnTimer);
}

void CALLBACK Win32WindowSnapshot::OnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  reinterpret_cast<Win32WindowSnapshot*>(id)->Act();
}

void Win32WindowSnapshot::Act() {
  if (done_) return;
  if (!IsWindow(window_)) return End(1);
  if (pressPending_) {
    pressPending_ = false;
    HWND control = GetDlgItem(window_, pressId_);
    if (control == nullptr) {
      std::fprintf(stderr, "%s: no control %d to press\n", kPressVariable, pressId_);
      return End(1);
    }
    SendMessageA(control, BM_CLICK, 0, 0);  // may run to the end of a started tool
    if (!IsWindow(window_)) return End(1);
    Settle();
    return;
  }
  const std::string path = folder_ + "\\" + ProgramName() + ".png";
  std::string error;
  if (!SaveWindowImage(window_, path, &error)) {
    std::fprintf(stderr, "%s: cannot write %s: %s\n", kSnapshotVariable, path.c_str(),
                 error.c_str());
    return End(1);
  }
  End(0);
}

void Win32WindowSnapshot::End(int exitCode) {
  done_ = true;
  std::fflush(nullptr);
  // The program's own shut-down would ask nothing, but a modal loop may be
  // running: end the process as the Qt build's snapshot does, with the code.
  ExitProcess(static_cast<UINT>(exitCode));
}

bool SaveWindowImage(HWND window, const std::string& path, std::string* error) {
  RECT place{};
  if (!GetWindowRect(window, &place)) {
    if (error != nullptr) *error = "the window is gone";
    return false;
  }
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  if (width <= 0 || height <= 0) {
    if (error != nullptr) *error = "the window has no size";
    return false;
  }
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top-down rows
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP image = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (memory != nullptr && image != nullptr && bits != nullptr) {
    HGDIOBJ previous = SelectObject(memory, image);
    copied = BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(memory, previous);
  }
  std::vector<std::uint32_t> pixels;
  if (copied) {
    const auto* rows = static_cast<const std::uint32_t*>(bits);
    pixels.assign(rows, rows + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::uint32_t& pixel : pixels) pixel |= kOpaque;  // a DIB from the screen has no alpha
  }
  if (image != nullptr) DeleteObject(image);
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) {
    if (error != nullptr) *error = "the screen could not be copied";
    return false;
  }
  return WritePngFile(path, width, height, pixels, error);
}

}  // namespace ui
