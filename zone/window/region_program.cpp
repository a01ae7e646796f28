// zonespti start-up and shut-down, written once for every window system.
#include "zone/window/region_program.h"

#include <cstring>
#include <string>

#include "drvcmd/notice.h"
#include "drvcmd/transport.h"
#include "resources/zone/zone_dialogs.h"
#include "resources/zone/zone_icon.h"
#include "resources/zone/zone_strings.h"
#include "startup/window_startup.h"

namespace zone {
namespace {

std::uint32_t ColourOf(char key) {
  for (const resources::ZoneIconColour& colour : resources::ZoneIconPalette()) {
    if (colour.key == key) return colour.argb;
  }
  return 0;  // unknown keys stay transparent
}

}  // namespace

ui::IconImage ZoneIconImage() {
  constexpr int kSize = resources::kZoneIconSize;
  ui::IconImage icon{kSize, kSize, std::vector<std::uint32_t>(kSize * kSize, 0)};
  const auto rows = resources::ZoneIconRows();
  for (int y = 0; y < kSize && static_cast<std::size_t>(y) < rows.size(); ++y) {
    const char* row = rows[static_cast<std::size_t>(y)];
    const int length = static_cast<int>(std::strlen(row));
    for (int x = 0; x < kSize && x < length; ++x) {
      icon.argb[static_cast<std::size_t>(y * kSize + x)] = ColourOf(row[x]);
    }
  }
  return icon;
}

void SetUpRegionWindows(ui::WindowSystem& windows) {
  windows.SetApplicationTitle(resources::kZoneApplicationTitle);
  windows.SetApplicationIcon(ZoneIconImage());
}

RegionProgram::RegionProgram(ui::WindowSystem& windows, platform::Platform& system,
                             PushedLook* look)
    : windows_(windows), window_(windows, look), utility_(system, window_) {}

RegionProgram::~RegionProgram() {
  open_.reset();
  Stop();
}

int RegionProgram::Start() {
  const int result = utility_.Start();
  if (result != drvcmd::kStartOk) {
    windows_.MessageBox(drvcmd::StartTransportMessage(result), std::string(), drvcmd::kMbOk);
    return result;
  }
  started_ = true;
  window_.AttachUtility(&utility_);
  open_ = windows_.Open(resources::RegionDialogTemplate(), window_);
  return 0;
}

void RegionProgram::Run() {
  if (open_ != nullptr) windows_.RunUntilClosed(*open_);
  Stop();
}

void RegionProgram::Stop() {
  if (!started_) return;
  started_ = false;
  window_.AttachUtility(nullptr);
  utility_.Stop();
}

int RunRegionProgram(ui::WindowSystem& windows, platform::Platform& system, PushedLook* look) {
  RegionProgram program(windows, system, look);
  if (program.Start() != 0) return 1;
  program.Run();
  return 0;
}

int RunRegionProgram(ui::WindowSystem& windows, PushedLook* look) {
  SetUpRegionWindows(windows);
  std::unique_ptr<platform::Platform> system = startup::OpenPlatformForWindows(windows);
  if (system == nullptr) return 1;
  return RunRegionProgram(windows, *system, look);
}

}  // namespace zone
