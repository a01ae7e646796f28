// FrameToolbar: ToolbarWindow32 with an image list made from the pixel tables.
#include "flash/win32/frame_toolbar.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "flash/win32/pixel_image.h"
#include "resources/flash/toolbar_images.h"

namespace flash {
namespace {

constexpr int kImageWidth = resources::kToolbarImageWidth;
constexpr int kImageHeight = resources::kToolbarImageHeight;
constexpr int kBytesPerPixel = 4;
// Transparent pixels are painted in this colour and masked out of the images.
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

// The images side by side in one top-down 32-bit bitmap.
HBITMAP ToolbarStrip() {
  const int width = kImageWidth * resources::kToolbarImageCount;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -kImageHeight;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = kBytesPerPixel * 8;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP strip = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (strip == nullptr || bits == nullptr) return strip;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  const std::uint32_t mask =
      (GetRValue(kMaskColour) << 16) | (GetGValue(kMaskColour) << 8) | GetBValue(kMaskColour);
  std::fill(pixels, pixels + width * kImageHeight, mask);
  for (int index = 0; index < resources::kToolbarImageCount; ++index) {
    const ui::IconImage image = IconImageOf(resources::ToolbarImage(index));
    for (int y = 0; y < kImageHeight && y < image.height; ++y) {
      for (int x = 0; x < kImageWidth && x < image.width; ++x) {
        const std::uint32_t argb = image.argb[static_cast<std::size_t>(y * image.width + x)];
        // A DIB pixel is 0x00RRGGBB: the colour without its alpha.
        pixels[y * width + index * kImageWidth + x] = (argb >> 24) != 0 ? (argb & 0xFFFFFFu) : mask;
      }
    }
  }
  ::GdiFlush();
  return strip;
}

}  // namespace

FrameToolbar::~FrameToolbar() {
  // The toolbar goes with its frame; the image list is ours.
  if (images_ != nullptr) ::ImageList_Destroy(images_);
}

bool FrameToolbar::Create(HWND frame, const resources::FlashMenus& menus) {
  menus_ = &menus;
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  ::InitCommonControlsEx(&classes);
  HINSTANCE module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(frame, GWLP_HINSTANCE));
  // The bar's band carries the gripper; the bar sits at the top of the frame.
  rebar_ = ::CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                 RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                             0, 0, 0, 0, frame, nullptr, module, nullptr);
  if (rebar_ == nullptr) return false;
  toolbar_ = ::CreateWindowExA(
      0, TOOLBARCLASSNAMEA, nullptr,
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
          CCS_NODIVIDER | CCS_NOPARENTALIGN,
      0, 0, 0, 0, rebar_, reinterpret_cast<HMENU>(kFrameToolbarId), module, nullptr);
  if (toolbar_ == nullptr) return false;
  ::SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Buttons and tooltips report to the frame, not to the bar that holds them.
  ::SendMessageA(toolbar_, TB_SETPARENT, reinterpret_cast<WPARAM>(frame), 0);

  HBITMAP strip = ToolbarStrip();
  if (strip == nullptr) return false;
  images_ = ::ImageList_Create(kImageWidth, kImageHeight, ILC_COLOR24 | ILC_MASK,
                               resources::kToolbarImageCount, 0);
  const bool added = images_ != nullptr && ::ImageList_AddMasked(images_, strip, kMaskColour) >= 0;
  ::DeleteObject(strip);
  if (!added) return false;
  ::SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageWidth, kImageHeight));
  ::SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));

  std::vector<TBBUTTON> buttons;
  for (const resources::ToolbarButtonTemplate& button : menus.toolbar) {
    TBBUTTON entry{};
    entry.iBitmap = button.image;
    entry.idCommand = button.command;
    entry.fsState = button.alwaysDisabled ? 0 : TBSTATE_ENABLED;
    entry.fsStyle = BTNS_BUTTON;
    entry.iString = -1;
    buttons.push_back(entry);
  }
  if (::SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(),
                     reinterpret_cast<LPARAM>(buttons.data())) == 0) {
    return false;
  }

  SIZE size{};
  ::SendMessageA(toolbar_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  const LRESULT buttonSize = ::SendMessageA(toolbar_, TB_GETBUTTONSIZE, 0, 0);
  REBARBANDINFOA band{};
  band.cbSize = REBARBANDINFOA_V3_SIZE;
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
  band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE;
  band.hwndChild = toolbar_;
  band.cxMinChild = static_cast<UINT>(size.cx);
  band.cyMinChild = HIWORD(buttonSize);
  band.cx = static_cast<UINT>(size.cx);
  return ::SendMessageA(rebar_, RB_INSERTBANDA, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(&band)) != 0;
}

bool FrameToolbar::Visible() const {
  return rebar_ != nullptr && (::GetWindowLongA(rebar_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void FrameToolbar::Show(bool visible) {
  if (rebar_ != nullptr) ::ShowWindow(rebar_, visible ? SW_SHOW : SW_HIDE);
}

void FrameToolbar::FitToFrame() {
  // A top-aligned bar takes its parent's width when told of a new size.
  if (rebar_ != nullptr) ::SendMessageA(rebar_, WM_SIZE, 0, 0);
}

int FrameToolbar::Height() const {
  if (!Visible()) return 0;
  RECT rect{};
  ::GetWindowRect(rebar_, &rect);
  return rect.bottom - rect.top;
}

bool FrameToolbar::AnswerTooltip(NMHDR* header) const {
  if ((header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW) || menus_ == nullptr) {
    return false;
  }
  const int command = static_cast<int>(header->idFrom);
  bool ours = false;
  for (const resources::ToolbarButtonTemplate& button : menus_->toolbar) {
    ours = ours || button.command == command;
  }
  if (!ours) return false;
  const char* text = resources::CommandTooltip(*menus_, command);
  if (header->code == TTN_GETDISPINFOA) {
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
    // The string is a constant of the resources; the tooltip only reads it.
    request->lpszText = const_cast<char*>(text);
    request->hinst = nullptr;
    return true;
  }
  // A tooltip that talks Unicode gets the text in its own buffer, cut to fit.
  auto* request = reinterpret_cast<NMTTDISPINFOW*>(header);
  const int room = static_cast<int>(sizeof request->szText / sizeof request->szText[0]);
  request->szText[0] = L'\0';
  if (::MultiByteToWideChar(CP_ACP, 0, text, -1, request->szText, room) == 0) {
    request->szText[room - 1] = L'\0';
  }
  request->lpszText = request->szText;
  request->hinst = nullptr;
  return true;
}

}  // namespace flash
