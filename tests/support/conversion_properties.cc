#include "support/conversion_properties.h"

#include <sstream>
#include <vector>

#include "passes/passes.h"
#include "support/expected_svg.h"
#include "svg/svg_writer.h"
#include "text/buffer_size.h"

namespace lines2svg {

namespace {

bool isSeparator(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isPlainToken(std::string_view token) {
  if (token.empty()) return false;
  for (char c : token) {
    if (isSeparator(c)) return false;
  }
  return true;
}

std::size_t count(std::string_view text, std::string_view piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string_view::npos;
       at = text.find(piece, at + 1)) {
    ++n;
  }
  return n;
}

// The vertex file's blocks as the stream's string extraction splits them: the first token opens
// the first block, every later "x" the next.
std::vector<std::vector<std::string>> blocksOf(const std::string& vertices) {
  std::vector<std::vector<std::string>> blocks;
  std::istringstream in(vertices);
  std::string token;
  if (!(in >> token)) return blocks;
  blocks.emplace_back();
  while (in >> token) {
    if (token == "x") {
      blocks.emplace_back();
    } else {
      blocks.back().push_back(token);
    }
  }
  return blocks;
}

bool readable(const std::string& token) {
  std::istringstream in(token);
  double value;
  return static_cast<bool>(in >> value);
}

// Checks that the document after its prolog is a single well-formed element tree of the kind the
// writer produces: elements with quoted attributes, and text without markup characters.
std::string wellFormed(std::string_view svg) {
  std::size_t at = svg.find("<svg ");
  std::vector<std::string_view> open;
  while (at < svg.size()) {
    if (svg[at] != '<') {
      std::size_t next = svg.find('<', at);
      if (next == std::string_view::npos) return "text after the last tag";
      if (svg.substr(at, next - at).find('&') != std::string_view::npos) return "'&' in text";
      at = next;
      continue;
    }
    if (svg.compare(at, 2, "</") == 0) {
      std::size_t close = svg.find('>', at);
      if (close == std::string_view::npos || open.empty() ||
          svg.substr(at + 2, close - at - 2) != open.back()) {
        return "closing tag does not match";
      }
      open.pop_back();
      at = close + 1;
      if (open.empty()) return at == svg.size() ? "" : "content after the root element";
      continue;
    }
    std::size_t name = at + 1;
    std::size_t p = name;
    while (p < svg.size() && svg[p] != ' ' && svg[p] != '\n' && svg[p] != '>' && svg[p] != '/') ++p;
    std::string_view element = svg.substr(name, p - name);
    // Attributes: name="value", separated by white space.
    for (;;) {
      while (p < svg.size() && (svg[p] == ' ' || svg[p] == '\n')) ++p;
      if (p >= svg.size()) return "unterminated tag";
      if (svg[p] == '>' || svg.compare(p, 2, "/>") == 0) break;
      std::size_t equals = svg.find("=\"", p);
      std::size_t end = equals == std::string_view::npos ? equals : svg.find('"', equals + 2);
      if (end == std::string_view::npos) return "bad attribute";
      std::string_view value = svg.substr(equals + 2, end - equals - 2);
      if (value.find_first_of("<&") != std::string_view::npos) return "markup in an attribute";
      p = end + 1;
    }
    if (svg[p] == '>') {
      open.push_back(element);
      at = p + 1;
    } else {
      at = p + 2;
    }
  }
  return "root element not closed";
}

}  // namespace

Conversion convertInMemory(std::string_view drawing) {
  Conversion c;
  std::istringstream drawingIn{std::string(drawing)};
  std::ostringstream vertexOut;
  extractLineObjects(drawingIn, vertexOut);
  c.vertices = vertexOut.str();
  std::istringstream vertexIn(c.vertices);
  std::ostringstream shapeOut;
  classifyBlocks(vertexIn, shapeOut);
  c.shapes = shapeOut.str();
  std::istringstream boundsIn(c.vertices);
  Bounds bounds = computeBounds(boundsIn);
  std::istringstream svgVertexIn(c.vertices);
  std::istringstream shapeIn(c.shapes);
  std::ostringstream svgOut;
  writeSvg(svgVertexIn, shapeIn, svgOut, bounds, scaleBarLength(bounds));
  c.svg = svgOut.str();
  return c;
}

std::string checkConversion(std::string_view drawing) {
  const Conversion c = convertInMemory(drawing);

  if (!c.vertices.empty() && c.vertices.back() != '\n') return "vertex file lacks a final newline";
  std::istringstream lines(c.vertices);
  for (std::string line; std::getline(lines, line);) {
    std::size_t space = line.find(' ');
    bool vertex = space != std::string::npos && isPlainToken(line.substr(0, space)) &&
                  isPlainToken(line.substr(space + 1));
    const bool longLastCoordinate = lines.peek() == std::char_traits<char>::eof() &&
                                    line.size() > kIoBufferSize && isPlainToken(line);
    if (line != "x" && !vertex && !longLastCoordinate) {
      return "bad vertex line '" + line.substr(0, 100) + "'";
    }
  }

  std::string shapes;
  std::size_t lineElements = 0;
  std::size_t polylines = 0;
  for (const std::vector<std::string>& block : blocksOf(c.vertices)) {
    const std::size_t n = block.size();
    std::size_t drawable = 0;
    for (std::size_t i = 0; i + 1 < n; i += 2)
      drawable += readable(block[i]) && readable(block[i + 1]);
    if (n == 2) {
      shapes += "P\n";
    } else if (n == 4) {
      shapes += "L\n";
      lineElements += drawable == 2;
    } else if (n > 4) {
      shapes += "M " + std::to_string(n / 2) + "\n";
      polylines += drawable >= 2;
    }
  }
  if (c.shapes != shapes) return "shape file differs from the blocks: '" + c.shapes + "'";

  if (c.svg.rfind(kSvgHeader, 0) != 0) return "SVG header differs";
  if (c.svg.size() < 6 || c.svg.compare(c.svg.size() - 6, 6, "</svg>") != 0) {
    return "SVG does not end with </svg>";
  }
  if (std::string problem = wellFormed(c.svg); !problem.empty()) return "SVG: " + problem;
  if (count(c.svg, "stroke-width=\"2\" stroke=\"black\"/>") != lineElements) return "line count";
  if (count(c.svg, "<polyline ") != polylines) return "polyline count";
  if (count(c.svg, "stroke-width=\"5\"") != 4 || count(c.svg, "<text ") != 2) return "furniture";
  return "";
}

}  // namespace lines2svg
