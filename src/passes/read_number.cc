#include "passes/read_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace lines2svg {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Up to this many digits, the digits of a number form an integer below 2^53, a double exactly.
constexpr std::size_t kExactDigits = 15;

constexpr double kPowersOfTen[kExactDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The stream hands its extracted text to strtod and rejects an overflow; this does the same for
// the cases the fast path leaves: over- and underflow, and anything from_chars reads otherwise.
bool readWithStrtod(const char* first, const char* last, double* value) {
  std::string text(first, last);
  char* stop = nullptr;
  double v = std::strtod(text.c_str(), &stop);
  if (stop == text.c_str() || *stop != '\0' || std::isinf(v)) return false;
  *value = v;
  return true;
}

}  // namespace

bool readNumber(std::string_view token, double* value) {
  const char* p = token.data();
  const char* const end = p + token.size();
  const char* const start = p;
  if (p < end && (*p == '+' || *p == '-')) ++p;
  // The digits are gathered as one integer; it is used only when there are few enough of them
  // for it to be exact.
  std::uint64_t mantissa = 0;
  const char* const wholeStart = p;
  for (; p < end && isDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  std::size_t digits = static_cast<std::size_t>(p - wholeStart);
  std::size_t decimals = 0;
  if (p < end && *p == '.') {
    const char* const fractionStart = ++p;
    for (; p < end && isDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    decimals = static_cast<std::size_t>(p - fractionStart);
    digits += decimals;
  }
  if (digits == 0) return false;
  const bool exponent = p < end && (*p == 'e' || *p == 'E');
  if (!exponent && digits <= kExactDigits) {
    // Both the digits and the power of ten are exact doubles, and one division rounds correctly,
    // as a correctly rounding strtod does.
    double v = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    *value = *start == '-' ? -v : v;
    return true;
  }
  if (exponent) {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* const exponentDigits = p;
    while (p < end && isDigit(*p)) ++p;
    if (p == exponentDigits) return false;
  }
  // from_chars takes no '+' sign; the value is the same without it.
  const char* first = *start == '+' ? start + 1 : start;
  double v = 0;
  auto result = std::from_chars(first, p, v, std::chars_format::general);
  if (result.ec == std::errc() && result.ptr == p) {
    *value = v;
    return true;
  }
  return readWithStrtod(start, p, value);
}

std::int32_t truncateToInt32(double value) {
  constexpr double kHigh = static_cast<double>(std::numeric_limits<std::int32_t>::max());
  constexpr double kLow = static_cast<double>(std::numeric_limits<std::int32_t>::min());
  if (std::isnan(value)) return 0;
  if (value >= kHigh) return std::numeric_limits<std::int32_t>::max();
  if (value <= kLow) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace lines2svg
