// A windowed program whose platform cannot be opened says why, in a box.
#include "startup/window_startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drvcmd/notice.h"
#include "startup/startup_platform.h"
#include "tests/support/host_calls.h"
#include "ui/host/window_host.h"

namespace startup {
namespace {

// Records the message boxes; nothing else of a window system is used.
class RecordingWindowSystem : public ui::WindowSystem {
 public:
  struct Box {
    std::string text;
    std::string caption;
    unsigned style;
  };
  void SetApplicationTitle(const std::string&) override {}
  void SetApplicationIcon(const ui::IconImage&) override {}
  std::unique_ptr<ui::OpenWindow> Open(const ui::DialogTemplate&, ui::DialogLogic&) override {
    ADD_FAILURE() << "no window opens before the platform";
    return nullptr;
  }
  int RunUntilClosed(ui::OpenWindow&) override { return 0; }
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    boxes.push_back({text, caption, style});
    return ui::kIdOk;
  }
  void RunPainted(const std::function<void()>& work) override { work(); }
  void PumpPaint() override {}

  std::vector<Box> boxes;
};

TEST(WindowStartup, AnUnreadableMachineFileIsToldInAStopBoxNamingIt) {
  const std::string path = ::testing::TempDir() + "no-such-window-machine.json";
  testsupport::SetEnvironment(kMachineEnvironmentVariable, path.c_str());
  RecordingWindowSystem windows;
  EXPECT_EQ(OpenPlatformForWindows(windows), nullptr);
  testsupport::SetEnvironment(kMachineEnvironmentVariable, nullptr);
  ASSERT_EQ(windows.boxes.size(), 1u);
  EXPECT_NE(windows.boxes[0].text.find(path), std::string::npos) << windows.boxes[0].text;
  EXPECT_EQ(windows.boxes[0].caption, "");  // the application title
  EXPECT_EQ(windows.boxes[0].style, drvcmd::kMbIconHand);
}

}  // namespace
}  // namespace startup
