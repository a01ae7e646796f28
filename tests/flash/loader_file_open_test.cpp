// The File Open command in both builds: the dialog request, the status text
// and its refreshes, what reaches the image in effect, and the flag.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "flash/file_exception.h"
#include "flash/flash_variant.h"
#include "flash/hex_loader.h"
#include "tests/flash/loader_test_files.h"
#include "tests/support/fake_updater_ui.h"

namespace {

using flash::FlashVariant;
using loadertest::kEndRecord;
using loadertest::Record;

constexpr char kWorkedExample[] = ":1003F00041544B5354312E3032FFFFFFFFFFFFFFBC\r\n";

class FileOpenTest : public ::testing::Test {
 protected:
  loadertest::TempDir dir;
  loadertest::ImageBuffers buffers;
  testsupport::FakeUpdaterUi ui;

  flash::LoadOutcome Load(const FlashVariant& variant, const std::string& path) {
    ui.fileAnswers.push_back(path);
    return flash::LoadFirmwareFile(buffers.image, variant, ui);
  }
  std::string WorkedExampleFile() {
    return dir.Write("kesta.hex", std::string(kWorkedExample) + kEndRecord);
  }
  // A first good load whose marker byte later loads must not disturb.
  void LoadMarkedImage(const FlashVariant& variant) {
    const std::string path = dir.Write("first.hex", Record(0, 0x1234, {0x5C}) + kEndRecord);
    ASSERT_EQ(Load(variant, path).result.end, flash::HexLoadEnd::kNormalEnd);
    ASSERT_EQ(buffers.imageBuffer[0x1234], 0x5C);
  }
};

TEST_F(FileOpenTest, AsksForTheFileWithTheKeptPath) {
  buffers.image.filePath = "UPDATE.HEX";
  flash::LoadFirmwareFile(buffers.image, FlashVariant::Aspi(), ui);
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].title, "Select the Update Hex File");
  EXPECT_EQ(ui.fileRequests[0].initialFolder, ".\\");
  EXPECT_EQ(ui.fileRequests[0].initialFileName, "UPDATE.HEX");
  EXPECT_EQ(ui.fileRequests[0].filterDescription, "Hex File(.HEX)");

  const std::string path = WorkedExampleFile();
  Load(FlashVariant::Aspi(), path);
  EXPECT_EQ(buffers.image.filePath, path);
  flash::LoadFirmwareFile(buffers.image, FlashVariant::Aspi(), ui);
  EXPECT_EQ(ui.fileRequests.back().initialFileName, path);
}

TEST_F(FileOpenTest, CancelChangesNothingButThePassThroughBuildsFlag) {
  ui.statusText = "kept";
  buffers.image.filePath = "UPDATE.HEX";
  EXPECT_TRUE(flash::LoadFirmwareFile(buffers.image, FlashVariant::Aspi(), ui).cancelled);
  EXPECT_FALSE(buffers.image.fileOpenUsed);
  EXPECT_TRUE(flash::LoadFirmwareFile(buffers.image, FlashVariant::Spti(), ui).cancelled);
  EXPECT_TRUE(buffers.image.fileOpenUsed);
  EXPECT_TRUE(ui.statusEvents.empty());
  EXPECT_EQ(ui.statusText, "kept");
  EXPECT_EQ(buffers.image.filePath, "UPDATE.HEX");
  EXPECT_TRUE(std::all_of(buffers.imageBuffer.begin(), buffers.imageBuffer.end(),
                          [](std::uint8_t b) { return b == 0; }));
}

TEST_F(FileOpenTest, PassThroughBuildShowsTheNameAtOnceThenTheSummary) {
  const std::string path = WorkedExampleFile();
  Load(FlashVariant::Spti(), path);
  ASSERT_EQ(ui.boxHistory.size(), 2u);
  EXPECT_EQ(ui.boxHistory[0], "File Name : " + path);
  EXPECT_EQ(ui.box, "File Name : " + path +
                        "\r\nF/W file load success."
                        "\r\nFirmware File Type : ATAPI TRAY KESTA Model"
                        "\r\nVersion : 1.02\r\n");
  EXPECT_TRUE(buffers.image.fileOpenUsed);
  EXPECT_EQ(buffers.imageBuffer[0x3F2], 'K');
  EXPECT_EQ(buffers.imageBuffer[0x3FF], 0xFF);
  EXPECT_EQ(buffers.imageBuffer[0], 0xFF);
  EXPECT_EQ(buffers.imageBuffer[0x41FFF], 0xFF);
  EXPECT_EQ(buffers.imageBuffer[0x42000], 0) << "the last 16 bytes never come from a file";
}

TEST_F(FileOpenTest, AspiBuildRefreshesOnceWithItsOwnWording) {
  const std::string path = WorkedExampleFile();
  Load(FlashVariant::Aspi(), path);
  ASSERT_EQ(ui.boxHistory.size(), 1u);
  EXPECT_EQ(ui.box, "File Name : " + path +
                        "\r\nF/W file load success."
                        "\r\nFile information\r\nFirmware Type : ATAPI TRAY KESTA Model"
                        "\r\nVersion : 1.02");
  EXPECT_FALSE(buffers.image.fileOpenUsed);
}

