#include "text/line_feeds.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace lines2svg {
namespace {

// The block-at-a-time copy against the obvious one, byte by byte, over every length up to 128 and
// every start within a word, on text made mostly of line feeds, of none, and of bytes that differ
// from a line feed in one bit (0x0B, 0x08, 0x8A) or have the high bit (0x8B, 0xFF), which a wrong
// mask would take for one.
TEST(ExpandLineFeeds, MatchesTheCopyByteByByte) {
  std::mt19937 random(5);
  const std::string alphabets[] = {"\n\n\nx", "0123456789 .-", "\n\x0B\x08\x8A\x8B\xFF\r 7"};
  for (const std::string& alphabet : alphabets) {
    for (int round = 0; round < 200; ++round) {
      std::string text(136, ' ');
      for (char& c : text) c = alphabet[random() % alphabet.size()];
      for (std::size_t start = 0; start < 8; ++start) {
        for (std::size_t size = 0; start + size <= text.size() && size <= 128; ++size) {
          std::string expected;
          for (std::size_t i = start; i < start + size; ++i) {
            if (text[i] == '\n') expected += '\r';
            expected += text[i];
          }
          std::string out(2 * size + 32, '?');
          out.resize(expandLineFeeds(text.data() + start, size, out.data()));
          ASSERT_EQ(out, expected) << start << " " << size;
        }
      }
    }
  }
}

}  // namespace
}  // namespace lines2svg
