#ifndef LINES2SVG_TEXT_READ_NUMBER_H_
#define LINES2SVG_TEXT_READ_NUMBER_H_

#include <string_view>

namespace lines2svg {

// Reads a coordinate token exactly as extracting a double from a string stream holding the token
// would: the longest prefix of the form [+-]digits[.digits][e[+-]digits] is read and the rest
// ignored ("12.5abc" is 12.5). Returns false where that extraction fails: no digit before the
// exponent or the end ("-", ".", "abc", "inf"), an exponent without digits ("12e") or a value too
// large for a double ("1e400"). A value too small for one reads as the nearest double, 0 included.
// It is NumberScanner fed the whole token, the one general path; the short decimals that nearly
// all coordinates are, the passes read first with the readers of short_decimal.h, straight from
// the token reader.
bool readNumber(std::string_view token, double* value);

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_READ_NUMBER_H_
