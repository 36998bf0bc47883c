// Checking and writing UTF-8.
#include "text/unicode.h"

#include <cstddef>

namespace lines2svg {

namespace {

char byte(std::uint32_t bits) { return static_cast<char>(static_cast<unsigned char>(bits)); }

}  // namespace

char* encodeUtf8(std::uint32_t c, char* out) {
  if (c < 0x80) {
    *out++ = byte(c);
  } else if (c < 0x800) {
    *out++ = byte(0xC0 | c >> 6);
    *out++ = byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = byte(0xE0 | c >> 12);
    *out++ = byte(0x80 | (c >> 6 & 0x3F));
    *out++ = byte(0x80 | (c & 0x3F));
  } else {
    *out++ = byte(0xF0 | c >> 18);
    *out++ = byte(0x80 | (c >> 12 & 0x3F));
    *out++ = byte(0x80 | (c >> 6 & 0x3F));
    *out++ = byte(0x80 | (c & 0x3F));
  }
  return out;
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the range of the byte after the lead
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if (!isUtf8Continuation(text[i + k])) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace lines2svg
