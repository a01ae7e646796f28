// Hexadecimal digit pairs to bytes: sixteen bytes at a time where the
// processor has SSE2 (every x86-64), through lookup tables for the rest.
#include "flash/hex_digits.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace flash {

namespace {

// Digit values by character, as the high and as the low half of a byte; a
// character that is not a hexadecimal digit sets kNotHexDigit instead.
constexpr std::uint16_t kNotHexDigit = 0x100;

constexpr std::array<std::uint16_t, 256> HexDigitTable(unsigned shift) {
  std::array<std::uint16_t, 256> values{};
  values.fill(kNotHexDigit);
  const auto set = [&](char first, char last, unsigned firstValue) {
    for (char c = first; c <= last; ++c) {
      values[static_cast<unsigned char>(c)] =
          static_cast<std::uint16_t>((firstValue + static_cast<unsigned>(c - first)) << shift);
    }
  };
  set('0', '9', 0);
  set('A', 'F', 10);
  set('a', 'f', 10);
  return values;
}

constexpr std::array<std::uint16_t, 256> kHighDigits = HexDigitTable(4);
constexpr std::array<std::uint16_t, 256> kLowDigits = HexDigitTable(0);

// No branch per digit: every value is or'ed into `seen` and checked once.
bool DecodeByTable(const unsigned char* digits, std::size_t count, std::uint8_t* out) {
  std::uint16_t seen = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint16_t value = kHighDigits[digits[2 * i]] | kLowDigits[digits[2 * i + 1]];
    seen |= value;
    out[i] = static_cast<std::uint8_t>(value);
  }
  return (seen & kNotHexDigit) == 0;
}

#if defined(__SSE2__)
constexpr std::size_t kVectorBytes = 16;  // decoded from 32 digits

// Sixteen digits to their values (0..15); false when one is not a digit.
// Signed byte compares: characters from 0x80 up are negative and match nothing.
bool DigitValues(__m128i characters, __m128i& values) {
  const __m128i isDigit = _mm_and_si128(_mm_cmpgt_epi8(characters, _mm_set1_epi8('0' - 1)),
                                        _mm_cmplt_epi8(characters, _mm_set1_epi8('9' + 1)));
  const __m128i folded = _mm_or_si128(characters, _mm_set1_epi8(0x20));  // 'A'..'F' to 'a'..'f'
  const __m128i isLetter = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                         _mm_cmplt_epi8(folded, _mm_set1_epi8('f' + 1)));
  if (_mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)) != 0xFFFF) return false;
  // A digit's value is its low nibble; a letter's is its low nibble plus 9.
  values = _mm_add_epi8(_mm_and_si128(characters, _mm_set1_epi8(0x0F)),
                        _mm_and_si128(isLetter, _mm_set1_epi8(9)));
  return true;
}

// Each 16-bit lane holds a pair of values, the high digit in its low byte:
// the pair's byte, in the lane's low byte.
__m128i PairBytes(__m128i values) {
  return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(values, _mm_set1_epi16(0x00FF)), 4),
                      _mm_srli_epi16(values, 8));
}

bool DecodeSixteenBytes(const unsigned char* digits, std::uint8_t* out) {
  __m128i first, second;
  if (!DigitValues(_mm_loadu_si128(reinterpret_cast<const __m128i*>(digits)), first) ||
      !DigitValues(_mm_loadu_si128(reinterpret_cast<const __m128i*>(digits + 16)), second)) {
    return false;
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                   _mm_packus_epi16(PairBytes(first), PairBytes(second)));
  return true;
}
#endif

}  // namespace

bool DecodeHexBytes(const char* digits, std::size_t count, std::uint8_t* out) {
  const auto* characters = reinterpret_cast<const unsigned char*>(digits);
  std::size_t done = 0;
#if defined(__SSE2__)
  for (; count - done >= kVectorBytes; done += kVectorBytes) {
    if (!DecodeSixteenBytes(characters + 2 * done, out + done)) return false;
  }
#endif
  return DecodeByTable(characters + 2 * done, count - done, out + done);
}

}  // namespace flash
