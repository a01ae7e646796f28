// The extraction label grown to its text, up to the next control beside it.
#include "pace/win32/speed_label_fit.h"

#include <algorithm>
#include <string>

#include "resources/pace/pace_resource_ids.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"

namespace pace {
namespace {

constexpr int kTextCapacity = 128;

RECT PlaceInDialog(HWND dialog, HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

int TextWidth(HWND control) {
  char text[kTextCapacity] = {};
  const int length = GetWindowTextA(control, text, kTextCapacity);
  HDC dc = GetDC(control);
  if (dc == nullptr) return 0;
  const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, length, &extent);
  if (previous != nullptr) SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return extent.cx;
}

}  // namespace

void FitSpeedLabelToText(ui::OpenWindow& window) {
  const HWND dialog = static_cast<ui::win32::Win32OpenWindow&>(window).DialogHost().Window();
  const HWND label = GetDlgItem(dialog, resources::kIdcExtractionLabel);
  if (label == nullptr) return;
  const RECT place = PlaceInDialog(dialog, label);
  RECT wanted = place;
  wanted.right = std::max(place.right, place.left + TextWidth(label));
  for (HWND sibling = GetWindow(dialog, GW_CHILD); sibling != nullptr;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling == label) continue;
    const RECT other = PlaceInDialog(dialog, sibling);
    RECT overlap{};
    if (IntersectRect(&overlap, &wanted, &other) != FALSE) {
      wanted.right = std::max(place.right, other.left);
    }
  }
  SetWindowPos(label, nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pace
