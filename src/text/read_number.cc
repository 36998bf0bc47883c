// Reading a coordinate token as the stream reads a double.
#include "text/read_number.h"

#include <charconv>
#include <locale>
#include <sstream>
#include <string>
#include <system_error>

namespace lines2svg {

namespace detail {

namespace {

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
  return readWithStream(start, p, value);
}

}  // namespace detail

}  // namespace lines2svg
