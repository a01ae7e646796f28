// zonespti.exe's pushed look under Wine: the drive's region choice gets the
// pushed button state and keeps it through a query of another drive; the
// other choices never get it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "resources/zone/zone_resource_ids.h"
#include "tests/window/window_test_host.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"
#include "zone/win32/win32_pushed_look.h"
#include "zone/window/region_program.h"

namespace {

constexpr char kMachine[] = R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}],
  "devices": [
    {"letter": "E", "adapter": 0, "target": 1, "model": "KD-410",
     "region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"}},
    {"letter": "F", "adapter": 0, "target": 2, "model": "KD-410",
     "region": {"typeCode": 1, "userChanges": 3, "mask": "0xF7"}}]})";

TEST(ZoneWin32LookTest, TheDrivesRegionChoiceLooksPushedForGood) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  std::string error;
  auto machine = emu::EmulatedMachine::LoadText(kMachine, "zone-look.json", options, &error);
  ASSERT_NE(machine, nullptr) << error;
  zone::Win32PushedLook look;
  zone::RegionProgram program(window_test::System(), *machine, &look);
  ASSERT_EQ(program.Start(), 0);
  auto& open = dynamic_cast<ui::win32::Win32OpenWindow&>(*program.Open());
  const HWND dialog = open.DialogHost().Window();
  ASSERT_NE(dialog, nullptr);
  const auto pushed = [&](int region) {
    const LRESULT state =
        SendDlgItemMessageA(dialog, resources::kRegionChoiceIds[region - 1], BM_GETSTATE, 0, 0);
    return (state & BST_PUSHED) != 0;
  };
  EXPECT_TRUE(pushed(2));
  for (const int region : {1, 3, 4, 5, 6}) EXPECT_FALSE(pushed(region)) << region;

  std::unique_ptr<window_test::WindowDriver> window = window_test::Drive(open);
  window->ChooseListItem(resources::kIdcZoneDriveList, 1);
  EXPECT_TRUE(pushed(4)) << "the second drive's region";
  EXPECT_TRUE(pushed(2)) << "never cleared";
}

}  // namespace
