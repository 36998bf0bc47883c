// Third pass: the integer bounds of the vertices, and the scale bar's length.
#include <algorithm>

#include "passes/block_reader.h"
#include "passes/passes.h"

namespace lines2svg {

namespace {

// The least and the greatest of one coordinate, in hundredths. Truncation toward zero never
// reverses an order, so the truncated extremes are the extremes truncated, and a coordinate read
// in hundredths need not be truncated one by one.
struct Extremes {
  std::int64_t least = 0;
  std::int64_t greatest = 0;

  void add(std::int64_t hundredths) {
    least = std::min(least, hundredths);
    greatest = std::max(greatest, hundredths);
  }
};

// A coordinate in hundredths truncated toward zero; C++ division truncates so.
std::int32_t truncatedWhole(std::int64_t hundredths) {
  return static_cast<std::int32_t>(hundredths / 100);
}

}  // namespace

Bounds computeBounds(std::istream& vertices) {
  BlockReader blocks(vertices);
  Extremes first;
  Extremes second;
  bool any = false;
  while (blocks.nextBlock()) {
    for (;;) {
      std::int64_t a = 0;
      std::int64_t b = 0;
      if (!blocks.nextVertexInHundredths(&a, &b)) {
        // Any other vertex, its coordinates truncated to whole numbers, which are hundredths too.
        std::int32_t wholeA = 0;
        std::int32_t wholeB = 0;
        const VertexRead read = nextVertex(blocks, &wholeA, &wholeB);
        if (read == VertexRead::kEnd) break;
        if (read != VertexRead::kRead) continue;
        a = std::int64_t{wholeA} * 100;
        b = std::int64_t{wholeB} * 100;
      }
      if (!any) {
        first = Extremes{a, a};
        second = Extremes{b, b};
        any = true;
      }
      first.add(a);
      second.add(b);
    }
  }
  Bounds bounds;
  if (any) {
    bounds = Bounds{truncatedWhole(first.greatest), truncatedWhole(second.greatest),
                    truncatedWhole(first.least), truncatedWhole(second.least)};
  }
  return bounds;
}

double scaleBarLength(const Bounds& bounds) {
  double extent = extentFirst(bounds);
  double length = 1;
  while (0.05 * extent > length) length *= 5;
  return length;
}

}  // namespace lines2svg
