// DVDUTIL_SNAPSHOT on the Win32 host: the first window run is pressed, taken
// as a PNG of its size and destroyed. One per program, so a binary of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/host_calls.h"
#include "tests/window/window_test_host.h"
#include "ui/dialog_template.h"
#include "ui/host/dialog_logic.h"
#include "ui/win32/win32_window_system.h"

namespace {

constexpr int kIdcPress = 1010;
constexpr ui::ControlTemplate kControls[] = {
    {kIdcPress, ui::ControlKind::kButton, "Press", 7, 7, 50, 14, 0},
    {ui::kIdControlOk, ui::ControlKind::kButton, "OK", 60, 7, 50, 14, ui::kStyleDefaultButton},
};
constexpr ui::DialogTemplate kDialog = {300, "Snapshot", "MS Sans Serif",       8,
                                        120, 30,         ui::kDialogSystemMenu, kControls};

class PressLogic : public ui::DialogLogic {
 public:
  int presses = 0;
  void OnInitDialog(ui::WindowHost&) override {}
  bool OnCommand(int id, int) override {
    if (id == kIdcPress) ++presses;
    return id == kIdcPress;
  }
};

std::uint32_t Be32(const std::vector<char>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

TEST(Win32Snapshot, PressesTakesAndEndsTheFirstWindow) {
  const std::filesystem::path folder = testsupport::MakeTemporaryFolder("snapshot");
  ASSERT_FALSE(folder.empty());
  testsupport::SetEnvironment("DVDUTIL_SNAPSHOT", folder.string().c_str());
  testsupport::SetEnvironment("DVDUTIL_SNAPSHOT_PRESS", "1010");

  PressLogic logic;
  std::unique_ptr<ui::OpenWindow> window = window_test::System().Open(kDialog, logic);
  HWND dialog = dynamic_cast<ui::win32::Win32OpenWindow&>(*window).DialogHost().Window();
  RECT rect{};
  GetWindowRect(dialog, &rect);
  window_test::System().RunUntilClosed(*window);

  EXPECT_FALSE(window->IsOpen());
  EXPECT_EQ(logic.presses, 1);
  EXPECT_EQ(GetEnvironmentVariableA("DVDUTIL_SNAPSHOT_PRESS", nullptr, 0), 0u);
  std::vector<char> png;
  {
    std::ifstream file(folder / "win32_snapshot_test.png", std::ios::binary);
    png.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(std::string(png.data() + 1, 3), "PNG");
  EXPECT_EQ(std::string(png.data() + 12, 4), "IHDR");
  EXPECT_EQ(Be32(png, 16), static_cast<std::uint32_t>(rect.right - rect.left));
  EXPECT_EQ(Be32(png, 20), static_cast<std::uint32_t>(rect.bottom - rect.top));
  testsupport::SetEnvironment("DVDUTIL_SNAPSHOT", nullptr);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
