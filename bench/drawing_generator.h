#ifndef LINES2SVG_BENCH_DRAWING_GENERATOR_H_
#define LINES2SVG_BENCH_DRAWING_GENERATOR_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lines2svg_bench {

// What kind of drawing to generate. Exactly one of `bytes` and `polyline` is non-zero.
struct DrawingOptions {
  // Stop once the drawing is at least this long.
  std::uint64_t bytes = 0;
  // Instead, one line object that is a polyline of this many vertices.
  std::uint64_t polyline = 0;
  std::uint64_t seed = 1;
  // CR LF line ends, or LF alone.
  bool crlf = true;
  // Survey data as a national grid gives it: most tokens lie outside line objects, in text and
  // symbol sections with many attributes, and coordinates are metres such as -744123.45.
  bool sparse = false;
};

// Receives the drawing in pieces of about a megabyte.
using DrawingSink = std::function<void(std::string_view)>;

// Generates a realistic drawing: a header, line-object sections with attribute tokens (mostly
// two-vertex lines, some polylines of 3 to 60 vertices), text and symbol sections that carry
// records of their own, and coordinates such as -744123.45 or 1043210.12, each section closed by
// "&E". The same options always give the same bytes.
void generateDrawing(const DrawingOptions& options, const DrawingSink& sink);

// The whole generated drawing as one string, for benchmarks and tests on small drawings.
std::string drawingText(const DrawingOptions& options);

}  // namespace lines2svg_bench

#endif  // LINES2SVG_BENCH_DRAWING_GENERATOR_H_
