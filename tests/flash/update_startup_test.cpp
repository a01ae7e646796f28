// The Updater's start-up on machines whose transport cannot start, the image
// it binds to the transport's buffers, and a file loaded through File Open
// and written by Update.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "flash/updater.h"
#include "tests/flash/update_run_test.h"
#include "tests/support/host_calls.h"

namespace {

using flash::FlashVariant;
using flash::Updater;

std::string MachineWith(const std::string& fields) {
  return "{" + fields + R"("adapters": [{"number": 0, "identifier": "ESDI_506"}],
           "devices": [)" +
         flashtest::DeviceJson(flashtest::kKd410) + "]}";
}

TEST(UpdaterStartTest, EachFailedStartIsReturnedWithItsMessage) {
  struct Case {
    const FlashVariant* variant;
    const char* fields;
    int result;
    const char* message;
  };
  const Case cases[] = {
      {&FlashVariant::Spti(), R"("memory": {"failAllocation": 1},)", -1, "Memory Allocation Error"},
      {&FlashVariant::Aspi(), R"("memory": {"failAllocation": 3},)", -1, "Memory Allocation Error"},
      {&FlashVariant::Aspi(), R"("aspi": {"manager": "missing"},)", 1,
       "WNASPI32.DLL Load Error or is not found"},
      {&FlashVariant::Aspi(), R"("aspi": {"manager": "failsInit"},)", 2,
       "ASPI Initialize Error or Available device is not found"},
      {&FlashVariant::Aspi(), R"("aspi": {"manager": "noAdapters"},)", 3, "Generic error occured"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    auto machine = flashtest::LoadMachine(MachineWith(c.fields));
    ASSERT_NE(machine, nullptr);
    testsupport::FakeUpdaterUi ui;
    Updater updater(*c.variant, *machine, ui);
    EXPECT_EQ(updater.Start(), c.result);
    EXPECT_STREQ(Updater::StartupMessage(c.result), c.message);
    // Nothing stays allocated or bound after a failed start.
    EXPECT_TRUE(updater.CommandTransport().DataBuffer().empty());
    EXPECT_TRUE(updater.Image().bytes.empty());
  }
  EXPECT_STREQ(Updater::StartupMessage(0), "");
}

TEST(UpdaterStartTest, TheImageIsBoundToTheTransportBuffersWithEachBuildsFileName) {
  for (const FlashVariant* variant : {&FlashVariant::Spti(), &FlashVariant::Aspi()}) {
    SCOPED_TRACE(variant->applicationTitle);
    auto machine = flashtest::LoadMachine(MachineWith(""));
    ASSERT_NE(machine, nullptr);
    testsupport::FakeUpdaterUi ui;
    Updater updater(*variant, *machine, ui);
    ASSERT_EQ(updater.Start(), 0);
    drvcmd::Transport& transport = updater.CommandTransport();
    EXPECT_EQ(updater.Image().bytes.data(), transport.ImageBuffer().data());
    EXPECT_EQ(updater.Image().bytes.size(), 0x42010u);
    EXPECT_EQ(updater.Image().working.data(), transport.DataBuffer().data());
    EXPECT_EQ(updater.Image().working.size(), 0x42000u);
    EXPECT_EQ(updater.Image().filePath, drvcmd::UsesAspi(variant->program) ? "UPDATE.HEX" : "");
    EXPECT_FALSE(updater.Image().fileOpenUsed);
  }
}

TEST(UpdaterStartTest, PassThroughScanShowsItsProgressWindowAndAspiScanDoesNot) {
  for (const FlashVariant* variant : {&FlashVariant::Spti(), &FlashVariant::Aspi()}) {
    SCOPED_TRACE(variant->applicationTitle);
    auto machine = flashtest::LoadMachine(MachineWith(""));
    ASSERT_NE(machine, nullptr);
    testsupport::FakeUpdaterUi ui;
    Updater updater(*variant, *machine, ui);
    ASSERT_EQ(updater.Start(), 0);
    drvcmd::DriveTree tree;
    updater.ScanDrives(tree);
    ASSERT_FALSE(tree.items.empty());
    if (drvcmd::UsesAspi(variant->program)) {
      EXPECT_TRUE(ui.progress.calls.empty());
      EXPECT_EQ(tree.items[0].text, "00 : ATAPI Interface");
    } else {
      EXPECT_EQ(ui.progress.calls.at(1), "range 0 23");
      EXPECT_EQ(tree.items[0].text.substr(0, 3), "D: ");
    }
  }
}

TEST(UpdaterStartTest, AFileLoadedThroughFileOpenIsWrittenAndVerified) {
  const auto folder = testsupport::MakeTemporaryFolder("update-startup-");
  ASSERT_FALSE(folder.empty());
  const auto hexPath = folder / "UPDATE.HEX";
  {
    std::ofstream out(hexPath, std::ios::binary);
    out << emu::BuildFirmwareHex(*emu::FindDriveModel("KD-410"), "1.07");
  }
  auto machine = flashtest::LoadMachine(MachineWith(""));
  ASSERT_NE(machine, nullptr);
  testsupport::FakeUpdaterUi ui;
  Updater updater(FlashVariant::Spti(), *machine, ui);
  ASSERT_EQ(updater.Start(), 0);
  ui.fileAnswers.push_back(hexPath.string());
  updater.LoadFirmwareFile();
  EXPECT_TRUE(updater.Image().fileOpenUsed);

  flashtest::FakeSelection selection;
  selection.Select(FlashVariant::Spti(), flashtest::kKd410);
  ui.statusText.clear();
  updater.RunFirmwareUpdate(selection);
  EXPECT_EQ(ui.statusText, "Start update\r\nVerify OK\r\nEnd update\r\n");
  ASSERT_EQ(ui.confirmCalls.size(), 1u);
  EXPECT_EQ(std::string(ui.confirmCalls[0].newIdentity.begin() + 24,
                        ui.confirmCalls[0].newIdentity.begin() + 28),
            "1.07");
  std::filesystem::remove_all(folder);
}

}  // namespace
