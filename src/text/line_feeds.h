#ifndef LINES2SVG_TEXT_LINE_FEEDS_H_
#define LINES2SVG_TEXT_LINE_FEEDS_H_

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/bits.h"

namespace lines2svg {

// Copies `size` bytes from `from` to `to`, each line feed written as a carriage return and a line
// feed, as Windows keeps text, and returns the length written; `to` must have room for twice
// `size`. Eight bytes are taken at a time. A byte of word ^ 0x0A..0A is zero exactly where a line
// feed stands, and (v - 0x01..01) & ~v & 0x80..80 has its lowest set bit in the lowest zero byte
// of v, if any: a borrow only starts at a zero byte, so no bit below the first is set wrongly. A
// word with no line feed is copied whole; otherwise it is copied up to its first line feed, which
// becomes CR LF, and the copy goes on after it. Each word is stored whole before its first line
// feed is known, so that store never reaches past twice the bytes read.
inline std::size_t expandLineFeeds(const char* from, std::size_t size, char* to) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  char* out = to;
  std::size_t i = 0;
  while (i + 8 <= size) {
    std::uint64_t word;
    std::memcpy(&word, from + i, 8);
    std::memcpy(out, &word, 8);
    const std::uint64_t v = word ^ (kOnes * '\n');
    const std::uint64_t lineFeeds = (v - kOnes) & ~v & kHighs;
    if (lineFeeds == 0) {
      out += 8;
      i += 8;
      continue;
    }
    const std::size_t before = lowestSetBit(lineFeeds) / 8;
    out += before;
    *out++ = '\r';
    *out++ = '\n';
    i += before + 1;
  }
  for (; i < size; ++i) {
    if (from[i] == '\n') *out++ = '\r';
    *out++ = from[i];
  }
  return static_cast<std::size_t>(out - to);
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_LINE_FEEDS_H_
