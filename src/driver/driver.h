#ifndef LINES2SVG_DRIVER_DRIVER_H_
#define LINES2SVG_DRIVER_DRIVER_H_

#include <ostream>

#include "driver/files.h"
#include "driver/name_input.h"

namespace lines2svg {

// The three files a run writes, in the drawing's folder, checked before the passes run.
struct Outputs {
  // The outputs named in `names`, in `folder`, none of which may be the drawing `drawing`.
  Outputs(const Folder& folder, const OutputNames& names, const FileIdentity& drawing)
      : vertices(folder, names.vertices, &taken, 1),
        shapes(folder, names.shapes, &taken, 2),
        svg(folder, names.svg, &taken, 3) {
    taken.set(TakenFiles::kDrawing, drawing);
  }

  TakenFiles taken;
  OutputFile vertices;
  OutputFile shapes;
  OutputFile svg;
};

// The console dialogue and the whole conversion: asks for the drawing's name on `console`,
// reads it from `input`, and writes the vertex, shape and SVG files beside the drawing. A missing
// drawing, a drawing the outputs would overwrite, a drawing that cannot be read, an output that
// cannot be written or read back, or a lack of memory is reported, after which it waits for one
// more character. Nothing is written before every existing output is known to be a plain file of
// its own that may be written, none of them the drawing.
void runConversion(NameInput& input, std::ostream& console);

// Runs the four passes from the open drawing into the outputs in `folder`, and stops at the first
// failure. Each file read back must be the one written, whole.
Outcome convertDrawing(InputFile& drawingFile, const Folder& folder, Outputs& outputs);

// The program itself: runConversion on standard input and standard output; on Windows, a
// console's input is read as Unicode. Returns the exit status, always 0.
int runConversion();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_DRIVER_H_
