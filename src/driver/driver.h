#ifndef LINES2SVG_DRIVER_DRIVER_H_
#define LINES2SVG_DRIVER_DRIVER_H_

#include <istream>
#include <ostream>

#include "driver/file_names.h"
#include "driver/name_input.h"

namespace lines2svg {

// The console dialogue and the whole conversion: asks for the drawing's name on `consoleOut`,
// reads it from `input`, and writes the vertex, shape and SVG files beside the drawing. A missing
// drawing, a drawing the outputs would overwrite, a drawing that cannot be read, or an output that
// cannot be written or read back is reported, after which it waits for one more character. No
// exception leaves it. Returns the exit status, always 0.
int runConversion(NameInput& input, std::ostream& consoleOut);

// How the passes over one drawing ended.
enum class Outcome {
  kDone,
  // Reading the drawing failed after it opened.
  kCannotReadInput,
  // A written file could not be created, written, or opened and read back in full.
  kCannotWriteOutput,
};

// Runs the four passes from the open drawing into the three named files, and stops at the first
// failure. No exception leaves it: an allocation failure is reported as the step it stopped.
Outcome convertDrawing(std::istream& drawing, const OutputNames& names);

// runConversion with the name read from a byte stream.
int runConversion(std::istream& consoleIn, std::ostream& consoleOut);

// The program itself: runConversion on standard input and standard output; on Windows, a
// console's input is read as Unicode.
int runConversion();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_DRIVER_H_
