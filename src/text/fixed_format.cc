// Writing real numbers in fixed notation, as a stream does.
#include "text/fixed_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "text/bits.h"

namespace lines2svg {

namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The eight decimal digits of n < 10^8 as bytes 0 to 9, the most significant in the lowest byte.
// n is split into two halves of four digits, each half into two pairs and each pair into two
// digits, all lanes at once, each lane divided by a multiply-shift that is exact over its range:
// - (x * 10486) >> 20 is x / 100 for x < 43,699, and the halves are below 10^4: 10486 / 2^20
//   exceeds 1/100 by 0.24 / 2^20, so the product is off by less than x * 2.3e-7, which stays
//   below the 0.01 that x / 100 can lie under the next integer while x < 43,478; a search of
//   every x finds the first failure at 43,699;
// - (x * 103) >> 10 is x / 10 for x < 179, and the pairs are below 100: 103 / 2^10 exceeds 1/10
//   by 0.6 / 2^10, off by less than x * 5.9e-4 against a margin of 0.1 while x < 170, and a
//   search finds the first failure at 179.
// A lane's product stays inside its 32 or 16 bits, so the lanes do not disturb each other. The
// tests compare the digits with the library's for every n below 10^6 and for random others.
std::uint64_t eightDigits(std::uint32_t n) {
  const std::uint64_t merged = (n / 10000) | (std::uint64_t{n % 10000} << 32);
  const std::uint64_t top = ((merged * 10486) >> 20) & (0x7FULL << 32 | 0x7F);
  const std::uint64_t hundreds = ((merged - 100 * top) << 16) + top;
  std::uint64_t tens =
      ((hundreds * 103) >> 10) & (0xFULL << 48 | 0xFULL << 32 | 0xFULL << 16 | 0xF);
  tens += (hundreds - 10 * tens) << 8;
  return tens;
}

constexpr std::uint64_t kZeroCharacters = 0x3030303030303030;

// Writes n < 10^8 in decimal without leading zeros at `p` and returns the end. The eight digits
// are stored at once, so up to seven bytes past the end are written too.
char* writeUpToEightDigits(std::uint32_t n, char* p) {
  const std::uint64_t digits = eightDigits(n);
  // The leading zeros are the lowest bytes that are 0; n = 0 keeps its last one.
  const std::size_t zeros = n == 0 ? 7 : lowestSetBit(digits) / 8;
  const std::uint64_t characters = (digits + kZeroCharacters) >> (8 * zeros);
  std::memcpy(p, &characters, sizeof characters);
  return p + 8 - zeros;
}

// Writes n in decimal without leading zeros at `p` and returns the end, writing up to seven bytes
// past it too.
char* writeWhole(std::uint64_t n, char* p) {
  if (n < 100000000) return writeUpToEightDigits(static_cast<std::uint32_t>(n), p);
  p = writeWhole(n / 100000000, p);
  const std::uint64_t characters =
      eightDigits(static_cast<std::uint32_t>(n % 100000000)) + kZeroCharacters;
  std::memcpy(p, &characters, sizeof characters);
  return p + 8;
}

// Writes `rounded` / 10^precision (precision 0 or 2) with its sign, and returns the length.
std::size_t writeFixed(std::uint64_t rounded, bool negative, int precision, char* buffer) {
  char* p = buffer;
  *p = '-';
  p += negative;
  p = writeWhole(precision == 2 ? rounded / 100 : rounded, p);
  if (precision == 2) {
    *p++ = '.';
    std::memcpy(p, kDigitPairs + 2 * (rounded % 100), 2);
    p += 2;
  }
  return static_cast<std::size_t>(p - buffer);
}

// Formats a value below 2^52 in magnitude with 0 or 2 decimals. Such a value is an integer times
// a power of two no greater than 1/2, so the value times 10^precision is rounded exactly, ties to
// even, with integer arithmetic alone. Returns 0 for anything else.
std::size_t formatSmall(double value, int precision, char* buffer) {
  if (precision != 0 && precision != 2) return 0;
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased >= 1023 + 52) return 0;
  // value = ±mantissa / 2^shift, with shift at least 1.
  int shift = 1074;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    shift = 1075 - biased;
  }
  const std::uint64_t scaled = mantissa * (precision == 2 ? 100 : 1);  // below 2^60
  std::uint64_t rounded = 0;
  if (shift < 64) {
    rounded = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    // Branch-free: whether to round up is as good as random.
    rounded += static_cast<std::uint64_t>(rest > half) |
               (static_cast<std::uint64_t>(rest == half) & rounded & 1);
  }  // Otherwise the value is below half a unit of the last decimal: it rounds to zero.

  return writeFixed(rounded, negative, precision, buffer);
}

