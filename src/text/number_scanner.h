#ifndef LINES2SVG_TEXT_NUMBER_SCANNER_H_
#define LINES2SVG_TEXT_NUMBER_SCANNER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lines2svg {

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
// 5). Returns false where that extraction fails: no digit before the
// exponent or the end ("-", ".", "abc", "inf"), an exponent without digits ("12e") or a value too
// large for a double ("1e400"). A value too small for one reads as the nearest double, 0 included.
// It is a NumberScanner fed the whole token; the short decimals that nearly all coordinates are,
// the passes read first with the readers of short_decimal.h, straight from the token reader.
bool readNumber(std::string_view token, double* value);

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_NUMBER_SCANNER_H_
