#ifndef LINES2SVG_DRIVER_DRIVER_H_
#define LINES2SVG_DRIVER_DRIVER_H_

#include <ostream>

#include "driver/file_names.h"
#include "driver/files.h"
#include "driver/name_input.h"
#include "passes/passes.h"

namespace lines2svg {

// One conversion, from the typed name to the last byte of the picture. It holds the drawing's
// folder, the drawing and the three outputs, each opened once and kept to the end; every other
// file of the run is reached through the folder, and no file is met twice by name, except to ask
// whether the name still leads to the file held.
class Run {
 public:
  // `drawing` reads the drawing once it is open: an InputFile, or a stand-in in tests.
  explicit Run(InputFile& drawing) : drawing_(drawing) {}

  // Opens the drawing and its folder, and names the outputs after the drawing: kDone, or
  // kMissingInput, kCannotReadInput or kInputWouldBeOverwritten (a drawing with an output's
  // extension).
  Outcome open(const NativeName& typed);

  // Opens every output, creating those that are absent, and checks each on its handle: kDone when
  // each is a plain file of its own that is not the drawing, kInputWouldBeOverwritten when one
  // is the drawing or a link to it, kCannotWriteOutput otherwise.
  Outcome claimOutputs();

  // Runs the four passes, each output written by its own and read back whole through its
  // handle, and stops at the first failure; then closes the outputs.
  Outcome convert();

 private:
  // Lets `pass` write `output`.
  template <typename Pass>
  Outcome write(OutputFile& output, Pass pass);

  // Pass 1: the drawing's line objects into the vertex file, and the drawing checked unchanged.
  Outcome extract();
  // Pass 2: the vertex file's blocks into the shape file.
  Outcome classify();
  // Pass 3: the bounds of the vertex file's vertices.
  Outcome measure(Bounds* bounds);
  // Pass 4: the SVG file from the vertex and shape files.
  Outcome draw(const Bounds& bounds);

  HeldHandle folder_;
  HeldHandle drawingFile_;
  FileFacts drawingFacts_;
  InputFile& drawing_;
  OutputNames names_;
  OutputFile vertices_;
  OutputFile shapes_;
  OutputFile svg_;
};

// The console dialogue and the whole conversion: asks for the drawing's name on `console`,
// reads it from `input`, and writes the vertex, shape and SVG files beside the drawing. A missing
// drawing, a drawing the outputs would overwrite, a drawing that cannot be read or changed while
// it was read, an output that cannot be written or read back, or a lack of memory is reported,
// after which it waits for one more character. Nothing is written before every output is held
// and known to be a plain file of its own, none of them the drawing.
void runConversion(NameInput& input, std::ostream& console);

// The program itself: runConversion on standard input and standard output; on Windows, a
// console's input is read as Unicode. Returns the exit status, always 0.
int runConversion();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_DRIVER_H_
