#include "svg/svg_writer.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <random>
#include <sstream>
#include <string>

#include "passes/passes.h"
#include "support/expected_svg.h"

namespace lines2svg {
namespace {

std::string svgOf(const std::string& vertices, const std::string& shapes, const Bounds& bounds,
                  double scaleBar) {
  std::istringstream vertexIn(vertices);
  std::istringstream shapeIn(shapes);
  std::ostringstream out;
  writeSvg(vertexIn, shapeIn, out, bounds, scaleBar);
  return out.str();
}

// The lines between the header and the furniture.
std::string shapesOf(const std::string& svg) {
  std::size_t begin = svg.find("svg\">\n") + 6;
  std::size_t end = svg.find("stroke-width=\"5\"");
  end = svg.rfind("<line", end);
  return svg.substr(begin, end - begin);
}

// The furniture: from the scale bar up to the closing tag.
std::string furnitureOf(const std::string& svg) {
  std::size_t end = svg.find("stroke-width=\"5\"");
  return svg.substr(svg.rfind("<line", end));
}

Bounds boundsOf(std::int32_t maxFirst, std::int32_t maxSecond, std::int32_t minFirst,
                std::int32_t minSecond) {
  Bounds b;
  b.maxFirst = maxFirst;
  b.maxSecond = maxSecond;
  b.minFirst = minFirst;
  b.minSecond = minSecond;
  return b;
}

TEST(WriteSvg, EmptyShapeFileGivesHeaderFurnitureAndClosingTag) {
  EXPECT_EQ(svgOf("", "", boundsOf(1000, 700, 900, 500), 5), documentFor1000By700(""));
}

TEST(WriteSvg, PlacesTheFurnitureExamples) {
  const struct {
    const char* name;
    Bounds bounds;
    double scaleBar;
    const char* furniture;
  } cases[] = {
      {"E1 1000, E2 480, s 125", boundsOf(1000, 480, 0, 0), 125,
       "<line x1=\"950.00\" y1=\"512.00\" x2=\"825.00\" y2=\"512.00\" stroke-width=\"5\" "
       "stroke=\"black\"/>\n"
       "<text x=\"825.00\" y=\"504.00\" font-family=\"Helvetica\" font-size=\"9.60\" "
       "font-style=\"italic\" fill=\"black\" >125 m</text>\n"
       "<line x1=\"50\" y1=\"512\" x2=\"100\" y2=\"512\" stroke-width=\"5\" stroke=\"black\"/>\n"
       "<line x1=\"50\" y1=\"512\" x2=\"77\" y2=\"507\" stroke-width=\"5\" stroke=\"black\"/>\n"
       "<line x1=\"50\" y1=\"512\" x2=\"77\" y2=\"517\" stroke-width=\"5\" stroke=\"black\"/>\n"
       "<text x=\"111\" y=\"512\" font-family=\"Helvetica\" font-size=\"12\" "
       "font-style=\"italic\" fill=\"black\" >S</text>\n"
       "</svg>"},
      {"E1 50, E2 150: ties go to the even neighbour", boundsOf(50, 150, 0, 0), 5,
       "<line x1=\"47.50\" y1=\"160.00\" x2=\"42.50\" y2=\"160.00\" stroke-width=\"5\" "
       "stroke=\"black\"/>\n"
       "<text x=\"42.50\" y=\"157.50\" font-family=\"Helvetica\" font-size=\"3.00\" "
       "font-style=\"italic\" fill=\"black\" >5 m</text>\n"
       "<line x1=\"2\" y1=\"160\" x2=\"5\" y2=\"160\" stroke-width=\"5\" stroke=\"black\"/>\n"
       "<line x1=\"2\" y1=\"160\" x2=\"4\" y2=\"158\" stroke-width=\"5\" stroke=\"black\"/>\n"
       "<line x1=\"2\" y1=\"160\" x2=\"4\" y2=\"162\" stroke-width=\"5\" stroke=\"black\"/>\n"
       "<text x=\"6\" y=\"160\" font-family=\"Helvetica\" font-size=\"4\" "
       "font-style=\"italic\" fill=\"black\" >S</text>\n"
       "</svg>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(furnitureOf(svgOf("", "", c.bounds, c.scaleBar)), c.furniture) << c.name;
  }
}

TEST(WriteSvg, FurnitureDetails) {
  // All vertices on one first coordinate: the bar runs from 0 to -1.
  std::string flat = svgOf("", "", boundsOf(7, 40, 7, 0), 1);
  EXPECT_NE(flat.find("<line x1=\"0.00\" y1=\"42.67\" x2=\"-1.00\" y2=\"42.67\""),
            std::string::npos);
  // The scale label carries no decimals.
  EXPECT_NE(svgOf("", "", boundsOf(60000, 10, 0, 0), 3125).find(">3125 m</text>"),
            std::string::npos);
}

TEST(WriteSvg, ShapesFollowTheBlocks) {
  const struct {
    const char* name;
    const char* vertices;
    const char* shapes;
    const char* elements;
  } cases[] = {
      {"mirrored and shifted", "x\n1000.25 600.5\n900 500\n", "L\n",
       "<line x1=\"-0.25\" y1=\"100.50\" x2=\"100.00\" y2=\"0.00\" stroke-width=\"2\" "
       "stroke=\"black\"/>\n"},
      {"polyline points", "x\n1000 500\n950 600\n900 700\n", "M 3\n",
       "<polyline fill=\"none\" stroke=\"black\" stroke-width=\"2\" points=\" 0.00 0.00 50.00 "
       "100.00 100.00 200.00\"/>\n"},
      {"single vertex draws nothing", "x\n950 600\nx\n1000 500\n900 700\n", "P\nL\n",
       "<line x1=\"0.00\" y1=\"0.00\" x2=\"100.00\" y2=\"200.00\" stroke-width=\"2\" "
       "stroke=\"black\"/>\n"},
      {"empty block keeps the pairing", "x\nx\n1000 500\n900 700\nx\n950 600\n", "L\nP\n",
       "<line x1=\"0.00\" y1=\"0.00\" x2=\"100.00\" y2=\"200.00\" stroke-width=\"2\" "
       "stroke=\"black\"/>\n"},
      {"coordinate x keeps the pairing", "x\n1 x\n2 3\nx\n1000 500\n900 700\n", "P\nL\n",
       "<line x1=\"0.00\" y1=\"0.00\" x2=\"100.00\" y2=\"200.00\" stroke-width=\"2\" "
       "stroke=\"black\"/>\n"},
      {"three tokens have no shape line", "x\n1 2 3\nx\n1000 500\n900 700\n", "L\n",
       "<line x1=\"0.00\" y1=\"0.00\" x2=\"100.00\" y2=\"200.00\" stroke-width=\"2\" "
       "stroke=\"black\"/>\n"},
      {"odd leftover ignored", "x\n1000 500\n900 700 5\n", "M 2\n",
       "<polyline fill=\"none\" stroke=\"black\" stroke-width=\"2\" points=\" 0.00 0.00 100.00 "
       "200.00\"/>\n"},
      {"line with an unreadable vertex not written", "x\n1000 abc\n900 700\nx\n950 600\n900 700\n",
       "L\nL\n",
       "<line x1=\"50.00\" y1=\"100.00\" x2=\"100.00\" y2=\"200.00\" stroke-width=\"2\" "
       "stroke=\"black\"/>\n"},
      {"numeric prefix read, next token read normally", "x\n1000.5abc 500\n900 700\n", "L\n",
       "<line x1=\"-0.50\" y1=\"0.00\" x2=\"100.00\" y2=\"200.00\" stroke-width=\"2\" "
       "stroke=\"black\"/>\n"},
      {"polyline keeps its readable vertices", "x\n1000 500\n1e999 1\n900 700\n", "M 3\n",
       "<polyline fill=\"none\" stroke=\"black\" stroke-width=\"2\" points=\" 0.00 0.00 100.00 "
       "200.00\"/>\n"},
      {"polyline with one readable vertex not written", "x\n1000 500\n- 1\n2 .\n", "M 3\n", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shapesOf(svgOf(c.vertices, c.shapes, boundsOf(1000, 700, 900, 500), 5)), c.elements)
        << c.name;
  }
}

// Every shape number, whatever path it takes, is the one a stream gives for the stream's double of
// the coordinate, placed and written with two decimals: generated lines and polylines with
// coordinates of every form a short coordinate can have, under bounds of every size.
TEST(WriteSvg, MatchesStreamOnGeneratedCoordinates) {
  std::mt19937_64 random(7);
  const auto pick = [&](std::uint64_t n) { return random() % n; };
  const char* const zeros[] = {"-0", "-0.0", "-0.00", "-.0", "+0", "0", "0.00", "-000.00"};
  const auto coordinate = [&]() {
    if (pick(10) == 0) return std::string(zeros[pick(8)]);
    std::string text = pick(4) == 0 ? "-" : pick(8) == 0 ? "+" : "";
    const std::uint64_t wholeDigits = pick(11);
    for (std::uint64_t i = 0; i < wholeDigits; ++i) text += static_cast<char>('0' + pick(10));
    if (wholeDigits == 0 || pick(3) != 0) {
      text += '.';
      const std::uint64_t decimals = wholeDigits == 0 ? 1 + pick(4) : pick(5);
      for (std::uint64_t i = 0; i < decimals; ++i) text += static_cast<char>('0' + pick(10));
    }
    return text;
  };
  const std::int32_t extremes[] = {0, 1, -1, 2147483647, -2147483647 - 1, 744159, -1043240};
  for (int round = 0; round < 200; ++round) {
    const auto bound = [&]() {
      return pick(3) == 0 ? extremes[pick(7)] : static_cast<std::int32_t>(pick(4000000)) - 2000000;
    };
    const Bounds bounds = boundsOf(bound(), 0, 0, bound());
    std::string vertices;
    std::string shapes;
    std::ostringstream expected;
    expected << std::fixed << std::setprecision(2);
    // The first round is long enough to run over several fills of the reader's buffer.
    for (int block = 0; block < (round == 0 ? 12000 : 20); ++block) {
      const std::uint64_t count = 2 + pick(4);
      vertices += "x\n";
      shapes += count == 2 ? "L\n" : "M " + std::to_string(count) + "\n";
      expected << (count == 2 ? "<line"
                              : "<polyline fill=\"none\" stroke=\"black\" "
                                "stroke-width=\"2\" points=\"");
      for (std::uint64_t v = 0; v < count; ++v) {
        const std::string first = coordinate();
        const std::string second = coordinate();
        vertices += first + " " + second + "\n";
        double a = 0;
        double b = 0;
        std::istringstream(first) >> a;
        std::istringstream(second) >> b;
        const double x = bounds.maxFirst - a;
        const double y = b - bounds.minSecond;
        if (count == 2) {
          expected << " x" << v + 1 << "=\"" << x << "\" y" << v + 1 << "=\"" << y << "\"";
        } else {
          expected << " " << x << " " << y;
        }
      }
      expected << (count == 2 ? " stroke-width=\"2\" stroke=\"black\"/>\n" : "\"/>\n");
    }
    ASSERT_EQ(shapesOf(svgOf(vertices, shapes, bounds, 1)), expected.str()) << vertices;
  }
}

}  // namespace
}  // namespace lines2svg
