// The Intel HEX writer: record bytes and checksums, segment records, the
// 0x41000 area under segment 0x5000, line ends and the end record.
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "emulator/intel_hex_writer.h"
#include "tests/emulator/firmware_test_hex_reader.h"

namespace emu::testing {
namespace {

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
  return bytes;
}

TEST(HexWriter, RecordsMatchKnownLines) {
  const std::array<std::uint8_t, 16> info = {0x41, 0x54, 0x4B, 0x53, 0x54, 0x31, 0x2E, 0x30,
                                             0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(HexRecord(0x00, 0x03F0, info), ":1003F00041544B5354312E3032FFFFFFFFFFFFFFBC");
  EXPECT_EQ(HexRecord(0x02, 0, std::array<std::uint8_t, 2>{0x50, 0x00}), ":020000025000AC");
  EXPECT_EQ(HexRecord(0x02, 0, std::array<std::uint8_t, 2>{0x40, 0x00}), ":020000024000BC");
  EXPECT_EQ(HexRecord(0x01, 0, {}), ":00000001FF");
  // 255 bytes is the most one record can count; one more would wrap to 00.
  EXPECT_EQ(HexRecord(0x00, 0, std::vector<std::uint8_t>(255, 0)).substr(0, 3), ":FF");
  EXPECT_EQ(HexRecord(0x00, 0, std::vector<std::uint8_t>(256, 0)), "");
}

TEST(HexWriter, DualImageRoundTripsThroughSegmentsZeroToFiveThousand) {
  const auto image = Pattern(0x42000);
  const std::string text = WriteIntelHex(image);
  const HexReadResult read = ReadHexStrict(text, /*expectCrlf=*/true);
  ASSERT_EQ(read.problem, "");
  EXPECT_TRUE(read.sawEnd);
  EXPECT_EQ(read.segments,
            (std::vector<std::uint16_t>{0x0000, 0x1000, 0x2000, 0x3000, 0x4000, 0x5000}));
  EXPECT_EQ(read.dataBytes, 0x42000u);
  EXPECT_EQ(read.image, image);
  // Segment 0x5000 starts over at address 0: the byte for 0x41000 is written there.
  EXPECT_NE(text.find(":020000025000AC\r\n:10000000"), std::string::npos);
}

TEST(HexWriter, SingleImageStopsInSegmentTwoWithAShortLastRecord) {
  const auto image = Pattern(0x21010);
  const std::string text = WriteIntelHex(image, {.endRecord = true, .crlf = false});
  const HexReadResult read = ReadHexStrict(text, /*expectCrlf=*/false);
  ASSERT_EQ(read.problem, "");
  EXPECT_EQ(read.segments, (std::vector<std::uint16_t>{0x0000, 0x1000, 0x2000}));
  EXPECT_TRUE(std::equal(image.begin(), image.end(), read.image.begin()));
  EXPECT_EQ(read.image[0x21010], 0xFF);
}

TEST(HexWriter, WithoutEndRecordAndBeyondTheSegmentSchemeNothingIsWritten) {
  const std::string truncated = WriteIntelHex(Pattern(0x100), {.endRecord = false});
  EXPECT_EQ(truncated.find(":00000001FF"), std::string::npos);
  EXPECT_FALSE(ReadHexStrict(truncated, true).sawEnd);
  // Bytes past what segment 0x5000 reaches would need addresses above 0xFFFF.
  const std::string text = WriteIntelHex(Pattern(kMaxHexImageSize + 0x40));
  std::size_t records = 0;
  for (std::size_t at = text.find(":10"); at != std::string::npos; at = text.find(":10", at + 1)) {
    ++records;
  }
  EXPECT_EQ(records, kMaxHexImageSize / 16);
}

}  // namespace
}  // namespace emu::testing
