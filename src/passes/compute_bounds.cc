// Third pass: the integer bounds of the vertices, and the scale bar's length.
#include <algorithm>

#include "passes/block_reader.h"
#include "passes/passes.h"

namespace lines2svg {

Bounds computeBounds(std::istream& vertices) {
  BlockReader blocks(vertices);
  Bounds bounds;
  bool any = false;
  std::int32_t a = 0;
  std::int32_t b = 0;
  while (blocks.nextBlock()) {
    for (VertexRead read; (read = nextVertex(blocks, &a, &b)) != VertexRead::kEnd;) {
      if (read != VertexRead::kRead) continue;
      if (!any) {
        bounds = Bounds{a, b, a, b};
        any = true;
        continue;
      }
      bounds.maxFirst = std::max(bounds.maxFirst, a);
      bounds.minFirst = std::min(bounds.minFirst, a);
      bounds.maxSecond = std::max(bounds.maxSecond, b);
      bounds.minSecond = std::min(bounds.minSecond, b);
    }
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
