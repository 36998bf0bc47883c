// The console dialogue and the conversion of one drawing.
#include "driver/driver.h"

#include <cstdlib>
#include <iostream>
#include <new>

#include "passes/passes.h"
#include "svg/svg_writer.h"

namespace lines2svg {

namespace {

constexpr char kPrompt[] = "Zadej nazev souboru: ";
constexpr char kWorking[] = "Pracuji...";

// The memory a MemoryReserve holds, where its new-handler finds it.
void* memoryReserve = nullptr;

// Memory set aside for the run, so that running out can be reported: when an allocation fails,
// the reserve is given back and std::bad_alloc thrown, and the message and the wait have memory
// to run in. Measured with `ulimit -v` from 4000 to 12000 KiB and with a malloc that fails from
// its nth call on: without it, five limits and a malloc failing from its first call end in
// std::terminate (status 134), because the C++ runtime could not set aside its own memory for
// exceptions either; for the same reason, a reserve that cannot be taken is not thrown.
class MemoryReserve {
 public:
  MemoryReserve() {
    memoryReserve = std::malloc(kSize);
    if (memoryReserve != nullptr) std::set_new_handler(giveBackAndFail);
  }
  MemoryReserve(const MemoryReserve&) = delete;
  MemoryReserve& operator=(const MemoryReserve&) = delete;
  ~MemoryReserve() {
    std::set_new_handler(nullptr);
    std::free(memoryReserve);
    memoryReserve = nullptr;
  }

  // False when there was no memory to set aside.
  bool held() const { return memoryReserve != nullptr; }

 private:
  static constexpr std::size_t kSize = std::size_t{64} * 1024;

  // The new-handler: frees the reserve and makes the failed allocation throw.
  static void giveBackAndFail() {
    std::free(memoryReserve);
    memoryReserve = nullptr;
    std::set_new_handler(nullptr);
    throw std::bad_alloc();
  }
};

// Shows the message for a failure and keeps the console open until one more character is typed,
// so that a console window opened just for this run does not close before the message is read.
void stopWith(Outcome outcome, NameInput& input, std::ostream& console) {
  console << messageFor(outcome) << std::flush;
  input.waitForKey();
}

// Opens the drawing and its folder, names the outputs after it and checks them: kDone when it may
// be converted, with every existing output held for writing.
Outcome openDrawing(const NativeName& typed, Folder* folder, InputFile* drawingFile,
                    OutputNames* names, FileIdentity* drawing) {
  NativeName opened;
  if (const Outcome outcome = drawingFile->openDrawing(typed, folder, &opened);
      outcome != Outcome::kDone) {
    return outcome;
  }
  if (hasOutputExtension<NativeName::value_type>(opened)) return Outcome::kInputWouldBeOverwritten;
  *names = outputNames(opened);
  // Without the drawing's identity no output can be shown not to be the drawing, so none may be
  // written.
  FileFacts facts;
  if (!drawingFile->facts(&facts)) return Outcome::kCannotWriteOutput;
  *drawing = facts.identity;
  return checkOutputs(*folder, *drawing, *names);
}

// Holds every output that exists for writing, so that one that cannot be written is reported
// before anything is.
Outcome holdOutputs(Outputs& outputs) {
  for (OutputFile* output : {&outputs.vertices, &outputs.shapes, &outputs.svg}) {
    if (const Outcome outcome = output->holdIfExists(); outcome != Outcome::kDone) return outcome;
  }
  return Outcome::kDone;
}

// Lets `pass` write `output`; `written` tells what it holds.
template <typename Pass>
Outcome writeOutput(OutputFile& output, WrittenFile* written, Pass pass) {
  std::ostream out(&output);
  pass(out);
  return output.close(written);
}

// One of the program's own files, opened again to be read.
struct ReadBack {
  InputFile file;
  std::istream stream{&file};
  Outcome opening;

  ReadBack(const Folder& folder, const OutputFile& output, const WrittenFile& written)
      : opening(file.openWritten(folder, output.name(), written)) {}

