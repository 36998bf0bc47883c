// Reading a number that comes in pieces, in bounded memory.
#include "text/number_scanner.h"

#include <algorithm>
#include <string>

#include "text/read_number.h"

namespace lines2svg {

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
  return readNumber(text, value);
}

}  // namespace lines2svg
