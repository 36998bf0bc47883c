#ifndef LINES2SVG_TEXT_NUMBER_SCANNER_H_
#define LINES2SVG_TEXT_NUMBER_SCANNER_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/bits.h"

// The program's two readers of numbers: the fast one, for the commonest form of coordinate, and
// the general one, for anything a stream reads as a number. Every number is decided by one of
// them, and they give the same value wherever both answer.

namespace lines2svg {

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

// The value of a byte as a digit: 0 to 9 for '0' to '9', above 9 for any other byte.
inline unsigned digitValue(char c) { return static_cast<unsigned char>(c) - unsigned{'0'}; }

}  // namespace detail

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

// The fast reader of the commonest coordinate, straight from the token reader's buffer: an
// optional sign, at most eight digits and a point with at most two digits after it, or none, at
// least one digit in all, read as a whole number of hundredths, `stop` pointed at the byte after
// it, which the caller checks ends the token. Anything else, and negative zero ("-0", "-0.00"),
// which a stream writes as "-0.00", is refused and left to NumberScanner. The whole digits are
// read eight bytes at once, so eight readable bytes must follow the start (TokenReader's padding).
//
// Such a coordinate a, less or taken from a 32-bit integer m, is written with two decimals as a
// stream would write the double m - a (or a - m) computed from a as readNumber reads it. With a
// below 10^8, the double of a is within 2^-27 of a (half a unit in the last place below 2^27),
// and the difference, below 2^32, rounds by at most 2^-21 more; so the double lies within 10^-6
// of the exact difference, a whole number of hundredths, and rounds to it with no tie. Its sign is
// that number's, and where the number is 0 the double is +0, written "0.00". And a lies at least
// 10^-2 from any integer it is not, so its double, within 2^-27 of it, truncates to its whole part.
[[gnu::always_inline]] inline bool readHundredthsPrefix(const char* p, const char** stop,
                                                        std::int64_t* hundredths) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const std::uint64_t word = detail::load(p);
  const std::size_t count = detail::leadingDigitCount(word);
  std::uint64_t digits = count > 0 ? detail::leadingDigitsValue(word, count) : 0;
  p += count;
  std::size_t decimals = 0;
  if (*p == '.') {
    const char* const fraction = ++p;
    for (std::size_t i = 0; i < 2; ++i, ++p) {
      const unsigned digit = detail::digitValue(*p);
      if (digit > 9) break;
      digits = digits * 10 + digit;
    }
    decimals = static_cast<std::size_t>(p - fraction);
  }
  if (count + decimals == 0) return false;
  static constexpr std::uint64_t kScale[] = {100, 10, 1};
  auto value = static_cast<std::int64_t>(digits * kScale[decimals]);
  if (negative) {
    if (value == 0) return false;
    value = -value;
  }
  *hundredths = value;
  *stop = p;
  return true;
}

// Reads a number as a stream reads a double, from a token that may come in pieces, in memory
// that does not grow with it: only the first kMaxDigits significant digits are kept, with whether
// any later one is non-zero, the position of the point and the exponent. Those decide the
// correctly rounded value, since a number halfway between two doubles has at most 767 significant
// digits; finish() writes them as a short number of the same value, which from_chars reads. It
// allocates nothing, so a pass may read any number once it has taken its memory. The program's
// one general number grammar: readNumber is this scanner fed a whole token.
class NumberScanner {
 public:
  static constexpr std::size_t kMaxDigits = 800;
  // Takes the next piece of the token.
  void feed(std::string_view piece);
  // The number read from all the pieces; false where readNumber would fail on the whole token.
  bool finish(double* value) const;

 private:
  enum class State { kSign, kMantissa, kExponentSign, kExponentDigits, kDone };

  State state_ = State::kSign;
  bool negative_ = false;
  bool sawDigit_ = false;
  bool sawPoint_ = false;
  bool sawExponent_ = false;
  bool sawExponentDigit_ = false;
  bool exponentNegative_ = false;
  // True once a non-zero digit has been seen: the digits from there on are significant.
  bool significant_ = false;
  // A significant digit beyond the kept ones is not zero.
  bool droppedNonZero_ = false;
  // The value is 0.digits_ x 10^(pointShift_ +- exponent_).
  std::int64_t pointShift_ = 0;
  std::int64_t exponent_ = 0;
  std::size_t kept_ = 0;
  char digits_[kMaxDigits];
};

// Reads a coordinate token exactly as extracting a double from a string stream holding the token
// would: the longest prefix of the form [+-]digits[.[digits]][e[+-]digits] or
// [+-].digits[e[+-]digits] is read and the rest ignored ("12.5abc" is 12.5, ".5" is 0.5, "5." is
// 5). Returns false where that extraction fails: no digit before the exponent or the end ("-",
// ".", "abc", "inf"), an exponent without digits ("12e") or a value too large for a double
// ("1e400"). A value too small for one reads as the nearest double, 0 included. It is a
// NumberScanner fed the whole token; the coordinates of the common form, nearly all of them, the
// passes read first with readHundredthsPrefix, straight from the token reader.
bool readNumber(std::string_view token, double* value);

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_NUMBER_SCANNER_H_
