// Writing the SVG document: the header, the shapes and the closing tag.
#include "svg/svg_writer.h"

#include <string_view>

#include "passes/block_reader.h"
#include "svg/furniture.h"
#include "svg/svg_stream.h"
#include "text/token_reader.h"

namespace lines2svg {

namespace {

// One vertex of a block, as read.
struct Vertex {
  VertexRead read = VertexRead::kEnd;
  Coordinate first;
  Coordinate second;

  // False once the block has no more vertices.
  bool exists() const { return read == VertexRead::kRead || read == VertexRead::kUnreadable; }
  // True when both coordinates are numbers.
  bool drawable() const { return read == VertexRead::kRead; }
};

Vertex readVertex(BlockReader& blocks) {
  Vertex vertex;
  HundredthsPair pair;
  if (blocks.nextVertexInHundredths(&pair)) {
    vertex.first.hundredths = pair.first;
    vertex.second.hundredths = pair.second;
    vertex.read = VertexRead::kRead;
    vertex.first.inHundredths = true;
    vertex.second.inHundredths = true;
  } else {
    vertex.read = nextVertex(blocks, &vertex.first, &vertex.second);
  }
  return vertex;
}

// True when the shape file has a line for a block that starts with these two vertices: a block of
// 2 tokens or of 4 and more has one, a block of 0, 1 or 3 tokens has none. The first two vertices
// tell them apart.
bool hasShapeLine(const Vertex& first, const Vertex& second) {
  return first.exists() && second.read != VertexRead::kOddToken;
}

// Places vertices in the picture: the first coordinate mirrored, the second growing downwards.
// A coordinate in hundredths is placed in hundredths, which gives the very digits that placing its
// double gives (see readHundredthsPrefix).
class Placement {
 public:
  explicit Placement(const Bounds& bounds)
      : maxFirst_(bounds.maxFirst), minSecond_(bounds.minSecond) {}

  // Writes x = maxFirst - first.
  void x(SvgStream& svg, const Coordinate& first) const {
    if (first.inHundredths) {
      svg.hundredths(std::int64_t{maxFirst_} * 100 - first.hundredths);
    } else {
      svg.number(maxFirst_ - first.value);
    }
  }

  // Writes " x y" for a vertex in hundredths, in one piece.
  void point(SvgStream& svg, std::int64_t first, std::int64_t second) const {
    svg.hundredthsPair(std::int64_t{maxFirst_} * 100 - first,
                       second - std::int64_t{minSecond_} * 100);
  }

  // Writes y = second - minSecond.
  void y(SvgStream& svg, const Coordinate& second) const {
    if (second.inHundredths) {
      svg.hundredths(second.hundredths - std::int64_t{minSecond_} * 100);
    } else {
      svg.number(second.value - minSecond_);
    }
  }

 private:
  std::int32_t maxFirst_;
  std::int32_t minSecond_;
};

void writeHeader(SvgStream& svg, double extentFirst, double extentSecond) {
  svg.text(
      "<?xml version=\"1.0\" standalone=\"no\"?>\n"
      "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\"\n"
      "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
      "<svg width=\"800px\" height=\"600px\" version=\"1.1\"\n"
      "viewBox=\"0 0 ");
  svg.number(extentFirst + 0.01 * extentFirst);
  svg.text(" ");
  svg.number(extentSecond + 0.1 * extentSecond);
  svg.text(
      "\" preserveAspectRatio=\"none\"\n"
      "xmlns=\"http://www.w3.org/2000/svg\">\n");
}

void writeLine(SvgStream& svg, const Placement& place, const Vertex& from, const Vertex& to) {
  if (!from.drawable() || !to.drawable()) return;
  svg.text("<line x1=\"");
  place.x(svg, from.first);
  svg.text("\" y1=\"");
  place.y(svg, from.second);
  svg.text("\" x2=\"");
  place.x(svg, to.first);
  svg.text("\" y2=\"");
  place.y(svg, to.second);
  svg.text("\" stroke-width=\"2\" stroke=\"black\"/>\n");
}

// Streams a polyline's points. The element is opened only once a second vertex is known, so a
// polyline left with a single drawable vertex writes nothing.
class PolylineWriter {
 public:
  PolylineWriter(SvgStream& svg, const Placement& place) : svg_(svg), place_(place) {}

  // Adds a vertex; one with an unreadable coordinate is left out.
  void add(const Vertex& vertex) {
    if (!vertex.drawable()) return;
    if (!open_ && !pending_) {
      pending_ = true;
      pendingFirst_ = vertex.first;
      pendingSecond_ = vertex.second;
      return;
    }
    if (!open_) {
      svg_.text("<polyline fill=\"none\" stroke=\"black\" stroke-width=\"2\" points=\"");
      point(pendingFirst_, pendingSecond_);
      open_ = true;
    }
    point(vertex.first, vertex.second);
  }

  // True once the element is open: each drawable vertex then adds one point.
  bool open() const { return open_; }

  void finish() {
    if (open_) svg_.text("\"/>\n");
  }

 private:
  void point(const Coordinate& first, const Coordinate& second) {
    svg_.text(" ");
    place_.x(svg_, first);
    svg_.text(" ");
    place_.y(svg_, second);
  }

  SvgStream& svg_;
  const Placement& place_;
  bool pending_ = false;
  bool open_ = false;
  Coordinate pendingFirst_;
  Coordinate pendingSecond_;
};

// Draws a polyline through the block's first two vertices and all the vertices after them.
void writePolyline(SvgStream& svg, const Placement& place, const Vertex& first,
                   const Vertex& second, BlockReader& blocks) {
  PolylineWriter polyline(svg, place);
  polyline.add(first);
  polyline.add(second);
  for (;;) {
    if (polyline.open()) {
      blocks.readVerticesInHundredths(
          [&](std::int64_t a, std::int64_t b) { place.point(svg, a, b); });
    }
    const Vertex vertex = readVertex(blocks);
    if (!vertex.exists()) break;
    polyline.add(vertex);
  }
  polyline.finish();
}

}  // namespace

void writeSvg(std::istream& vertices, std::istream& shapeFile, std::ostream& out,
              const Bounds& bounds, double scaleBar) {
  SvgStream svg(out);
  const double e1 = extentFirst(bounds);
  const double e2 = extentSecond(bounds);
  const Placement place(bounds);
  writeHeader(svg, e1, e2);

  // The picture is drawn from the blocks themselves: each shape takes its numbers from its own
  // block, so that an empty block or a coordinate "x", which have no shape line, cannot shift the
  // rest of the picture onto the wrong vertices. The shape file is read in step only for the
  // shape type of each block that has a line; the count after "M" repeats what the block itself
  // shows, and is passed over.
  BlockReader blocks(vertices);
  TokenReader shapes(shapeFile);
  std::string_view shape;
  while (blocks.nextBlock()) {
    const Vertex first = readVertex(blocks);
    const Vertex second = first.exists() ? readVertex(blocks) : Vertex{};
    if (!hasShapeLine(first, second)) continue;
    if (!shapes.next(&shape)) break;
    if (!second.exists()) continue;  // a single vertex, "P", which is not drawn
    if (shape == "L") {
      writeLine(svg, place, first, second);
    } else if (shape == "M") {
      std::string_view count;
      if (!shapes.next(&count)) break;
      writePolyline(svg, place, first, second, blocks);
    }
  }

  writeFurniture(svg, e1, e2, scaleBar);
  svg.text("</svg>");
  svg.flush();
}

}  // namespace lines2svg
