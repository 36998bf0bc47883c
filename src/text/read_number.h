#ifndef LINES2SVG_TEXT_READ_NUMBER_H_
#define LINES2SVG_TEXT_READ_NUMBER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/short_decimal.h"

namespace lines2svg {

namespace detail {

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// readNumber for every token its inline path leaves: an exponent, more than kExactDigits digits,
// or no digit at all.
bool readNumberSlowly(std::string_view token, double* value);

}  // namespace detail

// readNumber with the cases its inline path leaves handed to `slowly` (readNumberSlowly's
// signature). The inline path reads the sign, the digits and the point, all from within the
// token, and stops at the first other character; a token that is the head of a longer one (see
// TokenReader) is always longer than kExactDigits digits or holds something else, so it goes to
// `slowly`, which can read the rest.
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
  if (digits == 0 || digits > kExactDigits || (p < end && (*p == 'e' || *p == 'E'))) {
    return slowly(token, value);
  }
  // Both the digits and the power of ten are exact doubles, and one division rounds correctly,
  // as a correctly rounding strtod does.
  const double v =
      static_cast<double>(static_cast<std::int64_t>(mantissa)) / kPowersOfTen[decimals];
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

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_READ_NUMBER_H_
