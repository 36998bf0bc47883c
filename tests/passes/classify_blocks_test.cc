#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "passes/passes.h"

namespace lines2svg {
namespace {

struct ClassifyCase {
  const char* name;
  const char* vertices;
  const char* shapes;
};

TEST(ClassifyBlocks, WritesTheShapeLineOfEachBlockSize) {
  const ClassifyCase cases[] = {
      {"empty vertex file", "", ""},
      {"one vertex", "x\n1 2\n", "P\n"},
      {"two vertices", "x\n1 2\n3 4\n", "L\n"},
      {"three vertices", "x\n1 2\n3 4\n5 6\n", "M 3\n"},
      {"seven vertices", "x\n1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n7 7\n", "M 7\n"},
      {"blocks in order", "x\n1 2\nx\n1 2\n3 4\nx\n1 2\n3 4\n5 6\n", "P\nL\nM 3\n"},
      {"empty block", "x\nx\n1 2\n", "P\n"},
      {"file ending in a marker", "x\n1 2\nx\n", "P\n"},
      {"only a marker", "x\n", ""},
      {"one or three tokens", "x\n1\nx\n1 2 3\n", ""},
      {"five tokens", "x\n1 2 3 4 5\n", "M 2\n"},
      {"coordinate x splits a block", "x\n1 x\n3 4\n", "P\n"},
      {"CR LF line ends", "x\r\n1 2\r\n3 4\r\n", "L\n"},
  };
  for (const ClassifyCase& c : cases) {
    std::istringstream in(c.vertices);
    std::ostringstream out;
    classifyBlocks(in, out);
    EXPECT_EQ(out.str(), c.shapes) << c.name;
  }
}

TEST(ClassifyBlocks, CountsLargeBlocksWithoutHoldingThem) {
  std::string vertices = "x\n";
  for (int i = 0; i < 300000; ++i) vertices += "-744123.45 -1043210.12\n";
  vertices += "x\n1 2\n";
  std::istringstream in(vertices);
  std::ostringstream out;
  classifyBlocks(in, out);
  EXPECT_EQ(out.str(), "M 300000\nP\n");
}

}  // namespace
}  // namespace lines2svg
