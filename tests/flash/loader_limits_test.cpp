// The File Open command at its limits: the longest line taken at once, the
// one segment that is moved, the longest path kept, every customer type the
// summary names and every file exception text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "flash/file_exception.h"
#include "flash/flash_variant.h"
#include "flash/hex_loader.h"
#include "tests/flash/loader_test_files.h"
#include "tests/support/fake_updater_ui.h"

namespace {

using flash::FlashVariant;
using loadertest::kEndRecord;
using loadertest::Record;
using loadertest::SegmentRecord;

class LoaderLimitsTest : public ::testing::Test {
 protected:
  loadertest::TempDir dir;
  loadertest::ImageBuffers buffers;
  testsupport::FakeUpdaterUi ui;

  std::string Load(const std::string& path) {
    ui.fileAnswers.push_back(path);
    flash::LoadFirmwareFile(buffers.image, FlashVariant::Spti(), ui);
    return ui.box;
  }
  std::string LoadText(const std::string& text) { return Load(dir.Write("limits.hex", text)); }
  // Offsets of the loaded image that the file changed from 0xFF.
  std::vector<std::size_t> Written() const {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < flash::kLoadedImageSize; ++i) {
      if (buffers.imageBuffer[i] != 0xFF) offsets.push_back(i);
    }
    return offsets;
  }
};

// A record of a skipped type, `length` characters long without its line end.
std::string SkippedRecord(std::size_t length) {
  std::string line = ":00000004";
  line.resize(length, '0');
  return line;
}

TEST_F(LoaderLimitsTest, A255CharacterLineWithItsEndIsWholeOneCharacterMoreIsCut) {
  const std::string data = Record(0, 0x3F0, {'A'});
  std::string box = LoadText(SkippedRecord(254) + "\n" + data + kEndRecord);
  EXPECT_NE(box.find("\r\nF/W file load success."), std::string::npos) << box;
  EXPECT_EQ(buffers.imageBuffer[0x3F0], 'A');

  // 255 characters and LF: the LF comes on its own and fails the start test.
  for (const char* lineEnd : {"\n", "\r\n"}) {
    buffers.imageBuffer[0x3F0] = 0x00;
    box = LoadText(SkippedRecord(255) + lineEnd + data + kEndRecord);
    EXPECT_NE(box.find("\r\nStart Charactor is not fouund."), std::string::npos) << box;
    EXPECT_EQ(buffers.imageBuffer[0x3F0], 0x00) << "the failed load must not take effect";
  }
}

TEST_F(LoaderLimitsTest, OnlySegment5000IsMovedEveryOtherSegmentLandsAtSixteenTimesItsValue) {
  const std::string text = SegmentRecord(0x0500) + Record(0, 0x0000, {0xA5}) +  // 0x05000
                           SegmentRecord(0x4100) + Record(0, 0x0010, {0xB6}) +  // 0x41010
                           SegmentRecord(0x4FFF) + Record(0, 0x0010, {0xC7}) +  // 0x50000
                           SegmentRecord(0x5001) + Record(0, 0x0000, {0xD8}) +  // 0x50010
                           SegmentRecord(0x6000) + Record(0, 0x0000, {0xE9}) +  // 0x60000
                           SegmentRecord(0xF500) + Record(0, 0x0000, {0xFA}) +  // 0xF5000
                           SegmentRecord(0x5000) + Record(0, 0x0004, {0x0B}) +  // 0x41004
                           kEndRecord;
  const std::string box = LoadText(text);
  ASSERT_NE(box.find("\r\nF/W file load success."), std::string::npos) << box;
  EXPECT_EQ(Written(), (std::vector<std::size_t>{0x05000, 0x41004, 0x41010}));
  EXPECT_EQ(buffers.imageBuffer[0x05000], 0xA5);
  EXPECT_EQ(buffers.imageBuffer[0x41004], 0x0B);
  EXPECT_EQ(buffers.imageBuffer[0x41010], 0xB6);
}

