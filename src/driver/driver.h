#ifndef LINES2SVG_DRIVER_DRIVER_H_
#define LINES2SVG_DRIVER_DRIVER_H_

#include <istream>
#include <ostream>

#include "driver/file_names.h"
#include "driver/name_input.h"

namespace lines2svg {

// The console dialogue and the whole conversion: asks for the drawing's name on `consoleOut`,
// reads it from `input`, and writes the vertex, shape and SVG files beside the drawing. A missing
// drawing, a drawing the outputs would overwrite, a drawing that cannot be read, an output that
// cannot be written or read back, or a lack of memory is reported, after which it waits for one
// more character. Nothing is written before the outputs are known to be three files of their own,
// none of them the drawing. No exception leaves it. Returns the exit status, always 0.
int runConversion(NameInput& input, std::ostream& consoleOut);

// How the passes over one drawing ended.
enum class Outcome {
  kDone,
  // Reading the drawing failed after it opened.
  kCannotReadInput,
  // A written file could not be created, written, or opened and read back in full.
  kCannotWriteOutput,
  // Memory ran out.
  kOutOfMemory,
};

// Runs the four passes from the open drawing into the three named files, and stops at the first
// failure. No exception leaves it. Each file the program reads back must give exactly the bytes
// it was written with.
Outcome convertDrawing(std::istream& drawing, const OutputNames& names);

// runConversion with the name read from a byte stream.
int runConversion(std::istream& consoleIn, std::ostream& consoleOut);

// The program itself: runConversion on standard input and standard output; on Windows, a
// console's input is read as Unicode.
int runConversion();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_DRIVER_H_
