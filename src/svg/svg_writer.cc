#include "svg/svg_writer.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "passes/block_reader.h"
#include "passes/read_number.h"
#include "passes/token_reader.h"
#include "svg/furniture.h"
#include "svg/svg_stream.h"

namespace lines2svg {

namespace {

// One coordinate token as read.
struct Coordinate {
  bool read = false;
  double value = 0;
};

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

void writeLine(SvgStream& svg, const Placement& place, const Coordinate (&c)[4]) {
  for (const Coordinate& each : c) {
    if (!each.read) return;
  }
  svg.text("<line x1=\"");
  svg.number(place.x(c[0].value));
  svg.text("\" y1=\"");
  svg.number(place.y(c[1].value));
  svg.text("\" x2=\"");
  svg.number(place.x(c[2].value));
  svg.text("\" y2=\"");
  svg.number(place.y(c[3].value));
  svg.text("\" stroke-width=\"2\" stroke=\"black\"/>\n");
}

// Streams a polyline's points. The element is opened only once a second vertex is known, so a
// polyline left with a single drawable vertex writes nothing.
class PolylineWriter {
 public:
  PolylineWriter(SvgStream& svg, const Placement& place) : svg_(svg), place_(place) {}

  void add(double first, double second) {
    if (!open_ && !pending_) {
      pending_ = true;
      pendingFirst_ = first;
      pendingSecond_ = second;
      return;
    }
    if (!open_) {
      svg_.text("<polyline fill=\"none\" stroke=\"black\" stroke-width=\"2\" points=\"");
      point(pendingFirst_, pendingSecond_);
      open_ = true;
    }
    point(first, second);
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

// Draws up to `count` vertices: those among the block's first `taken` tokens, then the rest of
// the block.
void writePolyline(SvgStream& svg, const Placement& place, const Coordinate (&c)[4], int taken,
                   std::int64_t count, BlockReader& blocks) {
  PolylineWriter polyline(svg, place);
  std::int64_t done = 0;
  for (int i = 0; i + 1 < taken && done < count; i += 2, ++done) {
    if (c[i].read && c[i + 1].read) polyline.add(c[i].value, c[i + 1].value);
  }
  double first = 0;
  double second = 0;
  for (; done < count; ++done) {
    VertexRead read = nextVertex(blocks, &first, &second);
    if (read == VertexRead::kEnd) break;
    if (read == VertexRead::kRead) polyline.add(first, second);
  }
  polyline.finish();
}

}  // namespace

void writeSvg(std::istream& vertices, std::istream& shapes, std::ostream& out, const Bounds& bounds,
              double scaleBar) {
  SvgStream svg(out);
  const double e1 = extentFirst(bounds);
  const double e2 = extentSecond(bounds);
  const Placement place(bounds);
  writeHeader(svg, e1, e2);

  BlockReader blocks(vertices);
  TokenReader shapeTokens(shapes);
  std::string_view token;
  while (blocks.nextBlock()) {
    // A block of four or more tokens always has a shape line, so its first four tokens settle
    // whether this one has; the rest of a long block is read as it is drawn.
    Coordinate c[4];
    int taken = 0;
    while (taken < 4 && blocks.nextToken(&token)) {
      c[taken].read = blocks.readNumber(token, &c[taken].value);
      ++taken;
    }
    if (taken != 2 && taken != 4) continue;
    if (!shapeTokens.next(&token)) break;
    if (token == "L") {
      if (taken == 4) writeLine(svg, place, c);
    } else if (token == "M") {
      std::int64_t count = 0;
      if (!shapeTokens.next(&token)) break;
      std::from_chars(token.data(), token.data() + token.size(), count);
      writePolyline(svg, place, c, taken, count, blocks);
    }
  }

  writeFurniture(svg, e1, e2, scaleBar);
  svg.text("</svg>");
  svg.flush();
}

}  // namespace lines2svg
