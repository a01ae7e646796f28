// Digit pairs to bytes, in runs long enough for the sixteen-byte path and
// with remainders for the table path: every value, both cases, and a
// non-digit at every position.
#include "flash/hex_digits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr char kUpper[] = "0123456789ABCDEF";
constexpr char kLower[] = "0123456789abcdef";

// `count` bytes counting up from `first`, written in upper or lower case digits.
std::string Digits(std::size_t count, unsigned first, bool lowerCase) {
  const char* alphabet = lowerCase ? kLower : kUpper;
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned byte = (first + static_cast<unsigned>(i) * 7) & 0xFF;
    text += alphabet[byte >> 4];
    text += alphabet[byte & 0x0F];
  }
  return text;
}

std::vector<std::uint8_t> Expected(std::size_t count, unsigned first) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < count; ++i) {
    bytes.push_back(static_cast<std::uint8_t>((first + static_cast<unsigned>(i) * 7) & 0xFF));
  }
  return bytes;
}

TEST(HexDigitsTest, EveryByteValueInBothCasesAndEveryRunLength) {
  for (std::size_t count = 0; count <= 40; ++count) {
    for (const unsigned first : {0u, 0x5Au, 0xF9u}) {
      for (const bool lowerCase : {false, true}) {
        const std::string text = Digits(count, first, lowerCase);
        std::vector<std::uint8_t> out(count + 1, 0xEE);
        ASSERT_TRUE(flash::DecodeHexBytes(text.data(), count, out.data())) << text;
        out.pop_back();
        EXPECT_EQ(out, Expected(count, first)) << text;
      }
    }
  }
  // All 256 values: a run of 256 bytes counting up, mixed case.
  std::string all;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char* highAlphabet = (byte & 1) != 0 ? kLower : kUpper;
    const char* lowAlphabet = (byte & 2) != 0 ? kLower : kUpper;
    all += highAlphabet[byte >> 4];
    all += lowAlphabet[byte & 0x0F];
  }
  std::vector<std::uint8_t> out(256);
  ASSERT_TRUE(flash::DecodeHexBytes(all.data(), 256, out.data()));
  for (unsigned byte = 0; byte < 256; ++byte) EXPECT_EQ(out[byte], byte);
}

TEST(HexDigitsTest, ANonDigitAnywhereFailsTheRun) {
  // Neighbours of the digit ranges, control and high characters (the high
  // ones with a digit's or a letter's low seven bits).
  const std::string notDigits("/:@G`g \0\r\x80\xB0\xC1\xE6\xFF", 14);
  for (const std::size_t count : {1u, 15u, 16u, 17u, 33u}) {
    const std::string good = Digits(count, 0x3C, false);
    std::vector<std::uint8_t> out(count);
    for (std::size_t position = 0; position < good.size(); ++position) {
      for (const char bad : notDigits) {
        std::string text = good;
        text[position] = bad;
        EXPECT_FALSE(flash::DecodeHexBytes(text.data(), count, out.data()))
            << "count " << count << ", position " << position << ", character "
            << static_cast<int>(static_cast<unsigned char>(bad));
      }
    }
  }
}

}  // namespace
