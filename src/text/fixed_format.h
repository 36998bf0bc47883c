#ifndef LINES2SVG_TEXT_FIXED_FORMAT_H_
#define LINES2SVG_TEXT_FIXED_FORMAT_H_

#include <cstddef>
#include <cstdint>

namespace lines2svg {

// Room for any finite double in fixed notation with two decimals: 309 integer digits, a sign, the
// point and the decimals.
constexpr std::size_t kFixedBufferSize = 400;

// Writes `value` in fixed notation with `precision` decimals into `buffer`, which has room for
// kFixedBufferSize characters, and returns the length. The digits are those a stream set to
// std::fixed writes: the exact binary value rounded to nearest, ties to even, and a minus sign on
// every negative value, even one that rounds to zero.
std::size_t formatFixed(double value, int precision, char* buffer);

// Writes a whole number of hundredths in fixed notation with two decimals ("-1234.50" for
// -123450) into `buffer`, which has room for kFixedBufferSize characters, and returns the length.
// Zero is written "0.00".
std::size_t formatHundredths(std::int64_t hundredths, char* buffer);

// Room for any 64-bit integer in decimal, with its sign, and the seven bytes that formatInteger
// may write past its end.
constexpr std::size_t kIntegerBufferSize = 28;

// Writes `value` in decimal, with a minus sign when it is negative, into `buffer`, which has room
// for kIntegerBufferSize characters, and returns the length. The program's one integer writer.
std::size_t formatInteger(std::int64_t value, char* buffer);

// Writes two whole numbers of hundredths as formatHundredths does, with one space between them,
// into `buffer`, which has room for 2 * kFixedBufferSize characters, and returns the length.
std::size_t formatHundredthsPair(std::int64_t a, std::int64_t b, char* buffer);

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_FIXED_FORMAT_H_