// Formats with two decimals a value whose hundredths are clearly not near a tie, as most are; 0
// for any other. Below 2^38 the double product |value| x 100 is within 2^-16 of the exact one,
// so when its fraction is below 0.4 or above 0.6 the exact product rounds the same way. Its
// fraction is exact: the product less its integer part loses no bit.
std::size_t formatClearHundredths(double value, char* buffer) {
  const double scaled = std::fabs(value) * 100;
  if (!(scaled < 0x1p38)) return 0;
  const auto whole = static_cast<std::uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(whole);
  std::uint64_t rounded = whole;
  if (fraction > 0.6) {
    rounded = whole + 1;
  } else if (fraction >= 0.4) {
    return 0;
  }
  return writeFixed(rounded, std::signbit(value), 2, buffer);
}

// The magnitude of a whole number, in unsigned arithmetic, where the most negative has one too.
std::uint64_t magnitudeOf(std::int64_t hundredths) {
  return hundredths < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(hundredths)
                        : static_cast<std::uint64_t>(hundredths);
}

// Writes hundredths whose magnitude is below 10^8, given its eight digits as eightDigits gives
// them, and returns the end: six digits before the point and two after it. The whole part loses
// its leading zeros but keeps its last digit; the point and the decimals are stored over what
// follows it, and up to seven bytes past the end are written too.
char* writeCommonHundredths(bool negative, std::uint64_t digits, char* p) {
  *p = '-';
  p += negative;
  const std::uint64_t whole = digits & 0x0000FFFFFFFFFFFF;
  const std::size_t zeros = whole == 0 ? 5 : lowestSetBit(whole) / 8;
  const std::uint64_t characters = digits + kZeroCharacters;
  const std::uint64_t wholeCharacters = (characters & 0x0000FFFFFFFFFFFF) >> (8 * zeros);
  std::memcpy(p, &wholeCharacters, sizeof wholeCharacters);
  p += 6 - zeros;
  const auto point = static_cast<std::uint32_t>('.' | (characters >> 48) << 8);
  std::memcpy(p, &point, sizeof point);
  return p + 3;
}

constexpr std::uint64_t kCommonLimit = 100000000;

}  // namespace

std::size_t formatHundredths(std::int64_t hundredths, char* buffer) {
  const std::uint64_t magnitude = magnitudeOf(hundredths);
  if (magnitude >= kCommonLimit) return writeFixed(magnitude, hundredths < 0, 2, buffer);
  const std::uint64_t digits = eightDigits(static_cast<std::uint32_t>(magnitude));
  return static_cast<std::size_t>(writeCommonHundredths(hundredths < 0, digits, buffer) - buffer);
}

std::size_t formatHundredthsPair(std::int64_t a, std::int64_t b, char* buffer) {
  const std::uint64_t magnitudeA = magnitudeOf(a);
  const std::uint64_t magnitudeB = magnitudeOf(b);
  char* p = buffer;
  if (magnitudeA < kCommonLimit && magnitudeB < kCommonLimit) {
    p = writeCommonHundredths(a < 0, eightDigits(static_cast<std::uint32_t>(magnitudeA)), p);
    *p++ = ' ';
    p = writeCommonHundredths(b < 0, eightDigits(static_cast<std::uint32_t>(magnitudeB)), p);
  } else {
    p += formatHundredths(a, p);
    *p++ = ' ';
    p += formatHundredths(b, p);
  }
  return static_cast<std::size_t>(p - buffer);
}

std::size_t formatInteger(std::int64_t value, char* buffer) {
  return writeFixed(magnitudeOf(value), value < 0, 0, buffer);
}

std::size_t formatFixed(double value, int precision, char* buffer) {
  if (precision == 2) {
    if (std::size_t length = formatClearHundredths(value, buffer); length > 0) return length;
  }
  if (std::size_t length = formatSmall(value, precision, buffer); length > 0) return length;
  auto result =
      std::to_chars(buffer, buffer + kFixedBufferSize, value, std::chars_format::fixed, precision);
  return static_cast<std::size_t>(result.ptr - buffer);
}

}  // namespace lines2svg