TEST_F(FileOpenTest, SummaryNamesOnlyWhatTheInfoBlockHolds) {
  // SCSI slot, unknown customer, version cut at a zero byte.
  std::string path = dir.Write(
      "scsi.hex", Record(0, 0x3F0, {'S', 'S', 'T', 'V', 'X', '2', '.', 0, '9'}) + kEndRecord);
  Load(FlashVariant::Spti(), path);
  EXPECT_EQ(ui.box, "File Name : " + path +
                        "\r\nF/W file load success.\r\nFirmware File Type : SCSI SLOT "
                        "\r\nVersion : 2.\r\n");

  path = dir.Write("tvn.hex", Record(0, 0x3F0, {'X', 'Y', 'T', 'V', 'N', '1'}));
  Load(FlashVariant::Spti(), path);
  EXPECT_NE(ui.box.find("Firmware File Type : TAVREON Model\r\nVersion : 1\xC3\xBF\xC3\xBF"
                        "\xC3\xBF\r\n"),
            std::string::npos)
      << ui.box;

  // An empty file: all 0xFF, shown as four Latin-1 y-diaeresis characters.
  path = dir.Write("empty.hex", "");
  Load(FlashVariant::Aspi(), path);
  EXPECT_EQ(ui.box, "File Name : " + path +
                        "\r\nF/W file load success.\r\nFile information\r\nFirmware Type : "
                        "\r\nVersion : \xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF");
  EXPECT_TRUE(std::all_of(buffers.imageBuffer.begin(), buffers.imageBuffer.begin() + 0x42000,
                          [](std::uint8_t b) { return b == 0xFF; }));
}

TEST_F(FileOpenTest, FailedLoadsKeepTheImageInEffect) {
  struct Case {
    std::string name;
    std::string content;  // empty name: the file is missing
    std::string message;
  };
  const std::vector<Case> cases = {
      {"nostart.hex", Record(0, 0x1234, {0}) + "X\r\n" + kEndRecord,
       "\r\nStart Charactor is not fouund."},
      {"badrecord.hex", Record(0, 0x1234, {0}) + ":0200000011\r\n", "\r\nBad record at line 2."},
      {"", "", "\r\nFile Exception Error 2 : File not found"},
  };
  for (const FlashVariant* variant : {&FlashVariant::Spti(), &FlashVariant::Aspi()}) {
    for (const Case& c : cases) {
      LoadMarkedImage(*variant);
      const std::string path =
          c.name.empty() ? dir.Path("missing.hex") : dir.Write(c.name, c.content);
      buffers.image.fileOpenUsed = false;
      const int refreshesBefore = ui.RefreshCount();
      Load(*variant, path);
      EXPECT_EQ(ui.box, "File Name : " + path + c.message) << c.name;
      EXPECT_EQ(buffers.imageBuffer[0x1234], 0x5C) << c.name;
      EXPECT_EQ(buffers.image.filePath, path) << c.name;
      EXPECT_EQ(buffers.image.fileOpenUsed, variant->tracksFileOpenUsed) << c.name;
      EXPECT_EQ(ui.RefreshCount() - refreshesBefore, variant->refreshAfterFileName ? 2 : 1);
    }
  }
}

TEST_F(FileOpenTest, AnOverlongPathIsRefusedAndNotKept) {
  LoadMarkedImage(FlashVariant::Spti());
  const std::string kept = buffers.image.filePath;
  const std::string longPath = dir.Path(std::string(250, 'h') + ".hex");
  ASSERT_GT(longPath.size(), flash::kMaxFilePathLength);
  dir.Write(std::string(250, 'h') + ".hex", std::string(kWorkedExample));
  buffers.image.fileOpenUsed = false;
  Load(FlashVariant::Spti(), longPath);
  EXPECT_EQ(ui.box,
            "File Name : " + longPath + "\r\nFile Exception Error 3 : Bad file path is specified");
  EXPECT_EQ(buffers.image.filePath, kept);
  EXPECT_EQ(buffers.imageBuffer[0x3F0], 0xFF) << "the refused file must not load";
  EXPECT_EQ(buffers.imageBuffer[0x1234], 0x5C);
  EXPECT_TRUE(buffers.image.fileOpenUsed);
}

TEST(FileExceptionTest, CauseNumbersPrintInLowerCaseHexWithTheirTexts) {
  using flash::FileExceptionCause;
  EXPECT_EQ(flash::FileExceptionMessage(FileExceptionCause::kHardIo),
            "\r\nFile Exception Error a : Hardware I/O error");
  EXPECT_EQ(flash::FileExceptionMessage(FileExceptionCause::kEndOfFile),
            "\r\nFile Exception Error e : Reach to end of file");
  EXPECT_EQ(flash::FileExceptionMessage(FileExceptionCause::kGeneric),
            "\r\nFile Exception Error 1 : Generic error occurred");
  EXPECT_EQ(flash::FileExceptionCauseFromErrno(ENOENT), FileExceptionCause::kFileNotFound);
  EXPECT_EQ(flash::FileExceptionCauseFromErrno(ENOTDIR), FileExceptionCause::kBadPath);
  EXPECT_EQ(flash::FileExceptionCauseFromErrno(EACCES), FileExceptionCause::kAccessDenied);
  EXPECT_EQ(flash::FileExceptionCauseFromErrno(EMFILE), FileExceptionCause::kTooManyOpenFiles);
  EXPECT_EQ(flash::FileExceptionCauseFromErrno(EIO), FileExceptionCause::kHardIo);
  EXPECT_EQ(flash::FileExceptionCauseFromErrno(0), FileExceptionCause::kGeneric);
}

}  // namespace
