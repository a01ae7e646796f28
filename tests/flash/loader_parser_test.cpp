// The HEX record loop: what lands where in the working image, when the parse
// stops, and that bad input never reads or writes out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "flash/firmware_image.h"
#include "flash/hex_parser.h"
#include "tests/flash/loader_test_files.h"

namespace {

using flash::HexLoadEnd;
using flash::HexLoadResult;
using flash::kLoadedImageSize;
using loadertest::kEndRecord;
using loadertest::Record;
using loadertest::SegmentRecord;

constexpr char kWorkedExample[] = ":1003F00041544B5354312E3032FFFFFFFFFFFFFFBC\r\n";

class ParserTest : public ::testing::Test {
 protected:
  // A working area as large as the data buffer, so writes past 0x42000 would show.
  std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(0x50000, 0x11);

  HexLoadResult Parse(const std::string& text) { return flash::ParseHexText(text, buffer); }
  std::vector<std::uint8_t> Bytes(std::size_t offset, std::size_t count) const {
    return {buffer.begin() + static_cast<std::ptrdiff_t>(offset),
            buffer.begin() + static_cast<std::ptrdiff_t>(offset + count)};
  }
};

TEST_F(ParserTest, WorkedExampleStoresSixteenBytesAndLeavesTheRestFilled) {
  const HexLoadResult result = Parse(std::string(kWorkedExample) + kEndRecord);
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(result.loadedBytes, 16u);
  EXPECT_EQ(result.lineNumber, 2);
  const std::vector<std::uint8_t> expected = {0x41, 0x54, 0x4B, 0x53, 0x54, 0x31, 0x2E, 0x30,
                                              0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Bytes(0x3F0, 16), expected);
  EXPECT_EQ(buffer[0x3EF], 0xFF);
  EXPECT_EQ(buffer[0x400], 0xFF);
  EXPECT_EQ(buffer[kLoadedImageSize - 1], 0xFF);
  EXPECT_EQ(buffer[kLoadedImageSize], 0x11) << "the fill must stop at 0x42000";
}

TEST_F(ParserTest, LowerCaseDigitsAndLaterRecordsWinButBothCount) {
  const HexLoadResult result = Parse(":02001000abcd00\n" + Record(0, 0x10, {0x12}) + kEndRecord);
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(Bytes(0x10, 3), (std::vector<std::uint8_t>{0x12, 0xCD, 0xFF}));
  EXPECT_EQ(result.loadedBytes, 3u);
}

TEST_F(ParserTest, SegmentRecordsSetTheBaseAndSegment5000MapsTo41000) {
  const std::string text = SegmentRecord(0x4000) + Record(0, 0x0000, {0xA1, 0xA2}) +
                           SegmentRecord(0x5000) + Record(0, 0x0000, {0xB1, 0xB2}) +
                           SegmentRecord(0x1000) + Record(0, 0x0004, {0xC1}) + kEndRecord;
  ASSERT_EQ(Parse(text).end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(Bytes(0x40000, 3), (std::vector<std::uint8_t>{0xA1, 0xA2, 0xFF}));
  EXPECT_EQ(Bytes(0x41000, 3), (std::vector<std::uint8_t>{0xB1, 0xB2, 0xFF}));
  EXPECT_EQ(buffer[0x10004], 0xC1);
  EXPECT_EQ(buffer[0x50000 - 1], 0x11) << "segment 0x5000 must not land at 0x50000";
}

TEST_F(ParserTest, OtherRecordTypesAreSkippedAndDataKeepsTheLastSegmentBase) {
  // A type-04 record would move a full Intel HEX reader to 0x10000: ours ignores it.
  const std::string text = SegmentRecord(0x2000) + ":020000040001F9\r\n" +
                           ":0400000512345678E3\r\n" + Record(0, 0x0008, {0x77}) + kEndRecord;
  const HexLoadResult result = Parse(text);
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(buffer[0x20008], 0x77);
  EXPECT_EQ(buffer[0x10008], 0xFF);
  EXPECT_EQ(result.loadedBytes, 1u);
}

TEST_F(ParserTest, TheEndRecordStopsReadingAndSoDoesAFullImage) {
  // Nothing after the end record is looked at, not even a line without ':'.
  HexLoadResult result = Parse(Record(0, 0, {1}) + kEndRecord + "garbage\r\n" + Record(0, 1, {2}));
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(result.lineNumber, 2);
  EXPECT_EQ(buffer[1], 0xFF);

  // 0x42000 data bytes in 16-byte records, with the second tail from segment 0x5000.
  std::string full;
  for (unsigned segment = 0; segment <= 0x4000; segment += 0x1000) {
    full += SegmentRecord(segment);
    const unsigned size = segment == 0x4000 ? 0x1000 : 0x10000;
    for (unsigned address = 0; address < size; address += 16) {
      full += Record(0, address, std::vector<std::uint8_t>(16, 0x5A));
    }
  }
  full += SegmentRecord(0x5000);
  for (unsigned address = 0; address < 0x1000; address += 16) {
    full += Record(0, address, std::vector<std::uint8_t>(16, 0xA5));
  }
  result = Parse(full + "not a record\r\n" + kEndRecord);
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(result.loadedBytes, kLoadedImageSize);
  EXPECT_EQ(buffer[0x40FFF], 0x5A);
  EXPECT_EQ(buffer[0x41000], 0xA5);
  EXPECT_EQ(buffer[0x41FFF], 0xA5);
}

TEST_F(ParserTest, EndOfTextWithoutEndRecordIsANormalEnd) {
  EXPECT_EQ(Parse("").end, HexLoadEnd::kNormalEnd);
  EXPECT_TRUE(std::all_of(buffer.begin(), buffer.begin() + kLoadedImageSize,
                          [](std::uint8_t b) { return b == 0xFF; }));
  const HexLoadResult result = Parse(Record(0, 0x20, {0x42}));
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(buffer[0x20], 0x42);
}

TEST_F(ParserTest, ALineWithoutStartCharacterStopsTheParse) {
  for (const std::string bad : {"\r\n", " :00000001FF\r\n", "00000001FF\r\n"}) {
    const HexLoadResult result = Parse(Record(0, 0, {1}) + bad + Record(0, 1, {2}) + kEndRecord);
    EXPECT_EQ(result.end, HexLoadEnd::kBadStartCharacter) << bad;
    EXPECT_EQ(result.lineNumber, 2) << bad;
    EXPECT_EQ(buffer[1], 0xFF) << "no record after the bad line is taken";
  }
}

TEST_F(ParserTest, CrBeforeLfDoesNotCountTowardTheLinePieceLength) {
  // 254 characters and CR LF: one piece of 255 with its LF, so the line is whole.
  std::string line = ":7A000000" + std::string(244, 'E') + "0";
  ASSERT_EQ(line.size(), 254u);
  const HexLoadResult result = Parse(line + "\r\n" + Record(0, 0x100, {0x99}) + kEndRecord);
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(buffer[0x79], 0xEE);
  EXPECT_EQ(buffer[0x100], 0x99);
}

TEST_F(ParserTest, ALongLineIsTakenInPiecesAndTheNextPieceFails) {
  // A skipped record type 300 characters long: its second piece has no ':'.
  const std::string longLine = ":00000004" + std::string(291, '0') + "\r\n";
  HexLoadResult result = Parse(Record(0, 0, {1}) + longLine + kEndRecord);
  EXPECT_EQ(result.end, HexLoadEnd::kBadStartCharacter);
  EXPECT_EQ(result.lineNumber, 2) << "the piece belongs to line 2";

  // A data record whose digits run past the first piece is a bad record.
  std::string longData = ":80000000" + std::string(256, 'A') + "00\r\n";
  result = Parse(longData + kEndRecord);
  EXPECT_EQ(result.end, HexLoadEnd::kBadRecord);
  EXPECT_EQ(result.lineNumber, 1);
  EXPECT_EQ(buffer[0], 0xFF) << "a bad record stores none of its bytes";
}

TEST_F(ParserTest, NonHexFieldsAndShortRecordsStopWithTheirLineNumber) {
  const std::vector<std::string> badRecords = {
      ":1G00000000\r\n",        // byte count
      ":0100x00012\r\n",        // address
      ":0100000Z12\r\n",        // type
      ":020000020G00F0\r\n",    // segment digits
      ":02000002500\r\n",       // segment shorter than four digits
      ":0400000011223Q44\r\n",  // a data digit
      ":10000000AABB\r\n",      // byte count beyond the line
      ":1000000\r\n",           // fields cut short
      ":\n",
  };
  for (const std::string& bad : badRecords) {
    const HexLoadResult result = Parse(Record(0, 0x30, {7}) + bad + Record(0, 0, {1}));
    EXPECT_EQ(result.end, HexLoadEnd::kBadRecord) << bad;
    EXPECT_EQ(result.lineNumber, 2) << bad;
    EXPECT_EQ(buffer[0], 0xFF) << bad;
    EXPECT_EQ(buffer[0x30], 7) << bad;
  }
}

TEST_F(ParserTest, DataBeyondTheImageIsDroppedButCounted) {
  // Segment 0x4100 + 0x0FFF is 0x41FFF: the first byte fits, the second does not.
  const std::string text = SegmentRecord(0x4100) + Record(0, 0x0FFF, {0x31, 0x32, 0x33}) +
                           SegmentRecord(0xFFFF) + Record(0, 0xFFFF, {0x34}) + kEndRecord;
  const HexLoadResult result = Parse(text);
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(result.loadedBytes, 4u);
  EXPECT_EQ(buffer[0x41FFF], 0x31);
  EXPECT_TRUE(std::all_of(buffer.begin() + kLoadedImageSize, buffer.end(),
                          [](std::uint8_t b) { return b == 0x11; }));
}

// Lines viewed in the read block and lines taken character by character (at
// block boundaries) must give the same pieces: a text parsed whole against the
// same bytes read from a stream in blocks of every small size.
TEST(HexLineReaderTest, BlockBoundariesNeverChangeWhatALoadGives) {
  const std::string longLine = ":00000004" + std::string(300, '0');
  const std::vector<std::string> texts = {
      Record(0, 0x10, {1, 2, 3}) + Record(0, 0x20, {4}) + kEndRecord,
      ":020000020001FB\r\r\n" + Record(0, 0, {5}),                // a CR kept before CR LF
      Record(0, 0, {6}) + ":00000003\rFF\n" + Record(0, 1, {7}),  // a lone CR inside a line
      ":7A000000" + std::string(244, 'E') + "0\r\n" + Record(0, 0x100, {8}),  // 254 + CR LF
      ":7A000000" + std::string(245, 'E') + "\r\n" + Record(0, 0x100, {9}),   // 255 + CR LF
      ":7A000003" + std::string(246, 'E') + "\n",                             // 256 + LF
      longLine + "\r\n" + Record(0, 0, {1}),
      Record(0, 0, {1}) + "\r\n",
      Record(0, 0x30, {0xAB, 0xCD}).substr(0, 12),  // the last line cut short, no LF
  };
  loadertest::TempDir dir;
  for (const std::string& text : texts) {
    std::vector<std::uint8_t> whole(kLoadedImageSize);
    const HexLoadResult expected = flash::ParseHexText(text, whole);
    const std::string path = dir.Write("blocks.hex", text);
    for (const std::size_t blockSize : {1, 2, 3, 5, 7, 16, 255, 256, 257}) {
      std::FILE* stream = std::fopen(path.c_str(), "rb");
      ASSERT_NE(stream, nullptr);
      flash::HexLineReader reader(stream, blockSize);
      std::vector<std::uint8_t> blocked(kLoadedImageSize);
      const HexLoadResult result = flash::ParseHexLines(reader, blocked);
      std::fclose(stream);
      const std::string where = "block size " + std::to_string(blockSize) + ": " + text;
      EXPECT_EQ(result.end, expected.end) << where;
      EXPECT_EQ(result.lineNumber, expected.lineNumber) << where;
      EXPECT_EQ(result.loadedBytes, expected.loadedBytes) << where;
      EXPECT_TRUE(blocked == whole) << where;
    }
  }
}

TEST(ParseHexFileTest, OpenAndReadFailuresBecomeFileExceptionCauses) {
  loadertest::TempDir dir;
  std::vector<std::uint8_t> working(kLoadedImageSize);
  HexLoadResult result = flash::ParseHexFile(dir.Path("missing.hex"), working);
  EXPECT_EQ(result.end, HexLoadEnd::kFileException);
  EXPECT_EQ(result.cause, flash::FileExceptionCause::kFileNotFound);
  EXPECT_TRUE(std::all_of(working.begin(), working.end(), [](std::uint8_t b) { return b == 0xFF; }))
      << "every parse fills the working image first, even one whose file does not open";

  result = flash::ParseHexFile(dir.Path(""), working);  // the folder itself
  EXPECT_EQ(result.end, HexLoadEnd::kFileException);
  EXPECT_EQ(result.cause, flash::FileExceptionCause::kAccessDenied);

  // Opens, but reading its first page fails with EIO: never taken as the end of
  // the file. Only where the system has such a file.
  if (const std::string unreadable = testsupport::OpenableUnreadableFile(); !unreadable.empty()) {
    result = flash::ParseHexFile(unreadable, working);
    EXPECT_EQ(result.end, HexLoadEnd::kFileException);
    EXPECT_EQ(result.cause, flash::FileExceptionCause::kHardIo);
  }

  const std::string path = dir.Write("ok.hex", std::string(kWorkedExample) + kEndRecord);
  result = flash::ParseHexFile(path, working);
  EXPECT_EQ(result.end, HexLoadEnd::kNormalEnd);
  EXPECT_EQ(working[0x3F2], 'K');
}

}  // namespace
