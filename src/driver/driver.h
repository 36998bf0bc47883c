#ifndef LINES2SVG_DRIVER_DRIVER_H_
#define LINES2SVG_DRIVER_DRIVER_H_

#include <istream>
#include <ostream>

#include "driver/file_names.h"
#include "driver/files.h"
#include "driver/name_input.h"

namespace lines2svg {

// The console dialogue and the whole conversion: asks for the drawing's name on `console`,
// reads it from `input`, and writes the vertex, shape and SVG files beside the drawing. A missing
// drawing, a drawing the outputs would overwrite, a drawing that cannot be read, an output that
// cannot be written or read back, or a lack of memory is reported, after which it waits for one
// more character. Nothing is written before the outputs are known to be plain files of their
// own, none of them the drawing. Returns the exit status, always 0.
int runConversion(NameInput& input, std::ostream& console);

// Runs the four passes from the open drawing, whose identity is `drawing`, into the three named
// files, and stops at the first failure. Each file read back must be the one written, whole.
Outcome convertDrawing(InputFile& drawingFile, const FileIdentity& drawing,
                       const OutputNames& names);

// The program itself: runConversion on standard input and standard output; on Windows, a
// console's input is read as Unicode.
int runConversion();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_DRIVER_H_
