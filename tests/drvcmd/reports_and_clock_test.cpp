// System error texts, sense printing and the updaters' clock.
#include <gtest/gtest.h>

#include "drvcmd/drive_clock.h"
#include "drvcmd/generic_commands.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_notice.h"

namespace {

TEST(ShowSystemErrorTest, ShowsTheSystemTextOrTheFormattingFailure) {
  testsupport::FakeKernel kernel;
  testsupport::RecordingNotice notice;
  drvcmd::ShowSystemError(kernel, notice, platform::kErrorAccessDenied);
  drvcmd::ShowSystemError(kernel, notice, 9999);
  ASSERT_EQ(notice.messages.size(), 2u);
  EXPECT_EQ(notice.messages[0].text, "Access is denied.\r\n");
  // The code printed is the formatting call's own error, not 9999.
  EXPECT_EQ(notice.messages[1].text, "Format message failed.  Error: 317\n");
  EXPECT_EQ(notice.messages[1].caption, "");
  EXPECT_EQ(notice.messages[1].style, drvcmd::kMbOk);
}

TEST(SenseTripleTest, PrintsTheKeyByteWhole) {
  const std::uint8_t sense[18] = {0x70, 0, 0x25, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0x0A};
  EXPECT_EQ(drvcmd::FormatSenseTriple(drvcmd::SenseTripleFrom(sense)), "25-24-0a");
}

TEST(DriveClockTest, KeepsTheFirstAcceptedPeriodAndEndsOnlyIt) {
  testsupport::FakeClock timer;
  timer.minimumPeriod = 3;
  timer.step = 10;
  drvcmd::DriveClock clock(timer);
  clock.StartClock();
  EXPECT_EQ(timer.begun, (std::vector<platform::Uint>{1, 2, 3}));
  EXPECT_EQ(clock.AcceptedPeriod(), 3u);
  EXPECT_EQ(clock.StartTime(), 1010u);
  EXPECT_EQ(clock.ReadClock(), 1020u);
  clock.StopClock();
  EXPECT_EQ(clock.EndTime(), 1030u);
  EXPECT_EQ(timer.ended, std::vector<platform::Uint>{3});
  clock.StopClock();  // a second stop ends nothing more
  EXPECT_EQ(timer.ended.size(), 1u);
}

TEST(DriveClockTest, RefusedPeriodsStillTakeTheStartTime) {
  testsupport::FakeClock timer;
  timer.minimumPeriod = 8;
  drvcmd::DriveClock clock(timer);
  clock.StartClock();
  EXPECT_EQ(timer.begun, (std::vector<platform::Uint>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(clock.AcceptedPeriod(), 0u);
  EXPECT_EQ(clock.StartTime(), 1000u);
  clock.StopClock();
  EXPECT_TRUE(timer.ended.empty());
}

}  // namespace
