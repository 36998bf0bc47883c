#ifndef LINES2SVG_TEXT_READ_NUMBER_H_
#define LINES2SVG_TEXT_READ_NUMBER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lines2svg {

namespace detail {

// Up to this many digits, the digits of a number form an integer below 2^53, a double exactly.
constexpr std::size_t kExactDigits = 15;

inline constexpr double kPowersOfTen[kExactDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// readNumber for every token its inline path leaves: an exponent, more than kExactDigits digits,
// or no digit at all.
bool readNumberSlowly(std::string_view token, double* value);

}  // namespace detail

// readNumber with the cases its inline path leaves handed to `slowly` (readNumberSlowly's
// signature). The inline path never looks past the 17th character, so a caller holding only the
// head of a longer token can pass a `slowly` that reads the rest.
template <typename Slowly>
inline bool readNumberWith(std::string_view token, double* value, Slowly slowly) {
  const char* p = token.data();
  const char* const end = p + token.size();
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  // The digits are gathered as one integer, which is used only when there are few enough of them
  // for it to be exact.
  std::uint64_t mantissa = 0;
  const char* const wholeStart = p;
  for (; p < end && detail::isDigit(*p); ++p) {
    mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  }
  std::size_t digits = static_cast<std::size_t>(p - wholeStart);
  std::size_t decimals = 0;
  if (p < end && *p == '.') {
    const char* const fractionStart = ++p;
    for (; p < end && detail::isDigit(*p); ++p) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    }
    decimals = static_cast<std::size_t>(p - fractionStart);
    digits += decimals;
  }
  if (digits == 0 || digits > detail::kExactDigits || (p < end && (*p == 'e' || *p == 'E'))) {
    return slowly(token, value);
  }
  // Both the digits and the power of ten are exact doubles, and one division rounds correctly,
  // as a correctly rounding strtod does.
  const double v =
      static_cast<double>(static_cast<std::int64_t>(mantissa)) / detail::kPowersOfTen[decimals];
  *value = negative ? -v : v;
  return true;
}

// Reads a coordinate token exactly as extracting a double from a string stream holding the token
// would: the longest prefix of the form [+-]digits[.digits][e[+-]digits] is read and the rest
// ignored ("12.5abc" is 12.5). Returns false where that extraction fails: no digit before the
// exponent or the end ("-", ".", "abc", "inf"), an exponent without digits ("12e") or a value too
// large for a double ("1e400"). A value too small for one reads as the nearest double, 0 included.
inline bool readNumber(std::string_view token, double* value) {
  return readNumberWith(token, value, detail::readNumberSlowly);
}

// Reads a number that comes in pieces, as readNumber reads the whole token, in memory that does
// not grow with it: only the first kMaxDigits significant digits are kept, with whether any later
// one is non-zero, the position of the point and the exponent. Those decide the correctly rounded
// value, since a number halfway between two doubles has at most 767 significant digits.
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

// Truncates toward zero to a 32-bit integer, saturating at the limits of the type.
inline std::int32_t truncateToInt32(double value) {
  constexpr double kHigh = 2147483647.0;
  constexpr double kLow = -2147483648.0;
  if (value >= kHigh) return 2147483647;
  if (value <= kLow) return -2147483647 - 1;
  // NaN fails both tests above; it never comes from readNumber, but must not reach the cast.
  return value == value ? static_cast<std::int32_t>(value) : 0;
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_READ_NUMBER_H_
