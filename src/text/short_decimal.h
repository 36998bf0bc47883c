#ifndef LINES2SVG_TEXT_SHORT_DECIMAL_H_
#define LINES2SVG_TEXT_SHORT_DECIMAL_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/bits.h"

namespace lines2svg {

// Up to this many digits, the digits of a number form an integer below 2^53, a double exactly.
inline constexpr std::size_t kExactDigits = 15;

inline constexpr double kPowersOfTen[kExactDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

namespace detail {

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kZeroDigits = 0x30 * kEveryByte;

// The index of the first of the eight bytes of `word` (the first in its lowest bits) that is
// not a digit, 8 if there is none. The test, per byte, is that neither adding 0x46 nor
// subtracting 0x30 reaches the top bit. A carry or borrow can cross into the byte above, but only
// out of a byte that is not a digit, so the bytes up to and including the first one that is not
// are judged right.
inline std::size_t leadingDigitCount(std::uint64_t word) {
  const std::uint64_t flags =
      ((word + 0x46 * kEveryByte) | (word - kZeroDigits)) & (0x80 * kEveryByte);
  return flags == 0 ? 8 : lowestSetBit(flags) / 8;
}

// The value of the first `count` (1 to 8) bytes of `word`, which are digits, read eight at once
// with three multiplications: the SIMD-within-a-register parse that Daniel Lemire describes
// ("Quickly parsing eight digits", 2018) and fast_float and simdjson use, in a variant of its
// constants. The digits are moved to the top and '0's fill in below, so that the word holds eight
// digits, d0 (the most significant, in the lowest byte) to d7. With '0' taken from each byte:
// - word * 10 + (word >> 8) makes byte 0 the pair p0 = 10 d0 + d1, below 100 and so with no
//   carry, byte 2 the pair p1 = 10 d2 + d3, byte 4 p2 and byte 6 p3 (the odd bytes hold other
//   sums, which the masks drop);
// - bytes 0 and 4 (p0, p2) times 100 + 10^6 * 2^32, plus bytes 2 and 6 (p1, p3) times
//   1 + 10^4 * 2^32, hold p0 * 10^6 + p1 * 10^4 + p2 * 100 + p3 in bits 32 to 63. The terms that
//   would land above bit 63 fall off, and those below bit 32 (p0 * 100 + p1) cannot carry.
inline std::uint64_t leadingDigitsValue(std::uint64_t word, std::size_t count) {
  static constexpr std::uint64_t kFill[9] = {
      kZeroDigits,       kZeroDigits >> 8,  kZeroDigits >> 16,
      kZeroDigits >> 24, kZeroDigits >> 32, kZeroDigits >> 40,
      kZeroDigits >> 48, kZeroDigits >> 56, 0};
  word = (word << (64 - 8 * count)) | kFill[count];
  word -= kZeroDigits;
  word = word * 10 + (word >> 8);
  constexpr std::uint64_t kMask = 0x000000FF000000FF;
  return ((word & kMask) * (100 + (1000000ULL << 32)) +
          ((word >> 16) & kMask) * (1 + (10000ULL << 32))) >>
         32;
}

// The eight bytes from `p` on, the first in the lowest bits.
inline std::uint64_t load(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The value of a byte as a digit: 0 to 9 for '0' to '9', above 9 for any other byte. The one digit
// test of the short form.
inline unsigned digitValue(char c) { return static_cast<unsigned char>(c) - unsigned{'0'}; }

}  // namespace detail

// A coordinate in the short form the passes read first, straight from the token reader's buffer:
// an optional sign, then digits with at most one point among them. Each reader below accepts a
// subset of what a stream reads as a number and gives exactly what readNumber gives for it;
// anything else it refuses, and the caller falls back to the general path (NumberScanner).
struct ShortDecimal {
  // The digits before the point, as an integer.
  std::uint64_t whole = 0;
  // All the digits, the point left out, as an integer. Past 19 digits it may wrap, as `whole` may;
  // the readers refuse anything over kExactDigits digits by the counts before they use either.
  std::uint64_t digits = 0;
  std::size_t wholeDigits = 0;
  std::size_t decimals = 0;
  bool negative = false;
  // The first byte that cannot continue the form; the caller decides whether the token ends there.
  const char* end = nullptr;
};

// Scans the short form from its first byte at `p`, reading at most `kMostWholeDigits` digits
// before the point (eight, or all of them) and at most `kMostDecimals` after it: a further digit
// is left where `end` points, so that a caller that needs the token to end there refuses the
// number. The whole digits are read eight bytes at a time, as most coordinates have them, so a
// byte that is no digit must follow, and at least eight readable bytes after it (TokenReader's
// padding ensures both).
template <std::size_t kMostWholeDigits, std::size_t kMostDecimals>
[[gnu::always_inline]] inline ShortDecimal scanShortDecimal(const char* p) {
  ShortDecimal d;
  d.negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const char* const start = p;
  const std::uint64_t word = detail::load(p);
  const std::size_t count = detail::leadingDigitCount(word);
  d.whole = count > 0 ? detail::leadingDigitsValue(word, count) : 0;
  p += count;
  if constexpr (kMostWholeDigits > 8) {
    if (count == 8) {
      for (unsigned digit; (digit = detail::digitValue(*p)) <= 9; ++p) {
        d.whole = d.whole * 10 + digit;
      }
    }
  }
  d.wholeDigits = static_cast<std::size_t>(p - start);
  d.digits = d.whole;
  if (*p == '.') {
    const char* const fraction = ++p;
    for (std::size_t i = 0; i < kMostDecimals; ++i, ++p) {
      const unsigned digit = detail::digitValue(*p);
      if (digit > 9) break;
      d.digits = d.digits * 10 + digit;
    }
    d.decimals = static_cast<std::size_t>(p - fraction);
  }
  d.end = p;
  return d;
}

// Reads a short decimal of at least one and at most kExactDigits digits as the double stream
// extraction gives for it, and points `stop` at the byte after it. The digits form an integer
// below 2^53 and the power of ten for the point is exact too, so the one division rounds
// correctly, as a correctly rounding strtod does. Returns false, touching nothing, otherwise.
inline bool readDecimalPrefix(const char* p, const char** stop, double* value) {
  const ShortDecimal d = scanShortDecimal<kExactDigits + 1, kExactDigits + 1>(p);
  const std::size_t count = d.wholeDigits + d.decimals;
  if (count == 0 || count > kExactDigits) return false;
  const double v =
      static_cast<double>(static_cast<std::int64_t>(d.digits)) / kPowersOfTen[d.decimals];
  *value = d.negative ? -v : v;
  *stop = d.end;
  return true;
}

// Truncates a coordinate toward zero to a 32-bit integer, as the bounds take it, saturating at the
// limits of the type.
inline std::int32_t truncateToInt32(double value) {
  constexpr double kHigh = 2147483647.0;
  constexpr double kLow = -2147483648.0;
  if (value >= kHigh) return 2147483647;
  if (value <= kLow) return -2147483647 - 1;
  // NaN fails both tests above; it never comes from readNumber, but must not reach the cast.
  return value == value ? static_cast<std::int32_t>(value) : 0;
}

// Reads the same numbers as readDecimalPrefix but gives the value truncated toward zero, saturated
// to 32 bits, as truncateToInt32 gives it, without a double. With at most kExactDigits digits, k
// of them after the point, the value is below 10^(15-k), so half a unit in the last place of its
// double is below 0.23 x 10^-k; the fraction's distance to the next integer is at least 10^-k,
// and integers below 2^53 are doubles themselves, so the double lies between the same two
// integers as the decimal and truncates to its integer part.
inline bool truncateDecimalPrefix(const char* p, const char** stop, std::int32_t* value) {
  const ShortDecimal d = scanShortDecimal<kExactDigits + 1, kExactDigits + 1>(p);
  const std::size_t count = d.wholeDigits + d.decimals;
  if (count == 0 || count > kExactDigits) return false;
  constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;
  *value = d.negative
               ? static_cast<std::int32_t>(-static_cast<std::int64_t>(std::min(d.whole, kLimit)))
               : static_cast<std::int32_t>(std::min(d.whole, kLimit - 1));
  *stop = d.end;
  return true;
}

// Reads the commonest coordinate as a whole number of hundredths: at most eight digits before
// the point and at most two after it, at least one digit in all. Negative zero ("-0", "-0.00") is
// refused, since a stream writes the double it gives as "-0.00".
//
// Such a coordinate a, less or taken from a 32-bit integer m, is written with two decimals as a
// stream would write the double m - a (or a - m) computed from a as readNumber reads it. With a
// below 10^8, the double of a is within 2^-27 of a (half a unit in the last place below 2^27),
// and the difference, below 2^32, rounds by at most 2^-21 more; so the double lies within 10^-6
// of the exact difference, a whole number of hundredths, and rounds to it with no tie. Its sign is
// that number's, and where the number is 0 the double is +0, written "0.00".
[[gnu::always_inline]] inline bool readHundredthsPrefix(const char* p, const char** stop,
                                                        std::int64_t* hundredths) {
  const ShortDecimal d = scanShortDecimal<8, 2>(p);
  if (d.wholeDigits + d.decimals == 0) return false;
  static constexpr std::uint64_t kScale[] = {100, 10, 1};
  const std::uint64_t value = d.digits * kScale[d.decimals];
  if (d.negative && value == 0) return false;
  *hundredths = d.negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  *stop = d.end;
  return true;
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_SHORT_DECIMAL_H_
