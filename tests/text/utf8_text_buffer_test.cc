#include "text/utf8_text_buffer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace lines2svg {
namespace {

// Byte-order marks at the start only, UTF-16 in both byte orders, and the repairs of broken
// UTF-16, read through fills of every small size and in reads of every small size.
TEST(Utf8TextBuffer, DecodesWhatAMarkAnnounces) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},
      {"&L", "&L"},
      {"\xEF\xBB", "\xEF\xBB"},
      {"\xEF\xBB\xBF&L P", "&L P"},
      {"a\xEF\xBB\xBF", "a\xEF\xBB\xBF"},
      {"\xFF\xFE", ""},
      {std::string("\xFF\xFE&\0L\0 \0\x0C\x01", 10), "&L \xC4\x8C"},
      {std::string("\xFE\xFF\0&\0L\0\r\0\n", 10), "&L\r\n"},
      {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},          // U+1F600
      {std::string("\xFF\xFE\x3D\xD8x\0", 6), "\xEF\xBF\xBDx"},                  // lone high
      {std::string("\xFF\xFE\x00\xDE\x3D\xD8", 6), "\xEF\xBF\xBD\xEF\xBF\xBD"},  // low, high at end
      {std::string("\xFF\xFE"
                   "a\0b",
                   5),
       "a"},                                                 // odd last byte
      {std::string("a\0b\0", 4), std::string("a\0b\0", 4)},  // no mark
  };
  for (const auto& c : cases) {
    for (std::size_t fill : {1, 2, 3, 5, 1 << 16}) {
      for (std::streamsize chunk : {1, 2, 7, 4096}) {
        std::istringstream source(c.in);
        Utf8TextBuffer text(source.rdbuf(), fill);
        std::string out;
        char piece[4096];
        for (std::streamsize got; (got = text.sgetn(piece, chunk)) > 0;) out.append(piece, got);
        EXPECT_EQ(out, c.out) << "fill " << fill << ", chunk " << chunk << ", input " << c.in;
      }
    }
  }
}

}  // namespace
}  // namespace lines2svg
