#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "passes/passes.h"
#include "svg/svg_writer.h"

namespace lines2svg {
namespace {

// All four passes on in-memory files, as the driver runs them.
std::string convert(const std::string& drawing) {
  std::istringstream drawingIn(drawing);
  std::stringstream vertices;
  extractLineObjects(drawingIn, vertices);
  std::istringstream vertexIn(vertices.str());
  std::stringstream shapes;
  classifyBlocks(vertexIn, shapes);
  std::istringstream boundsIn(vertices.str());
  Bounds bounds = computeBounds(boundsIn);
  std::istringstream svgVertexIn(vertices.str());
  std::istringstream shapeIn(shapes.str());
  std::ostringstream svg;
  writeSvg(svgVertexIn, shapeIn, svg, bounds, scaleBarLength(bounds));
  return svg.str();
}

const char kHeader[] =
    "<?xml version=\"1.0\" standalone=\"no\"?>\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\"\n"
    "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
    "<svg width=\"800px\" height=\"600px\" version=\"1.1\"\n";

// Bounds 1000/900 and 700/500 in every drawing below, so one furniture serves them all.
const char kFurniture[] =
    "<line x1=\"95.00\" y1=\"213.33\" x2=\"90.00\" y2=\"213.33\" stroke-width=\"5\" "
    "stroke=\"black\"/>\n"
    "<text x=\"90.00\" y=\"210.00\" font-family=\"Helvetica\" font-size=\"4.00\" "
    "font-style=\"italic\" fill=\"black\" >5 m</text>\n"
    "<line x1=\"5\" y1=\"213\" x2=\"10\" y2=\"213\" stroke-width=\"5\" stroke=\"black\"/>\n"
    "<line x1=\"5\" y1=\"213\" x2=\"8\" y2=\"211\" stroke-width=\"5\" stroke=\"black\"/>\n"
    "<line x1=\"5\" y1=\"213\" x2=\"8\" y2=\"215\" stroke-width=\"5\" stroke=\"black\"/>\n"
    "<text x=\"11\" y=\"213\" font-family=\"Helvetica\" font-size=\"5\" "
    "font-style=\"italic\" fill=\"black\" >S</text>\n"
    "</svg>";

std::string document(const std::string& shapes) {
  return std::string(kHeader) +
         "viewBox=\"0 0 101.00 220.00\" preserveAspectRatio=\"none\"\n"
         "xmlns=\"http://www.w3.org/2000/svg\">\n" +
         shapes + kFurniture;
}

const char kLine[] =
    "<line x1=\"0.00\" y1=\"0.00\" x2=\"100.00\" y2=\"200.00\" stroke-width=\"2\" "
    "stroke=\"black\"/>\n";
const char kPolyline[] =
    "<polyline fill=\"none\" stroke=\"black\" stroke-width=\"2\" points=\" 50.00 100.00 75.50 "
    "150.25 20.00 30.00\"/>\n";

TEST(WholeDocument, FromDrawingToSvg) {
  const struct {
    const char* name;
    const char* drawing;
    std::string svg;
  } cases[] = {
      {"lines, polylines and a single vertex",
       "&H 3\r\n&L 1 P 1000 500 L 900 700 &E\r\n&L P 950 600 L 924.5 650.25 L 980 530 &E\r\n"
       "&L P 960 510 &E\r\n",
       document(std::string(kLine) + kPolyline)},
      {"empty section in the middle",
       "&L P 1000 500 L 900 700 &E &L 7 &E &L P 950 600 L 924.5 650.25 L 980 530 &E",
       document(std::string(kLine) + kPolyline)},
      {"coordinate x in the middle",
       "&L P 1000 500 L 900 700 &E &L P 950 x L 960 600 &E &L P 950 600 L 924.5 650.25 L 980 530 "
       "&E",
       document(std::string(kLine) + kPolyline)},
  };
  for (const auto& c : cases) EXPECT_EQ(convert(c.drawing), c.svg) << c.name;
}

TEST(WholeDocument, NoSectionsGivesOnlyTheFrame) {
  std::string svg = convert("&H 1 2 3\n&T P 1 2\n");
  EXPECT_EQ(svg.rfind(kHeader, 0), 0u);
  EXPECT_NE(svg.find("viewBox=\"0 0 0.00 0.00\""), std::string::npos);
  EXPECT_EQ(svg.find("stroke-width=\"2\""), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 6), "</svg>");
}

}  // namespace
}  // namespace lines2svg
