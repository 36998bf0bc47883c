#include <gtest/gtest.h>

#include <string>

#include "support/conversion_properties.h"
#include "support/expected_svg.h"

namespace lines2svg {
namespace {

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
       documentFor1000By700(std::string(kLine) + kPolyline)},
      {"empty section in the middle",
       "&L P 1000 500 L 900 700 &E &L 7 &E &L P 950 600 L 924.5 650.25 L 980 530 &E",
       documentFor1000By700(std::string(kLine) + kPolyline)},
      {"coordinate x in the middle",
       "&L P 1000 500 L 900 700 &E &L P 950 x L 960 600 &E &L P 950 600 L 924.5 650.25 L 980 530 "
       "&E",
       documentFor1000By700(std::string(kLine) + kPolyline)},
  };
  for (const auto& c : cases) EXPECT_EQ(convertInMemory(c.drawing).svg, c.svg) << c.name;
}

TEST(WholeDocument, NoSectionsGivesOnlyTheFrame) {
  std::string svg = convertInMemory("&H 1 2 3\n&T P 1 2\n").svg;
  EXPECT_EQ(svg.rfind(kSvgHeader, 0), 0u);
  EXPECT_NE(svg.find("viewBox=\"0 0 0.00 0.00\""), std::string::npos);
  EXPECT_EQ(svg.find("stroke-width=\"2\""), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 6), "</svg>");
}

}  // namespace
}  // namespace lines2svg
