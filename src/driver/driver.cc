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

// The message for each failure, in the order of Outcome.
constexpr const char* kMessages[] = {
    "",
    "!!! Vstupni soubor neexistuje !!!",
    "!!! Vstupni soubor by byl prepsan !!!",
    "!!! Vystupni soubor nelze vytvorit !!!",
    "!!! Vstupni soubor nelze precist !!!",
    "!!! Nedostatek pameti !!!",
};

static_assert(sizeof kMessages / sizeof kMessages[0] == static_cast<int>(Outcome::kOutOfMemory) + 1,
              "one message for each outcome");

// Shows the message for a failure and keeps the console open until one more character is typed,
// so that a console window opened just for this run does not close before the message is read.
int stopWith(Outcome outcome, NameInput& input, std::ostream& console) {
  console << kMessages[static_cast<int>(outcome)] << std::flush;
  input.waitForKey();
  return 0;
}

// Lets `pass` write the named file, which then joins the taken files; `written` tells what it
// holds.
template <typename Pass>
Outcome writeOutput(const NativeName& name, TakenFiles* taken, WrittenFile* written, Pass pass) {
  OutputFile file(name, *taken);
  std::ostream out(&file);
  pass(out);
  const Outcome outcome = file.close(written);
  taken->add(written->identity);
  return outcome;
}

// One of the program's own files, opened again to be read.
struct ReadBack {
  InputFile file;
  std::istream stream{&file};
  bool opened;

  ReadBack(const NativeName& name, const WrittenFile& written)
      : opened(file.openWritten(name, written)) {}

  // How reading it went: a file that cannot be read back is one that could not be written.
  Outcome outcome() const {
    return opened && !file.failed() ? Outcome::kDone : Outcome::kCannotWriteOutput;
  }
};

// Pass 1: the drawing's line objects into the vertex file.
Outcome extract(InputFile& drawingFile, const NativeName& name, TakenFiles* taken,
                WrittenFile* vertices) {
  std::istream drawing(&drawingFile);
  const Outcome outcome = writeOutput(name, taken, vertices,
                                      [&](std::ostream& out) { extractLineObjects(drawing, out); });
  return drawingFile.failed() ? Outcome::kCannotReadInput : outcome;
}

// Pass 2: the vertex file's blocks into the shape file.
Outcome classify(const OutputNames& names, const WrittenFile& vertices, TakenFiles* taken,
                 WrittenFile* shapes) {
  ReadBack in(names.vertices, vertices);
  if (!in.opened) return Outcome::kCannotWriteOutput;
  const Outcome outcome = writeOutput(names.shapes, taken, shapes,
                                      [&](std::ostream& out) { classifyBlocks(in.stream, out); });
  return outcome == Outcome::kDone ? in.outcome() : outcome;
}

// Pass 3: the bounds of the vertex file's vertices.
Outcome measure(const NativeName& name, const WrittenFile& vertices, Bounds* bounds) {
  ReadBack in(name, vertices);
  if (in.opened) *bounds = computeBounds(in.stream);
  return in.outcome();
}

// Pass 4: the SVG file from the vertex and shape files.
Outcome draw(const OutputNames& names, const WrittenFile& vertices, const WrittenFile& shapes,
             const Bounds& bounds, TakenFiles* taken) {
  ReadBack vertexIn(names.vertices, vertices);
  ReadBack shapeIn(names.shapes, shapes);
  if (!vertexIn.opened || !shapeIn.opened) return Outcome::kCannotWriteOutput;
  WrittenFile svg;
  const Outcome outcome = writeOutput(names.svg, taken, &svg, [&](std::ostream& out) {
    writeSvg(vertexIn.stream, shapeIn.stream, out, bounds, scaleBarLength(bounds));
  });
  if (outcome != Outcome::kDone) return outcome;
  return vertexIn.outcome() == Outcome::kDone ? shapeIn.outcome() : vertexIn.outcome();
}

