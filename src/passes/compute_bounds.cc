// Third pass: the integer bounds of the vertices, and the scale bar's length.
#include <algorithm>
#include <cstdint>

#include "passes/block_reader.h"
#include "passes/passes.h"
#include "text/number_scanner.h"

namespace lines2svg {

namespace {

// The least and the greatest of one coordinate, in hundredths. Truncation toward zero never
// reverses an order, so the truncated extremes are the extremes truncated, and a coordinate read
// in hundredths need not be truncated one by one.
struct Extremes {
  std::int64_t least = INT64_MAX;
  std::int64_t greatest = INT64_MIN;

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
  const auto add = [&](std::int64_t a, std::int64_t b) {
    first.add(a);
    second.add(b);
  };
  while (blocks.nextBlock()) {
    for (;;) {
      blocks.readVerticesInHundredths(add);
      // Any other vertex, its coordinates truncated to whole numbers, which are hundredths too.
      double a = 0;
      double b = 0;
      const VertexRead read = blocks.readVertex(&a, &b);
      if (read == VertexRead::kEnd) break;
      if (read == VertexRead::kRead) {
        add(std::int64_t{truncateToInt32(a)} * 100, std::int64_t{truncateToInt32(b)} * 100);
      }
    }
  }
  // No vertex read leaves the bounds at 0.
  if (first.greatest < first.least) return Bounds{};
  return Bounds{truncatedWhole(first.greatest), truncatedWhole(second.greatest),
                truncatedWhole(first.least), truncatedWhole(second.least)};
}

double scaleBarLength(const Bounds& bounds) {
  double extent = extentFirst(bounds);
  double length = 1;
  while (0.05 * extent > length) length *= 5;
  return length;
}

}  // namespace lines2svg
