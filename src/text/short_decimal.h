#ifndef LINES2SVG_TEXT_SHORT_DECIMAL_H_
#define LINES2SVG_TEXT_SHORT_DECIMAL_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace lines2svg {

// Up to this many digits, the digits of a number form an integer below 2^53, a double exactly.
inline constexpr std::size_t kExactDigits = 15;

inline constexpr double kPowersOfTen[kExactDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Reads the common coordinate from its first byte at `p`: an optional sign, then digits with at
// most one point among them, at least one digit and at most kExactDigits. It stops at the first
// byte that cannot continue that form and points `stop` at it; the caller decides whether the
// token ends there. A byte that is no digit must follow within the readable bytes (TokenReader's
// padding ensures one). It gives exactly the double that stream extraction gives for those bytes:
// the digits form an integer below 2^53 and the power of ten for the point is exact too, so the
// one division rounds correctly, as a correctly rounding strtod does. Returns false, touching
// nothing, where the form does not hold.
inline bool readDecimalPrefix(const char* p, const char** stop, double* value) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const char* const first = p;
  std::uint64_t mantissa = 0;
  // A longer run of digits makes it fail below; the sum may wrap meanwhile, harmlessly.
  for (unsigned d; (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p) {
    mantissa = mantissa * 10 + d;
  }
  std::size_t digits = static_cast<std::size_t>(p - first);
  std::size_t decimals = 0;
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

// readDecimalPrefix for a whole token, which must be followed by TokenReader's padding: true only
// when the short form is the whole token.
inline bool readShortDecimal(std::string_view token, double* value) {
  if (token.empty()) return false;
  const char* stop = nullptr;
  double v = 0;
  if (!readDecimalPrefix(token.data(), &stop, &v) || stop != token.data() + token.size()) {
    return false;
  }
  *value = v;
  return true;
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_SHORT_DECIMAL_H_