// Opens the drawing and names the outputs after it; kDone if it may be converted.
Outcome openDrawing(const NativeName& typed, InputFile* file, FileIdentity* drawing,
                    OutputNames* names) {
  if (const Outcome opened = file->open(typed); opened != Outcome::kDone) return opened;
  // The outputs are named after the drawing's name as the system opened it.
  NativeName opened = longName(typed);
  dropTrailingDotsAndSpaces(opened);
  if (hasOutputExtension<NativeName::value_type>(opened)) return Outcome::kInputWouldBeOverwritten;
  *names = outputNames(opened);
  FileFacts facts;
  if (!file->facts(&facts)) return Outcome::kCannotWriteOutput;
  *drawing = facts.identity;
  return checkOutputs(*drawing, *names);
}

// The dialogue, step by step.
int converse(NameInput& input, std::ostream& console) {
  // 1. The prompt, on the line where the name is typed.
  console << kPrompt << std::flush;
  // 2. The name: one word, or on Windows a quoted path.
  NativeName typed;
  if (!input.readName(&typed)) return stopWith(Outcome::kMissingInput, input, console);
  // 3 and 4. The drawing, and the outputs' names, refused before anything is written.
  InputFile drawingFile;
  FileIdentity drawing;
  OutputNames names;
  Outcome outcome = openDrawing(typed, &drawingFile, &drawing, &names);
  if (outcome != Outcome::kDone) return stopWith(outcome, input, console);
  // 5. The progress word, shown while the passes run.
  console << kWorking << std::flush;
  // 6 to 9. The four passes.
  outcome = convertDrawing(drawingFile, drawing, names);
  // 10. A run that succeeded ends without waiting.
  return outcome == Outcome::kDone ? 0 : stopWith(outcome, input, console);
}

// Memory set aside at the start and given back when an allocation fails, just before
// std::bad_alloc is thrown, so that the exception can be allocated and the failure reported. Taking
// it also tells, before anything is thrown, whether there is memory at all. Measured with `ulimit
// -v` from 4000 to 12000 KiB and with a malloc that fails from its nth call on: without it, five
// limits and a malloc failing from its first call end in std::terminate (status 134), because
// the C++ runtime could not set aside its own memory for exceptions either.
void* memoryReserve = nullptr;

void releaseMemoryReserve() {
  std::free(memoryReserve);
  memoryReserve = nullptr;
  std::set_new_handler(nullptr);
  throw std::bad_alloc();
}

}  // namespace

Outcome convertDrawing(InputFile& drawingFile, const FileIdentity& drawing,
                       const OutputNames& names) {
  TakenFiles taken;
  taken.add(drawing);
  WrittenFile vertices;
  WrittenFile shapes;
  Bounds bounds;
  Outcome outcome = extract(drawingFile, names.vertices, &taken, &vertices);
  if (outcome == Outcome::kDone) outcome = classify(names, vertices, &taken, &shapes);
  if (outcome == Outcome::kDone) outcome = measure(names.vertices, vertices, &bounds);
  if (outcome == Outcome::kDone) outcome = draw(names, vertices, shapes, bounds, &taken);
  return outcome;
}

int runConversion(NameInput& input, std::ostream& console) {
  // The one place an allocation failure arrives: every file is closed on the way here, and each
  // pass took its buffers before its output was opened, so no old output has been emptied.
  try {
    return converse(input, console);
  } catch (const std::bad_alloc&) {
    return stopWith(Outcome::kOutOfMemory, input, console);
  }
}

int runConversion() {
  ignoreBrokenPipes();
  StreamNameInput piped(std::cin);
  NameInput* console = consoleNameInput();
  NameInput& input = console != nullptr ? *console : piped;
  constexpr std::size_t kReserveSize = std::size_t{64} * 1024;
  memoryReserve = std::malloc(kReserveSize);
  if (memoryReserve == nullptr) {
    std::cout << kPrompt;
    return stopWith(Outcome::kOutOfMemory, input, std::cout);
  }
  std::set_new_handler(releaseMemoryReserve);
  const int status = runConversion(input, std::cout);
  std::set_new_handler(nullptr);
  std::free(memoryReserve);
  memoryReserve = nullptr;
  return status;
}

}  // namespace lines2svg
