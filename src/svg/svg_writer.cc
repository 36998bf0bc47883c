// Writing the SVG document: the header, the shapes and the closing tag.
#include "svg/svg_writer.h"

#include <string_view>

#include "passes/block_reader.h"
#include "svg/furniture.h"
#include "svg/svg_stream.h"
#include "text/token_reader.h"

namespace lines2svg {

namespace {

// One vertex of a block, as read: in hundredths where it has the common form, as doubles
// otherwise.
struct Vertex {
  VertexRead read = VertexRead::kEnd;
  bool inHundredths = false;
  HundredthsPair hundredths{};
  double first = 0;
  double second = 0;

  // False once the block has no more vertices.
  bool exists() const { return read == VertexRead::kRead || read == VertexRead::kUnreadable; }
  // True when both coordinates are numbers.
  bool drawable() const { return read == VertexRead::kRead; }
};

// The vertices of the current block: a batch at a time where they have the common form, one at a
// time otherwise.
class BlockVertices {
 public:
  explicit BlockVertices(BlockReader& blocks) : blocks_(blocks) {}

  // Forgets what is left of the batch: a new block begins.
  void restart() { next_ = count_ = 0; }

  // The block's next vertex.
  Vertex next() {
    Vertex vertex;
    if (next_ == count_) {
      count_ = blocks_.readPairs(pairs_, BlockReader::kPairBatch);
      next_ = 0;
    }
    if (next_ < count_) {
      vertex.read = VertexRead::kRead;
      vertex.inHundredths = true;
      vertex.hundredths = pairs_[next_++];
    } else {
      vertex.read = blocks_.readVertex(&vertex.first, &vertex.second);
    }
    return vertex;
  }

  // Hands the vertices of the common form that come next to `take`, batch after batch, up to one
  // of another form or the block's end. Handing the batches after a full one to
  // BlockReader::readVerticesInHundredths instead measured 1.6 million instructions more on a 5 MB
  // drawing.
  template <typename Take>
  void takeCommon(Take take) {
    for (;;) {
      for (; next_ < count_; ++next_) take(pairs_[next_]);
      if (count_ < BlockReader::kPairBatch) return;
      count_ = blocks_.readPairs(pairs_, BlockReader::kPairBatch);
      next_ = 0;
    }
  }

 private:
  BlockReader& blocks_;
  HundredthsPair pairs_[BlockReader::kPairBatch];
  std::size_t count_ = 0;
  std::size_t next_ = 0;
};

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
  void x(SvgStream& svg, const Vertex& vertex) const {
    if (vertex.inHundredths) {
      svg.hundredths(std::int64_t{maxFirst_} * 100 - vertex.hundredths.first);
    } else {
      svg.number(maxFirst_ - vertex.first);
    }
  }

  // Writes y = second - minSecond.
  void y(SvgStream& svg, const Vertex& vertex) const {
    if (vertex.inHundredths) {
      svg.hundredths(vertex.hundredths.second - std::int64_t{minSecond_} * 100);
    } else {
      svg.number(vertex.second - minSecond_);
    }
  }

  // Writes " x y" for a vertex in hundredths, in one piece.
  void point(SvgStream& svg, const HundredthsPair& pair) const {
    svg.hundredthsPair(std::int64_t{maxFirst_} * 100 - pair.first,
                       pair.second - std::int64_t{minSecond_} * 100);
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
  place.x(svg, from);
  svg.text("\" y1=\"");
  place.y(svg, from);
  svg.text("\" x2=\"");
  place.x(svg, to);
  svg.text("\" y2=\"");
  place.y(svg, to);
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
      pendingVertex_ = vertex;
      return;
    }
    if (!open_) {
      svg_.text("<polyline fill=\"none\" stroke=\"black\" stroke-width=\"2\" points=\"");
      point(pendingVertex_);
      open_ = true;
    }
    point(vertex);
  }

  // True once the element is open: each drawable vertex then adds one point.
  bool open() const { return open_; }

  void finish() {
    if (open_) svg_.text("\"/>\n");
  }

 private:
  void point(const Vertex& vertex) {
    if (vertex.inHundredths) {
      place_.point(svg_, vertex.hundredths);
      return;
    }
    svg_.text(" ");
    place_.x(svg_, vertex);
    svg_.text(" ");
    place_.y(svg_, vertex);
  }

  SvgStream& svg_;
  const Placement& place_;
  bool pending_ = false;
  bool open_ = false;
  Vertex pendingVertex_;
};

// Draws a polyline through the block's first two vertices and all the vertices after them.
void writePolyline(SvgStream& svg, const Placement& place, const Vertex& first,
                   const Vertex& second, BlockVertices& block) {
  PolylineWriter polyline(svg, place);
  polyline.add(first);
  polyline.add(second);
  for (;;) {
    if (polyline.open()) {
      block.takeCommon([&](const HundredthsPair& pair) { place.point(svg, pair); });
    }
    const Vertex vertex = block.next();
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
  BlockVertices block(blocks);
  TokenReader shapes(shapeFile);
  std::string_view shape;
  while (blocks.nextBlock()) {
    block.restart();
    const Vertex first = block.next();
    const Vertex second = first.exists() ? block.next() : Vertex{};
    if (!hasShapeLine(first, second)) continue;
    if (!shapes.next(&shape)) break;
    if (!second.exists()) continue;  // a single vertex, "P", which is not drawn
    if (shape == "L") {
      writeLine(svg, place, first, second);
    } else if (shape == "M") {
      std::string_view count;
      if (!shapes.next(&count)) break;
      writePolyline(svg, place, first, second, block);
    }
  }

  writeFurniture(svg, e1, e2, scaleBar);
  svg.text("</svg>");
  svg.flush();
}

}  // namespace lines2svg
