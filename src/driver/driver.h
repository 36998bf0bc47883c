#ifndef LINES2SVG_DRIVER_DRIVER_H_
#define LINES2SVG_DRIVER_DRIVER_H_

#include <istream>
#include <ostream>

#include "driver/name_input.h"

namespace lines2svg {

// The console dialogue and the whole conversion: asks for the drawing's name on `consoleOut`,
// reads it from `input`, and writes the vertex, shape and SVG files beside the drawing. A missing
// drawing, a drawing the outputs would overwrite, or an output that cannot be written is
// reported, after which it waits for one more character. Returns the exit status, always 0.
int runConversion(NameInput& input, std::ostream& consoleOut);

// runConversion with the name read from a byte stream.
int runConversion(std::istream& consoleIn, std::ostream& consoleOut);

// The program itself: runConversion on standard input and standard output; on Windows, a
// console's input is read as Unicode.
int runConversion();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_DRIVER_H_
