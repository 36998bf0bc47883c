#ifndef LINES2SVG_DRIVER_DRIVER_H_
#define LINES2SVG_DRIVER_DRIVER_H_

#include <istream>
#include <ostream>

#include "driver/file_names.h"
#include "driver/files.h"
#include "driver/name_input.h"
#include "driver/platform.h"
#include "passes/passes.h"

namespace lines2svg {

// One conversion, from the typed name to the last byte of the picture. It holds the drawing's
// folder, the drawing and the three outputs, each opened once and kept to the end; every other
// file of the run is reached through the folder. A name is looked up again only to ask whether it
// still leads to the file held, whether a refused output's name leads to the drawing (to choose
// the message), and to remove a file the run created and never wrote.
class Run {
 public:
  // `drawing` reads the drawing once it is open: a PassFile, or a stand-in in tests.
  explicit Run(PassFile& drawing) : drawingReader_(drawing) {}
  // Opens the drawing and its folder, and names the outputs after the drawing; a drawing with an
  // output's extension is kInputWouldBeOverwritten.
  Outcome open(const NativeName& typed);
  // Claims every output, creating those that are absent: kDone when each is a plain file of its
  // own that is not the drawing, kInputWouldBeOverwritten when one is the drawing or a link to it,
  // and otherwise the first failure.
  Outcome claimOutputs();
  // Runs the four passes, each output written by its own and read back whole through its
  // handle, and stops at the first failure; then closes the outputs.
  Outcome convert();

 private:
  Folder folder_;
  HeldFile drawing_;
  FileFacts drawingFacts_;
  PassFile& drawingReader_;
  OutputNames names_;
  Output vertices_;
  Output shapes_;
  Output svg_;
};

// The console dialogue and the whole conversion: asks for the drawing's name on `console`,
// reads it from `input`, and writes the vertex, shape and SVG files beside the drawing. A missing
// drawing, a drawing the outputs would overwrite, a drawing that cannot be read or changed while
// it was read, an output that cannot be written or read back, or a lack of memory is reported,
// after which it waits for one more character. Nothing is written before every output is held
// and known to be a plain file of its own, none of them the drawing.
void runDialogue(NameInput& input, std::ostream& console);

// The program itself: runDialogue on the standard input and output; returns 0.
int runConversion();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_DRIVER_H_
