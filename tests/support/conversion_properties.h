#ifndef LINES2SVG_TESTS_SUPPORT_CONVERSION_PROPERTIES_H_
#define LINES2SVG_TESTS_SUPPORT_CONVERSION_PROPERTIES_H_

#include <string>
#include <string_view>

namespace lines2svg {

// The files of one conversion, made by the four passes on in-memory streams.
struct Conversion {
  std::string vertices;
  std::string shapes;
  std::string svg;
};

// Runs the four passes on `drawing` as the driver does.
Conversion convertInMemory(std::string_view drawing);

// Checks what must hold for every drawing, whatever its bytes: vertex lines are "x" or two tokens
// one space apart (but for a last line holding one coordinate longer than 256 KiB, from a record
// cut short by the end of the drawing, which was copied before the end showed); the shape file has
// one line for each block of 2, 4 or more tokens; the SVG has the fixed header, is well-formed,
// ends with "</svg>", and holds one element per drawable shape plus the six of the furniture. The
// expectations are worked out with the stream's own token and number extraction, independently of
// the program's scanner. Returns what failed, or nothing.
std::string checkConversion(std::string_view drawing);

}  // namespace lines2svg

#endif  // LINES2SVG_TESTS_SUPPORT_CONVERSION_PROPERTIES_H_
