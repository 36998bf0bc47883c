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
  double first = 0;
  double second = 0;

  // False once the block has no more vertices.
  bool exists() const { return read == VertexRead::kRead || read == VertexRead::kUnreadable; }
  // True when both coordinates are numbers.
  bool drawable() const { return read == VertexRead::kRead; }
};

Vertex readVertex(BlockReader& blocks) {
  Vertex vertex;
  vertex.read = nextVertex(blocks, &vertex.first, &vertex.second);
  return vertex;
}

// True when the shape file has a line for a block that starts with these two vertices: a block of
// 2 tokens or of 4 and more has one, a block of 0, 1 or 3 tokens has none. The first two vertices
// tell them apart.
bool hasShapeLine(const Vertex& first, const Vertex& second) {
  return first.exists() && second.read != VertexRead::kOddToken;
}

// Places vertices in the picture: the first coordinate mirrored, the second growing downwards.
class Placement {
 public:
  explicit Placement(const Bounds& bounds)
      : maxFirst_(bounds.maxFirst), minSecond_(bounds.minSecond) {}
  double x(double first) const { return maxFirst_ - first; }
  double y(double second) const { return second - minSecond_; }

 private:
  double maxFirst_;
  double minSecond_;
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
  svg.number(place.x(from.first));
  svg.text("\" y1=\"");
  svg.number(place.y(from.second));
  svg.text("\" x2=\"");
  svg.number(place.x(to.first));
  svg.text("\" y2=\"");
  svg.number(place.y(to.second));
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

  void finish() {
    if (open_) svg_.text("\"/>\n");
  }

 private:
  void point(double first, double second) {
    svg_.text(" ");
    svg_.number(place_.x(first));
    svg_.text(" ");
    svg_.number(place_.y(second));
  }

  SvgStream& svg_;
  const Placement& place_;
  bool pending_ = false;
  bool open_ = false;
  double pendingFirst_ = 0;
  double pendingSecond_ = 0;
};

// Draws a polyline through the block's first two vertices and all the vertices after them.
void writePolyline(SvgStream& svg, const Placement& place, const Vertex& first,
                   const Vertex& second, BlockReader& blocks) {
  PolylineWriter polyline(svg, place);
  polyline.add(first);
  polyline.add(second);
  for (Vertex vertex = readVertex(blocks); vertex.exists(); vertex = readVertex(blocks)) {
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
