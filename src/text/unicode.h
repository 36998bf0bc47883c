#ifndef LINES2SVG_TEXT_UNICODE_H_
#define LINES2SVG_TEXT_UNICODE_H_

#include <cstdint>
#include <string_view>

namespace lines2svg {

// The byte-order mark, U+FEFF, that Windows editors put at the start of a text file.
inline constexpr std::uint32_t kByteOrderMark = 0xFEFF;

// The byte-order mark in UTF-8.
inline constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

// True for the first half of a UTF-16 surrogate pair.
inline bool isHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// True for the second half of a UTF-16 surrogate pair.
inline bool isLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// True for a byte that continues a UTF-8 sequence rather than starting one.
inline bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// True when the bytes are well-formed UTF-8: no stray or missing continuation byte, no overlong
// form, no surrogate and nothing beyond U+10FFFF.
bool isValidUtf8(std::string_view text);

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_UNICODE_H_
