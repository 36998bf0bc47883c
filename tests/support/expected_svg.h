#ifndef LINES2SVG_TESTS_SUPPORT_EXPECTED_SVG_H_
#define LINES2SVG_TESTS_SUPPORT_EXPECTED_SVG_H_

#include <string>

namespace lines2svg {

// The first four lines of every SVG document, up to the view box.
inline const char kSvgHeader[] =
    "<?xml version=\"1.0\" standalone=\"no\"?>\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\"\n"
    "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
    "<svg width=\"800px\" height=\"600px\" version=\"1.1\"\n";

// The whole document for bounds 1000/900 (first) and 700/500 (second), and so a 5 m scale bar,
// with `shapes` between the header and the furniture.
inline std::string documentFor1000By700(const std::string& shapes) {
  return std::string(kSvgHeader) +
         "viewBox=\"0 0 101.00 220.00\" preserveAspectRatio=\"none\"\n"
         "xmlns=\"http://www.w3.org/2000/svg\">\n" +
         shapes +
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
}

}  // namespace lines2svg

#endif  // LINES2SVG_TESTS_SUPPORT_EXPECTED_SVG_H_
