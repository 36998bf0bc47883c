#ifndef LINES2SVG_PASSES_PASSES_H_
#define LINES2SVG_PASSES_PASSES_H_

#include <cstdint>
#include <istream>
#include <ostream>

namespace lines2svg {

// The integer bounds of all readable vertices: each coordinate truncated toward zero (saturating
// at the 32-bit limits) before it is compared. All four are 0 when there is no readable vertex.
struct Bounds {
  std::int32_t maxFirst = 0;
  std::int32_t maxSecond = 0;
  std::int32_t minFirst = 0;
  std::int32_t minSecond = 0;
};

// The width of the bounds, maxFirst - minFirst, taken in 64 bits so that it cannot overflow.
inline double extentFirst(const Bounds& bounds) {
  return static_cast<double>(std::int64_t{bounds.maxFirst} - bounds.minFirst);
}

// The height of the bounds, maxSecond - minSecond, taken in 64 bits so that it cannot overflow.
inline double extentSecond(const Bounds& bounds) {
  return static_cast<double>(std::int64_t{bounds.maxSecond} - bounds.minSecond);
}

// First pass: copies the vertices of every "&L" section of the drawing into the vertex file, one
// block per section: a marker line "x", then "first second" per vertex record, tokens unchanged.
// A record cut short by the end of the drawing is dropped, unless its one coordinate was too long
// to hold (over 256 KiB): that was copied on the way, and its line is ended after it.
void extractLineObjects(std::istream& drawing, std::ostream& vertices);

// Second pass: writes one shape line per vertex-file block of 2 tokens ("P"), 4 tokens ("L") or
// more ("M " and half the token count); blocks of 0, 1 or 3 tokens get no line.
void classifyBlocks(std::istream& vertices, std::ostream& shapes);

// Third pass: the bounds of every readable vertex of every block. A block's tokens are paired in
// order, a leftover odd token is ignored, and a vertex with an unreadable coordinate is left out.
Bounds computeBounds(std::istream& vertices);

// The scale-bar length: the smallest power of five not less than a twentieth of the bounds'
// width.
double scaleBarLength(const Bounds& bounds);

}  // namespace lines2svg

#endif  // LINES2SVG_PASSES_PASSES_H_
