// The About box's version text.
#include "flash/window/about_logic.h"

#include <cstdio>

#include "ui/host/window_host.h"

namespace flash {
namespace {

// The flashaspi edit box holds at most 255 characters.
constexpr std::size_t kAboutTextCapacity = 256;

}  // namespace

std::string AboutText(const AppVariant& variant) {
  char text[kAboutTextCapacity] = {};
  std::snprintf(text, sizeof text, variant.aboutFormat, variant.versionMajor, variant.versionMinor);
  return text;
}

void UpdaterAboutLogic::OnInitDialog(ui::WindowHost& host) {
  host.SetItemText(variant_.aboutTextId, AboutText(variant_));
}

}  // namespace flash
