#ifndef LINES2SVG_SVG_SVG_WRITER_H_
#define LINES2SVG_SVG_SVG_WRITER_H_

#include <istream>
#include <ostream>

#include "passes/passes.h"

namespace lines2svg {

// Last pass: writes the SVG document. Walks the vertex file block by block and takes a shape line
// for each block that has one (2, 4 or more tokens): "L" draws a line, "M k" a polyline of the
// block's vertices, "P" nothing. A vertex is drawn at x = maxFirst - first and
// y = second - minSecond. Each shape takes its numbers from its own block only; a vertex with an
// unreadable coordinate is left out, and a shape left with fewer than two vertices is not drawn.
// The scale bar and the direction arrow follow the shapes.
void writeSvg(std::istream& vertices, std::istream& shapes, std::ostream& svg, const Bounds& bounds,
              double scaleBar);

}  // namespace lines2svg

#endif  // LINES2SVG_SVG_SVG_WRITER_H_