  // How reading it went, once its pass is done.
  Outcome outcome() { return opening == Outcome::kDone ? file.readBackOutcome() : opening; }
};

// The first failure of a step made of several.
Outcome firstFailure(std::initializer_list<Outcome> outcomes) {
  for (const Outcome outcome : outcomes) {
    if (outcome != Outcome::kDone) return outcome;
  }
  return Outcome::kDone;
}

// Pass 1: the drawing's line objects into the vertex file.
Outcome extract(InputFile& drawingFile, Outputs& outputs, WrittenFile* vertices) {
  std::istream drawing(&drawingFile);
  const Outcome outcome = writeOutput(outputs.vertices, vertices,
                                      [&](std::ostream& out) { extractLineObjects(drawing, out); });
  return drawingFile.failed() ? Outcome::kCannotReadInput : outcome;
}

// Pass 2: the vertex file's blocks into the shape file.
Outcome classify(const Folder& folder, Outputs& outputs, const WrittenFile& vertices,
                 WrittenFile* shapes) {
  ReadBack in(folder, outputs.vertices, vertices);
  if (in.opening != Outcome::kDone) return in.opening;
  const Outcome outcome = writeOutput(outputs.shapes, shapes,
                                      [&](std::ostream& out) { classifyBlocks(in.stream, out); });
  return firstFailure({outcome, in.outcome()});
}

// Pass 3: the bounds of the vertex file's vertices.
Outcome measure(const Folder& folder, const Outputs& outputs, const WrittenFile& vertices,
                Bounds* bounds) {
  ReadBack in(folder, outputs.vertices, vertices);
  if (in.opening != Outcome::kDone) return in.opening;
  *bounds = computeBounds(in.stream);
  return in.outcome();
}

// Pass 4: the SVG file from the vertex and shape files.
Outcome draw(const Folder& folder, Outputs& outputs, const WrittenFile& vertices,
             const WrittenFile& shapes, const Bounds& bounds) {
  ReadBack vertexIn(folder, outputs.vertices, vertices);
  ReadBack shapeIn(folder, outputs.shapes, shapes);
  if (const Outcome opening = firstFailure({vertexIn.opening, shapeIn.opening});
      opening != Outcome::kDone) {
    return opening;
  }
  WrittenFile svg;
  const Outcome outcome = writeOutput(outputs.svg, &svg, [&](std::ostream& out) {
    writeSvg(vertexIn.stream, shapeIn.stream, out, bounds, scaleBarLength(bounds));
  });
  return firstFailure({outcome, vertexIn.outcome(), shapeIn.outcome()});
}

// The dialogue, step by step, up to its outcome.
Outcome converse(NameInput& input, std::ostream& console) {
  // 1. The prompt, on the line where the name is typed, and memory set aside for the run.
  console << kPrompt << std::flush;
  const MemoryReserve reserve;
  if (!reserve.held()) return Outcome::kOutOfMemory;
  // 2. The name: one word, or on Windows a quoted path.
  NativeName typed;
  if (!input.readName(&typed)) return Outcome::kMissingInput;
  // 3 and 4. The drawing in its folder, and the outputs, checked and held before anything is
  // written.
  Folder folder;
  InputFile drawingFile;
  OutputNames names;
  FileIdentity drawing;
  Outcome outcome = openDrawing(typed, &folder, &drawingFile, &names, &drawing);
  if (outcome != Outcome::kDone) return outcome;
  Outputs outputs(folder, names, drawing);
  outcome = holdOutputs(outputs);
  if (outcome != Outcome::kDone) return outcome;
  // 5. The progress word, shown while the passes run.
  console << kWorking << std::flush;
  // 6 to 9. The four passes.
  return convertDrawing(drawingFile, folder, outputs);
}

}  // namespace

Outcome convertDrawing(InputFile& drawingFile, const Folder& folder, Outputs& outputs) {
  WrittenFile vertices;
  WrittenFile shapes;
  Bounds bounds;
  Outcome outcome = extract(drawingFile, outputs, &vertices);
  if (outcome == Outcome::kDone) outcome = classify(folder, outputs, vertices, &shapes);
  if (outcome == Outcome::kDone) outcome = measure(folder, outputs, vertices, &bounds);
  if (outcome == Outcome::kDone) outcome = draw(folder, outputs, vertices, shapes, bounds);
  return outcome;
}

void runConversion(NameInput& input, std::ostream& console) {
  Outcome outcome;
  // A lack of memory in an allocation or in the system arrives here as std::bad_alloc and becomes
  // an outcome like any other. Every file is closed on the way here, and each pass took its
  // buffers before its output was emptied, so no old output has been lost.
  try {
    outcome = converse(input, console);
  } catch (const std::bad_alloc&) {
    outcome = Outcome::kOutOfMemory;
  }
  // 10. A run that succeeded ends without waiting.
  if (outcome != Outcome::kDone) stopWith(outcome, input, console);
}

int runConversion() {
  reportFailedWritesAsErrors();
  StreamNameInput piped(std::cin, readPipedName);
  NameInput* console = consoleNameInput();
  runConversion(console != nullptr ? *console : piped, std::cout);
  return 0;
}

}  // namespace lines2svg
