#ifndef LINES2SVG_TEXT_UNICODE_H_
#define LINES2SVG_TEXT_UNICODE_H_

#include <cstdint>
#include <string_view>

namespace lines2svg {

// The byte-order mark, U+FEFF, that Windows editors put at the start of a text file.
inline constexpr std::uint32_t kByteOrderMark = 0xFEFF;

// The byte-order mark in UTF-8.
inline constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

// The first byte of the byte-order mark in UTF-16 little-endian (FF FE) and big-endian (FE FF);
// the second is the other one.
inline constexpr unsigned char kUtf16LittleMarkStart = 0xFF;
inline constexpr unsigned char kUtf16BigMarkStart = 0xFE;

// True when the bytes a and b are a UTF-16 byte-order mark, either way round.
inline bool isUtf16Mark(int a, int b) {
  return (a == kUtf16LittleMarkStart || a == kUtf16BigMarkStart) && b == (a ^ 0x01);
}

// The UTF-16 unit stored in the bytes a and b, in that order.
inline std::uint32_t utf16Unit(unsigned char a, unsigned char b, bool bigEndian) {
  return bigEndian ? std::uint32_t{a} << 8 | b : std::uint32_t{b} << 8 | a;
}

// The character that stands for one that cannot be decoded, U+FFFD.
inline constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

// True for the first half of a UTF-16 surrogate pair.
inline bool isHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// True for the second half of a UTF-16 surrogate pair.
inline bool isLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point a surrogate pair stands for.
inline std::uint32_t fromSurrogates(std::uint32_t high, std::uint32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Writes a code point as UTF-8 at `out`, one to four bytes, and returns the end.
char* encodeUtf8(std::uint32_t c, char* out);

// True for a byte that continues a UTF-8 sequence rather than starting one.
inline bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// True when the bytes are well-formed UTF-8: no stray or missing continuation byte, no overlong
// form, no surrogate and nothing beyond U+10FFFF.
bool isValidUtf8(std::string_view text);

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_UNICODE_H_
