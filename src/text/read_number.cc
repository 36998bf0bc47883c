#include "text/read_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace lines2svg {

namespace detail {

namespace {

// The stream hands its extracted text to strtod and rejects an overflow; this does the same for
// the cases from_chars leaves: over- and underflow, and anything it reads otherwise.
bool readWithStrtod(const char* first, const char* last, double* value) {
  std::string text(first, last);
  char* stop = nullptr;
  double v = std::strtod(text.c_str(), &stop);
  if (stop == text.c_str() || *stop != '\0' || std::isinf(v)) return false;
  *value = v;
  return true;
}

}  // namespace

bool readNumberSlowly(std::string_view token, double* value) {
  const char* p = token.data();
  const char* const end = p + token.size();
  const char* const start = p;
  if (p < end && (*p == '+' || *p == '-')) ++p;
  bool digits = false;
  bool point = false;
  for (; p < end; ++p) {
    if (isDigit(*p)) {
      digits = true;
    } else if (*p == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (p < end && (*p == 'e' || *p == 'E')) {
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

}  // namespace detail

namespace {

// An exponent beyond this gives infinity or zero whatever the digits; larger ones are counted as
// this, so that no count can overflow.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 40;

}  // namespace

void NumberScanner::feed(std::string_view piece) {
  for (char c : piece) {
    switch (state_) {
      case State::kSign:
        state_ = State::kMantissa;
        if (c == '+' || c == '-') {
          negative_ = c == '-';
          break;
        }
        [[fallthrough]];
      case State::kMantissa:
        if (detail::isDigit(c)) {
          sawDigit_ = true;
          if (!significant_ && c == '0') {
            if (sawPoint_) --pointShift_;
            break;
          }
          significant_ = true;
          if (!sawPoint_) ++pointShift_;
          if (kept_ < kMaxDigits) {
            digits_[kept_++] = c;
          } else if (c != '0') {
            droppedNonZero_ = true;
          }
        } else if (c == '.' && !sawPoint_) {
          sawPoint_ = true;
        } else if ((c == 'e' || c == 'E') && sawDigit_) {
          sawExponent_ = true;
          state_ = State::kExponentSign;
        } else {
          state_ = State::kDone;
        }
        break;
      case State::kExponentSign:
        state_ = State::kExponentDigits;
        if (c == '+' || c == '-') {
          exponentNegative_ = c == '-';
          break;
        }
        [[fallthrough]];
      case State::kExponentDigits:
        if (detail::isDigit(c)) {
          sawExponentDigit_ = true;
          exponent_ = std::min(exponent_ * 10 + (c - '0'), kExponentLimit);
        } else {
          state_ = State::kDone;
        }
        break;
      case State::kDone:
        return;
    }
  }
}

bool NumberScanner::finish(double* value) const {
  if (!sawDigit_) return false;
  if (sawExponent_ && !sawExponentDigit_) return false;
  if (!significant_) {
    *value = negative_ ? -0.0 : 0.0;
    return true;
  }
  std::int64_t exponent = pointShift_ + (exponentNegative_ ? -exponent_ : exponent_);
  exponent = std::clamp(exponent, -kExponentLimit, kExponentLimit);
  // The kept digits, and a 1 after them standing for the non-zero ones dropped: it puts the
  // number on the same side of every halfway point as the whole would be.
  std::string text = negative_ ? "-0." : "0.";
  text.append(digits_, kept_);
  if (droppedNonZero_) text.push_back('1');
  text.push_back('e');
  text.append(std::to_string(exponent));
  return detail::readNumberSlowly(text, value);
}

}  // namespace lines2svg