TEST_F(LoaderLimitsTest, APathOf259CharactersIsKeptOneOf260IsABadPath) {
  const std::size_t folderLength = dir.Path("").size();
  for (const std::size_t length : {259u, 260u}) {
    SCOPED_TRACE(length);
    const std::string path =
        dir.Write(std::string(length - folderLength - 4, 'p') + ".hex",
                  Record(0, 0x3F5, {'9', '.', '9', static_cast<std::uint8_t>('0' + length % 10)}) +
                      kEndRecord);
    ASSERT_EQ(path.size(), length);
    const std::string box = Load(path);
    if (length == 259) {
      EXPECT_EQ(buffers.image.filePath, path);
      EXPECT_NE(box.find("Version : 9.99"), std::string::npos) << box;
    } else {
      EXPECT_NE(buffers.image.filePath, path);
      EXPECT_EQ(box,
                "File Name : " + path + "\r\nFile Exception Error 3 : Bad file path is specified");
      EXPECT_EQ(buffers.imageBuffer[0x3F8], '9') << "the earlier image stays in effect";
    }
  }
}

// The nine-byte information block: interface, customer code and version "1.02".
std::vector<std::uint8_t> InfoBlock(const char* interfaceCode, const char* customerCode) {
  const std::string text = std::string(interfaceCode) + customerCode + "1.02";
  return {text.begin(), text.end()};
}

TEST_F(LoaderLimitsTest, EveryCustomerCodeNamesItsModel) {
  const std::pair<const char*, const char*> customers[] = {
      {"TVN", "TAVREON Model"}, {"PLR", "PELLAR Model"}, {"HMF", "HOLMFIR Model"},
      {"QDR", "QUADRA Model"},  {"TLN", "TELLIN Model"}, {"ORC", "ORBEC Model"},
      {"VRD", "VARDO Model"},   {"LMX", "LUMAX Model"},  {"KST", "KESTA Model"},
  };
  for (const auto& [code, name] : customers) {
    const std::vector<std::uint8_t> info = InfoBlock("AT", code);
    const std::string box = LoadText(Record(0, 0x3F0, info) + kEndRecord);
    EXPECT_NE(box.find(std::string("\r\nFirmware File Type : ATAPI TRAY ") + name +
                       "\r\nVersion : 1.02\r\n"),
              std::string::npos)
        << box;
  }
  // Codes match exactly: case and every letter count.
  for (const char* code : {"tvn", "KSX", "TVn", "XST"}) {
    const std::vector<std::uint8_t> info = InfoBlock("SS", code);
    const std::string box = LoadText(Record(0, 0x3F0, info) + kEndRecord);
    EXPECT_NE(box.find("\r\nFirmware File Type : SCSI SLOT \r\nVersion : 1.02\r\n"),
              std::string::npos)
        << code << ": " << box;
  }
}

TEST(FileExceptionTextsTest, EveryCauseHasItsText) {
  const char* const texts[] = {
      "\r\nFile Exception Error 1 : Generic error occurred",
      "\r\nFile Exception Error 2 : File not found",
      "\r\nFile Exception Error 3 : Bad file path is specified",
      "\r\nFile Exception Error 4 : Too many open files",
      "\r\nFile Exception Error 5 : File access denied",
      "\r\nFile Exception Error 6 : Invalid file handle is specified",
      "\r\nFile Exception Error 7 : Removed current directory",
      "\r\nFile Exception Error 8 : Directory full",
      "\r\nFile Exception Error 9 : Bad seek(file pointer)",
      "\r\nFile Exception Error a : Hardware I/O error",
      "\r\nFile Exception Error b : File sharing violation",
      "\r\nFile Exception Error c : File lock violation",
      "\r\nFile Exception Error d : Disk full",
      "\r\nFile Exception Error e : Reach to end of file",
  };
  for (int cause = 1; cause <= 14; ++cause) {
    EXPECT_EQ(flash::FileExceptionMessage(static_cast<flash::FileExceptionCause>(cause)),
              texts[cause - 1]);
  }
}

}  // namespace
