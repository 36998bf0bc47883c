#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "passes/passes.h"
#include "text/buffer_size.h"

namespace lines2svg {
namespace {

std::string extract(const std::string& drawing) {
  std::istringstream in(drawing);
  std::ostringstream out;
  extractLineObjects(in, out);
  return out.str();
}

struct ExtractCase {
  const char* name;
  const char* drawing;
  const char* vertices;
};

TEST(ExtractLineObjects, CopiesTheVerticesOfEachSection) {
  const ExtractCase cases[] = {
      {"records of both kinds", "&L P 10 20 L 30 40 &E", "x\n10 20\n30 40\n"},
      {"header and attribute tokens skipped", "&H 1 2 P 9 9 &L 5 7 P 1 2 &E", "x\n1 2\n"},
      {"near misses open nothing", "&l P 1 2 &Lx P 3 4 L 5 6", ""},
      {"lower-case records are not records", "&L p 1 2 l 3 4 P 5 6 &E", "x\n5 6\n"},
      {"&Lx ends a section", "&L P 1 2 &Lx P 3 4", "x\n1 2\n"},
      {"a lone & ends a section", "&L P 1 2 & P 3 4", "x\n1 2\n"},
      {"section without records", "&L 1 2 3 &E", "x\n"},
      {"closing &L opens nothing", "&L P 1 2 &L P 3 4 &E", "x\n1 2\n"},
      {"next section after the closer", "&L P 1 2 &L P 3 4 &E &L P 5 6", "x\n1 2\nx\n5 6\n"},
      {"P takes L as coordinate, then L is a record", "&L P 1 L 2 3 &E", "x\n1 L\n2 3\n"},
      {"P after an L record is only a coordinate", "&L L 1 P 2 3 &E", "x\n1 P\n"},
      {"P as first coordinate", "&L P P 1 2", "x\nP 1\n"},
      {"& tokens as coordinates", "&L P &A &B L 1 2 &E", "x\n&A &B\n1 2\n"},
      {"end of file inside a section", "&L P 1 2 L 3 4", "x\n1 2\n3 4\n"},
      {"record cut short after one token", "&L P 1 2 L 3", "x\n1 2\n"},
      {"record cut short at once", "&L P", "x\n"},
      {"&L as last token", "a b &L", "x\n"},
      {"tokens copied unchanged", "&L P 1.5e3 0012.50 L x -0 &E", "x\n1.5e3 0012.50\nx -0\n"},
      {"all six separators", "&L\tP\r\n1\v2\f L 3 4&E", "x\n1 2\n3 4&E\n"},
      {"several sections", "&L P 1 2 &E &L 7 L 3 4 L 5 6 &E", "x\n1 2\nx\n3 4\n5 6\n"},
      {"no sections", "&H 1 2\r\n&T P 1 2\r\n", ""},
      {"empty file", "", ""},
  };
  for (const ExtractCase& c : cases) {
    EXPECT_EQ(extract(c.drawing), c.vertices) << c.name;
  }
}

// The obvious extraction, token by token with the stream's own string extraction.
std::string extractSlowly(const std::string& drawing) {
  std::istringstream in(drawing);
  std::ostringstream out;
  std::string token;
  auto startsEnd = [](const std::string& t) { return !t.empty() && t[0] == '&'; };
  while (in >> token) {
    if (token != "&L") continue;
    bool more = static_cast<bool>(in >> token);
    out << "x\n";
    while (more && !startsEnd(token)) {
      for (const char* kind : {"P", "L"}) {
        if (!more || token != kind) continue;
        std::string first;
        std::string second;
        more = static_cast<bool>(in >> first) && static_cast<bool>(in >> second);
        if (more) out << first << ' ' << second << '\n';
        token = second;
      }
      if (more) more = static_cast<bool>(in >> token);
    }
  }
  return out.str();
}

// Drawings well past one buffer fill, with long coordinate tokens, so that records straddle
// refills and windows of the separator bitmap; the result must match the obvious extraction.
TEST(ExtractLineObjects, MatchesStreamExtractionOnGeneratedDrawings) {
  const char* const words[] = {"&L", "&E", "&T", "&", "P", "L", "p", "&Lx", "12.5", "-744123.45"};
  const char* const separators[] = {" ", "\r\n", "\n", "\t", "\v\f", "  "};
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    std::string drawing;
    while (drawing.size() < 700000) {
      auto pick = random() % 13;
      if (pick < 10) {
        drawing += words[pick];
      } else {
        drawing += std::string(1 + random() % 40, static_cast<char>('0' + random() % 10));
      }
      // Odd rounds are mostly single spaces, the records of the commonest form at every offset.
      drawing += separators[round % 2 == 1 && random() % 4 != 0 ? 0 : random() % 6];
    }
    ASSERT_EQ(extract(drawing), extractSlowly(drawing)) << "round " << round;
  }
  // Records of the commonest form, one space apart, across the end of the first fill at every
  // offset.
  for (std::size_t shift = 0; shift < 64; ++shift) {
    std::string drawing = "&L" + std::string(1 + shift, ' ');
    while (drawing.size() < kIoBufferSize + 100) drawing += "P -744123.45 12.5\nL 7 L\n";
    ASSERT_EQ(extract(drawing), extractSlowly(drawing)) << "shift " << shift;
  }
}

}  // namespace
}  // namespace lines2svg
