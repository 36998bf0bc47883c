#ifndef LINES2SVG_TEXT_LINE_FEEDS_H_
#define LINES2SVG_TEXT_LINE_FEEDS_H_

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/bits.h"

namespace lines2svg {

// Copies `size` bytes from `from` to `to`, each line feed written as a carriage return and a line
// feed, as Windows keeps text, and returns the length written; `to` must have room for twice
// `size` and 32 bytes more. Thirty-two bytes are taken at a time and stored whole; then, for each
// line feed among them, first to last, a carriage return is stored in its place and the 32 bytes
// from the line feed on are stored again one place on, past the carriage returns put before it.
// So every byte ends where the copy byte by byte puts it. The stores reach at most 32 bytes past
// the block's output, the loads at most 31 past the block, which the loop keeps inside `from`:
// the last 32 to 63 bytes go one by one.
inline std::size_t expandLineFeeds(const char* from, std::size_t size, char* to) {
  char* out = to;
  std::size_t i = 0;
  for (; i + 64 <= size; i += 32) {
    const char* const block = from + i;
    std::size_t added = 0;
    for (std::uint32_t lineFeeds = copy32FindingLineFeeds(block, out); lineFeeds != 0;
         lineFeeds &= lineFeeds - 1) {
      const std::size_t at = lowestSetBit(lineFeeds);
      out[at + added] = '\r';
      std::memcpy(out + at + added + 1, block + at, 32);
      ++added;
    }
    out += 32 + added;
  }
  for (; i < size; ++i) {
    if (from[i] == '\n') *out++ = '\r';
    *out++ = from[i];
  }
  return static_cast<std::size_t>(out - to);
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_LINE_FEEDS_H_
