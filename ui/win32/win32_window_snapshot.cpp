// The snapshot runs from a thread timer, so whichever loop the program runs
// dispatches it; GDI+ writes the PNG.
#include "ui/win32/win32_window_snapshot.h"

// objidl.h before gdiplus.h, whose declarations build on it.
// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/host/window_dump.h"
#include "ui/win32/win32_text.h"

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

std::string ClassOf(HWND window) {
  std::array<char, 64> name{};
  const int length = GetClassNameA(window, name.data(), static_cast<int>(name.size()));
  return std::string(name.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

bool IsClass(const std::string& name, const char* wanted) {
  return name.size() == std::strlen(wanted) &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(),
                        static_cast<int>(name.size()), wanted, -1) == CSTR_EQUAL;
}

constexpr int kItemTextCapacity = 1024;

void DumpTreeItems(HWND tree, HTREEITEM first, int depth, HTREEITEM selected,
                   std::vector<DumpedTreeItem>& items) {
  for (HTREEITEM item = first; item != nullptr;
       item = reinterpret_cast<HTREEITEM>(
           SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    std::array<char, kItemTextCapacity> text{};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text.data();
    query.cchTextMax = static_cast<int>(text.size());
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    items.push_back({depth, AnsiToUtf8(text.data()), item == selected});
    DumpTreeItems(tree,
                  reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                           reinterpret_cast<LPARAM>(item))),
                  depth + 1, selected, items);
  }
}

void DumpCombo(HWND combo, DumpedControl& control) {
  const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT k = 0; k < count; ++k) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(k), 0);
    if (length < 0) continue;
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(k),
                 reinterpret_cast<LPARAM>(text.data()));
    control.entries.push_back(AnsiToUtf8(text.data()));
  }
  const LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  control.selection = selection >= 0 ? static_cast<int>(selection) : kNoEntry;
}

// One dialog control; false for windows that are none (a frame's form, a
// toolbar, a combo box's own edit field).
bool DumpControl(HWND window, DumpedControl& control) {
  HWND parent = GetParent(window);
  if (parent != nullptr && IsClass(ClassOf(parent), "ComboBox")) return false;
  const std::string name = ClassOf(window);
  const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  if (IsClass(name, "Static")) {
    control.kind = (style & SS_TYPEMASK) == SS_ICON ? ControlKind::kIcon : ControlKind::kStatic;
  } else if (IsClass(name, "Edit")) {
    control.kind = ControlKind::kEdit;
  } else if (IsClass(name, "Button")) {
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        control.kind = ControlKind::kGroup;
        break;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        control.kind = ControlKind::kRadio;
        break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        control.kind = ControlKind::kCheck;
        break;
      default:
        control.kind = ControlKind::kButton;
        break;
    }
    if (control.kind != ControlKind::kGroup) {
      control.pushed = (SendMessageA(window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    }
    if (control.kind == ControlKind::kRadio || control.kind == ControlKind::kCheck) {
      control.checked = SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
  } else if (IsClass(name, "ComboBox")) {
    control.kind = ControlKind::kCombo;
    DumpCombo(window, control);
  } else if (IsClass(name, WC_TREEVIEWA)) {
    control.kind = ControlKind::kTree;
  } else if (IsClass(name, PROGRESS_CLASSA)) {
    control.kind = ControlKind::kProgress;
  } else {
    return false;
  }
  // Id-less statics carry 0xFFFF or -1, as their template gave it.
  const int id = GetDlgCtrlID(window);
  control.id = id == 0xFFFF ? kIdControlStatic : id;
  if (control.kind != ControlKind::kTree && control.kind != ControlKind::kProgress) {
    control.text = WindowTextUtf8(window);
  }
  if (control.kind == ControlKind::kTree) {
    const auto selected =
        reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_GETNEXTITEM, TVGN_CARET, 0));
    DumpTreeItems(window,
                  reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_GETNEXTITEM, TVGN_ROOT, 0)),
                  0, selected, control.items);
  }
  control.enabled = (style & WS_DISABLED) == 0;
  control.visible = (style & WS_VISIBLE) != 0;
  return true;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM data) {
  auto* window = reinterpret_cast<DumpedWindow*>(data);
  DumpedControl control;
  if (DumpControl(child, control)) window->controls.push_back(std::move(control));
  return TRUE;
}

bool WriteFile(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
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
  const std::wstring textPath = folder + ProgramName() + L".txt";
  if (!WriteFile(textPath, WindowDump(window))) {
    std::fprintf(stderr, "%s: cannot write %ls\n", kSnapshotVariable, textPath.c_str());
  }
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

std::string WindowDump(HWND window) {
  DumpedWindow dumped;
  dumped.caption = WindowTextUtf8(window);
  EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&dumped));
  return FormatWindowDump(dumped);
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
