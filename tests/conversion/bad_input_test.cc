#include <gtest/gtest.h>

#include <string>

#include "support/conversion_properties.h"

namespace lines2svg {
namespace {

std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(BadInput, EveryPropertyHolds) {
  const std::string megabyte(1 << 20, '7');
  const struct {
    const char* name;
    std::string drawing;
  } cases[] = {
      {"NUL bytes in tokens", std::string("&L P 1\0 2 L \0 4 &E", 19)},
      {"bytes above 127", "&L P \xC3\xA9 \xFF L 1 2 &E \xFE&L"},
      {"1 MB coordinate", "&L P " + megabyte + " 2 L 3 4 &E"},
      {"cut short after a 1 MB coordinate", "&L P 1 2 L " + megabyte},
      {"1 MB header token", "&L " + megabyte + " P 1 2 L 3 4"},
      {"one giant token", std::string(3 << 20, 'P')},
      {"empty file", ""},
      {"whitespace only", " \t\r\n\v\f  \r\n"},
      {"unreadable coordinates",
       "&L P 1 2 L 12e 5 L inf 6 L nan 7 L - 8 L . 9 L abc 10 L 1e400 11 L -1e400 12 &E"
       "&L P 12e+ 1 L 2 3 &E &L P 0x1A +5 L 1e-400 12.5abc L 3 4 &E"},
      {"huge coordinates", "&L P 1e300 -1e300 L -1e300 1e300 L 1.7976931348623157e308 0 &E"},
      {"huge coordinates on a line", "&L P 1e300 1 L -1e300 2 &E"},
      {"5,000 sections in a row", repeat("&L 1 P 1 2 L 3 4 &E\n", 5000)},
      {"5,000 sections closing each other", repeat("&L P 1 2 L 3 4 ", 5000)},
      {"&L as the last token", "&L P 1 2 L 3 4 &E &L"},
      {"mixed separators", "&L\rP\n1\r\n2\vL\f3\t4 \r\n\n&E\r"},
      {"empty sections and x coordinates", "&L &E &L P x x L x 1 &E &L P 1 2 L 3 x L 5 6 &E"},
      {"odd tokens between markers", "&L P 1 2 L 3 x L 4 5 L 6 7 &E"},
  };
  for (const auto& c : cases) EXPECT_EQ(checkConversion(c.drawing), "") << c.name;
}

TEST(BadInput, LongTokensAndNumbersSurviveWhole) {
  const std::string megabyte(1 << 20, '7');
  Conversion big = convertInMemory("&L P " + megabyte + " 2 L 3 4 &E");
  EXPECT_EQ(big.vertices, "x\n" + megabyte + " 2\n3 4\n");
  // A coordinate of -1e300 is drawn 1e300 to the right: 301 digits in fixed notation.
  Conversion far = convertInMemory("&L P 1e300 1 L -1e300 2 &E");
  EXPECT_NE(far.svg.find("x2=\"1" + std::string(300, '0').substr(0, 15)), std::string::npos);
}

}  // namespace
}  // namespace lines2svg
