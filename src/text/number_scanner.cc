// Reading a number as the stream reads a double, without a stream: the one general path, for a
// whole token or one that comes in pieces.
#include "text/number_scanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <system_error>

#include "text/fixed_format.h"

namespace lines2svg {

namespace {

// An exponent beyond this gives infinity or zero whatever the digits; larger ones are counted as
// this, so that no count can overflow.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 40;

// The value of a number in the form the scanner makes, [-]0.digits[1]e[-]exponent with a first
// digit that is not zero, as the stream gives it. The stream (strtod underneath) rounds it
// correctly to the nearest double, ties to even, subnormals included, and fails only where that
// rounds to infinity. from_chars rounds the same way; where the rounded value is infinity, or zero
// for a number that is not, it reports the value out of range, and nowhere else. The exponent
// tells which: a positive one puts the number at 0.1 or above, so it overflowed, and the stream
// fails; any other puts it below 1, so it underflowed to zero, which the stream gives with the
// number's sign. So no stream, and no memory, is needed for either.
bool decide(const char* first, const char* last, bool negative, std::int64_t exponent,
            double* value) {
  double v = 0;
  const auto [end, error] = std::from_chars(first, last, v, std::chars_format::general);
  if (error == std::errc() && end == last) {
    *value = v;
    return true;
  }
  if (error != std::errc::result_out_of_range || exponent > 0) return false;
  *value = negative ? -0.0 : 0.0;
  return true;
}

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
        if (static_cast<unsigned char>(c - '0') <= 9) {
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
        if (static_cast<unsigned char>(c - '0') <= 9) {
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
  // A stream takes no number without a digit before its exponent ("-", ".", "abc", "inf"), and
  // fails on an exponent marker without digits ("12e", "1e+x").
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
  char text[3 + kMaxDigits + 2 + kIntegerBufferSize];
  char* p = text;
  if (negative_) *p++ = '-';
  *p++ = '0';
  *p++ = '.';
  std::memcpy(p, digits_, kept_);
  p += kept_;
  if (droppedNonZero_) *p++ = '1';
  *p++ = 'e';
  p += formatInteger(exponent, p);
  return decide(text, p, negative_, exponent, value);
}

bool readNumber(std::string_view token, double* value) {
  NumberScanner scanner;
  scanner.feed(token);
  return scanner.finish(value);
}

}  // namespace lines2svg
