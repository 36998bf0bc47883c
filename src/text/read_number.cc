// Reading a coordinate token as the stream reads a double.
#include "text/read_number.h"

#include <algorithm>
#include <charconv>
#include <locale>
#include <sstream>
#include <string>
#include <system_error>

namespace lines2svg {

namespace {

bool isDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }
bool isExponentMarker(char c) { return c == 'e' || c == 'E'; }

// The cases from_chars leaves (over- and underflow) go to the stream itself, in the "C" locale,
// so that the decimal point is "." whatever locale the program runs in: it fails on overflow and
// gives the nearest double on underflow.
bool readWithStream(const char* first, const char* last, double* value) {
  std::istringstream in(std::string(first, last));
  in.imbue(std::locale::classic());
  double v = 0;
  if (!(in >> v)) return false;
  *value = v;
  return true;
}

}  // namespace

bool readNumber(std::string_view token, double* value) {
  const char* const first = token.data();
  const char* const last = first + token.size();
  // The stream takes one sign, then only a digit or a point: "inf", "nan" and "+-5" are no
  // numbers to it, though from_chars would read some of them.
  const char* p = first;
  if (p < last && (*p == '+' || *p == '-')) ++p;
  if (p == last || !(isDigit(*p) || *p == '.')) return false;
  // from_chars finds the longest number and reads it correctly rounded; it takes no '+', and the
  // value is the same without it.
  double v = 0;
  const char* const start = *first == '+' ? first + 1 : first;
  const auto [end, error] = std::from_chars(start, last, v, std::chars_format::general);
  if (error == std::errc::invalid_argument) return false;
  // An exponent marker the number does not take ("12e", "1e+x") is taken by the stream all the
  // same, which then fails; a second marker ("1e5e3") ends the number.
  if (end < last && isExponentMarker(*end) && std::none_of(start, end, isExponentMarker)) {
    return false;
  }
  if (error == std::errc()) {
    *value = v;
    return true;
  }
  return readWithStream(first, end, value);
}

}  // namespace lines2svg
