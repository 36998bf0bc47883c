#ifndef LINES2SVG_TEXT_SHORT_DECIMAL_H_
#define LINES2SVG_TEXT_SHORT_DECIMAL_H_

#include <algorithm>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/bits.h"

// The exact paths below rest on double arithmetic rounding once, to double. An x87 build that
// keeps intermediates in 80 bits would round twice.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "lines2svg needs double arithmetic evaluated in double (FLT_EVAL_METHOD 0): build with SSE2"
#endif

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

// Reads the digits from `p` on into `value` and returns where they stop: up to eight at once, as
// most coordinates have before their point, and any more one by one. A longer run than
// kExactDigits wraps `value` harmlessly; the callers refuse it by its length.
inline const char* readDigits(const char* p, std::uint64_t* value) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  const std::size_t count = leadingDigitCount(word);
  std::uint64_t digits = count > 0 ? leadingDigitsValue(word, count) : 0;
  p += count;
  for (unsigned d; (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p) {
    digits = digits * 10 + d;
  }
  *value = digits;
  return p;
}

}  // namespace detail

// Reads the common coordinate from its first byte at `p`: an optional sign, then digits with at
// most one point among them, at least one digit and at most kExactDigits. It stops at the first
// byte that cannot continue that form and points `stop` at it; the caller decides whether the
// token ends there. Digits are read eight bytes at a time, so a byte that is no digit must follow,
// and at least eight readable bytes after it (TokenReader's padding ensures both). It gives exactly
// the double that stream extraction gives for those bytes: the digits form an integer below 2^53
// and the power of ten for the point is exact too, so the one division rounds correctly, as a
// correctly rounding strtod does. Returns false, touching nothing, where the form does not hold.
inline bool readDecimalPrefix(const char* p, const char** stop, double* value) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::uint64_t whole = 0;
  const char* const point = detail::readDigits(p, &whole);
  std::size_t digits = static_cast<std::size_t>(point - p);
  std::uint64_t mantissa = whole;
  std::size_t decimals = 0;
  p = point;
  if (*p == '.') {
    const char* const fraction = ++p;
    for (unsigned d; (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p) {
      mantissa = mantissa * 10 + d;
    }
    decimals = static_cast<std::size_t>(p - fraction);
    digits += decimals;
  }
  if (digits == 0 || digits > kExactDigits) return false;
  const double v =
      static_cast<double>(static_cast<std::int64_t>(mantissa)) / kPowersOfTen[decimals];
  *value = negative ? -v : v;
  *stop = p;
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

// Reads the same form as readDecimalPrefix but gives the value truncated toward zero, saturated
// to 32 bits, as truncateToInt32 gives it, without a double. With at most kExactDigits
// digits, k of them after the point, the value is below 10^(15-k), so half a unit in the last
// place of its double is below 0.23 x 10^-k; the fraction's distance to the next integer is at
// least 10^-k, and integers below 2^53 are doubles themselves, so the double lies between the
// same two integers as the decimal and truncates to its integer part.
inline bool truncateDecimalPrefix(const char* p, const char** stop, std::int32_t* value) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::uint64_t whole = 0;
  const char* end = detail::readDigits(p, &whole);
  std::size_t digits = static_cast<std::size_t>(end - p);
  if (*end == '.') {
    // The decimals only need counting: eight at a time.
    const char* const fraction = ++end;
    for (std::size_t run = 8; run == 8; end += run)
      run = detail::leadingDigitCount(detail::load(end));
    digits += static_cast<std::size_t>(end - fraction);
  }
  if (digits == 0 || digits > kExactDigits) return false;
  constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;
  *value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(std::min(whole, kLimit)))
                    : static_cast<std::int32_t>(std::min(whole, kLimit - 1));
  *stop = end;
  return true;
}

// Reads the commonest coordinate as a whole number of hundredths: an optional sign, then at most
// eight digits before a point and at most two after it, at least one digit in all. Like
// readDecimalPrefix it stops at the first byte that cannot continue that form, and has the same
// needs for readable bytes. Negative zero ("-0", "-0.00") is refused, since a stream writes the
// double it gives as
// "-0.00".
//
// Such a coordinate a, less or taken from a 32-bit integer m, is written with two decimals as a
// stream would write the double m - a (or a - m) computed from a as readNumber reads it. The
// double of a is within 2^-23 of a (half a unit in the last place below 2^31), and the
// difference, below 2^32, rounds by at most 2^-21 more; so the double lies within 10^-6 of the
// exact difference, a whole number of hundredths, and rounds to it with no tie. Its sign is that
// number's, and where the number is 0 the double is +0, written "0.00".
inline bool readHundredthsPrefix(const char* p, const char** stop, std::int64_t* hundredths) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const std::uint64_t word = detail::load(p);
  const std::size_t count = detail::leadingDigitCount(word);
  std::uint64_t value = count > 0 ? detail::leadingDigitsValue(word, count) * 100 : 0;
  const char* end = p + count;
  std::size_t digits = count;
  if (*end == '.') {
    ++end;
    const unsigned tenths = static_cast<unsigned char>(end[0]) - unsigned{'0'};
    const unsigned hundredthsDigit = static_cast<unsigned char>(end[1]) - unsigned{'0'};
    if (tenths <= 9) {
      value += std::uint64_t{10} * tenths;
      ++end;
      ++digits;
      if (hundredthsDigit <= 9) {
        value += hundredthsDigit;
        ++end;
        ++digits;
      }
    }
  }
  if (digits == 0 || (negative && value == 0)) return false;
  *hundredths = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  *stop = end;
  return true;
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_SHORT_DECIMAL_H_
