// The console dialogue and the conversion of one drawing, in the order a run takes them.
#include "driver/driver.h"

#include <cstdlib>
#include <iostream>
#include <new>

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

// The first failure of a step made of several.
Outcome firstFailure(std::initializer_list<Outcome> outcomes) {
  for (const Outcome outcome : outcomes) {
    if (outcome != Outcome::kDone) return outcome;
  }
  return Outcome::kDone;
}

}  // namespace

Outcome Run::open(const NativeName& typed) {
  NativeName opened;
  if (const Outcome outcome = openDrawing(typed, &folder_.handle, &drawingFile_.handle, &opened);
      outcome != Outcome::kDone) {
    return outcome;
  }
  if (hasOutputExtension<NativeName::value_type>(opened)) return Outcome::kInputWouldBeOverwritten;
  // Without the drawing's identity no output can be shown not to be the drawing.
  if (!factsOf(drawingFile_.handle, &drawingFacts_)) return Outcome::kCannotReadInput;
  drawing_.start(drawingFile_.handle, Outcome::kCannotReadInput);
  names_ = outputNames(opened, hostPathStyle());
  return Outcome::kDone;
}

Outcome Run::claimOutputs() {
  // Every output is claimed, so that one reaching the drawing is told as such whichever output
  // it is; any file created on the way is removed again if the run stops here.
  Outcome outcome = Outcome::kDone;
  OutputFile* claimed[] = {&vertices_, &shapes_, &svg_};
  const NativeName* names[] = {&names_.vertices, &names_.shapes, &names_.svg};
  for (std::size_t i = 0; i < 3; ++i) {
    Outcome claim = claimed[i]->claim(folder_.handle, *names[i]);
    const FileIdentity& identity = claimed[i]->identity();
    // A refused output's name is looked up only to choose the message: it may be a link to the
    // drawing.
    const bool isDrawing = claim == Outcome::kDone
                               ? identity == drawingFacts_.identity
                               : reaches(folder_.handle, *names[i], drawingFacts_.identity);
    for (std::size_t earlier = 0; claim == Outcome::kDone && earlier < i; ++earlier) {
      if (claimed[earlier]->identity() == identity) claim = Outcome::kCannotWriteOutput;
    }
    if (isDrawing) claim = Outcome::kInputWouldBeOverwritten;
    if (outcome == Outcome::kDone || claim == Outcome::kInputWouldBeOverwritten) outcome = claim;
  }
  return outcome;
}

Outcome Run::convert() {
  Bounds bounds;
  Outcome outcome = extract();
  if (outcome == Outcome::kDone) outcome = classify();
  if (outcome == Outcome::kDone) outcome = measure(&bounds);
  if (outcome == Outcome::kDone) outcome = draw(bounds);
  if (outcome != Outcome::kDone) return outcome;
  return firstFailure({vertices_.close(), shapes_.close(), svg_.close()});
}

template <typename Pass>
Outcome Run::write(OutputFile& output, Pass pass) {
  std::ostream out(&output);
  pass(out);
  return output.endWriting();
}

Outcome Run::extract() {
  {
    std::istream drawing(&drawing_);
    std::ostream out(&vertices_);
    extractLineObjects(drawing, out);
  }
  // A drawing that fails to read before the pass has written anything leaves an old vertex file
  // as it was.
  if (drawing_.failed()) return Outcome::kCannotReadInput;
  if (const Outcome written = vertices_.endWriting(); written != Outcome::kDone) return written;
  if (const Outcome read = drawing_.finish(); read != Outcome::kDone) return read;
  // A drawing another program was still writing, or cut short, while the pass read it: its size
  // or time of change differs from what was read, and the picture would miss shapes. Only a
  // regular file keeps either fact.
  FileFacts now;
  if (drawingFacts_.regular &&
      (!factsOf(drawingFile_.handle, &now) || now.size != drawing_.bytesRead() ||
       now.size != drawingFacts_.size || now.modified != drawingFacts_.modified)) {
    return Outcome::kCannotReadInput;
  }
  return Outcome::kDone;
}

Outcome Run::classify() {
  InputFile vertices;
  std::istream in(&vertices);
  if (const Outcome outcome = vertices_.readBack(&vertices); outcome != Outcome::kDone) {
    return outcome;
  }
  const Outcome outcome = write(shapes_, [&](std::ostream& out) { classifyBlocks(in, out); });
  return firstFailure({outcome, vertices.finish()});
}

Outcome Run::measure(Bounds* bounds) {
  InputFile vertices;
  std::istream in(&vertices);
  if (const Outcome outcome = vertices_.readBack(&vertices); outcome != Outcome::kDone) {
    return outcome;
  }
  *bounds = computeBounds(in);
  return vertices.finish();
}

Outcome Run::draw(const Bounds& bounds) {
  InputFile vertices;
  InputFile shapes;
  std::istream vertexIn(&vertices);
  std::istream shapeIn(&shapes);
  if (const Outcome outcome =
          firstFailure({vertices_.readBack(&vertices), shapes_.readBack(&shapes)});
      outcome != Outcome::kDone) {
    return outcome;
  }
  const Outcome outcome = write(svg_, [&](std::ostream& out) {
    writeSvg(vertexIn, shapeIn, out, bounds, scaleBarLength(bounds));
  });
  return firstFailure({outcome, vertices.finish(), shapes.finish()});
}

namespace {

// The dialogue, step by step, up to its outcome.
Outcome converse(NameInput& input, std::ostream& console) {
  // 1. The prompt, on the line where the name is typed, and memory set aside for the run.
  console << kPrompt << std::flush;
  const MemoryReserve reserve;
  if (!reserve.held()) return Outcome::kOutOfMemory;
  // 2. The name: one word, or on Windows a quoted path.
  NativeName typed;
  if (!input.readName(&typed)) return Outcome::kMissingInput;
  // 3. The drawing in its folder.
  InputFile drawing;
  Run run(drawing);
  Outcome outcome = run.open(typed);
  // 4. The outputs, held and checked before anything is written.
  if (outcome == Outcome::kDone) outcome = run.claimOutputs();
  if (outcome != Outcome::kDone) return outcome;
  // 5. The progress word, shown while the passes run.
  console << kWorking << std::flush;
  // 6 to 9. The four passes.
  return run.convert();
}

// 10. Shows the message for a failure and keeps the console open until one more character is
// typed, so that a console window opened just for this run does not close before it is read.
void stopWith(Outcome outcome, NameInput& input, std::ostream& console) {
  console << messageFor(outcome) << std::flush;
  input.waitForKey();
}

}  // namespace

void runConversion(NameInput& input, std::ostream& console) {
  Outcome outcome;
  // A lack of memory, in an allocation or in a call to the system, arrives here as
  // std::bad_alloc, every file closed on the way, and becomes an outcome like any other. Each
  // pass takes its memory before it empties its output and allocates nothing after that, so an
  // allocation that fails never costs an old output; one that the system reports while a file is
  // written ends the run as a failed write does, with that output emptied.
  try {
    outcome = converse(input, console);
  } catch (const std::bad_alloc&) {
    outcome = Outcome::kOutOfMemory;
  }
  // A run that succeeded ends without waiting.
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
