// The console dialogue and the conversion of one drawing, in the order a run takes them.
#include "driver/driver.h"

#include <cstdlib>
#include <initializer_list>
#include <iostream>
#include <new>
#include <utility>

#include "svg/svg_writer.h"

namespace lines2svg {

namespace {

constexpr char kPrompt[] = "Zadej nazev souboru: ";
constexpr char kWorking[] = "Pracuji...";

// Memory set aside for the run, so that running out can be reported: when an allocation fails,
// the reserve is given back and std::bad_alloc thrown, and the message and the wait have memory
// to run in. Measured with `ulimit -v` from 4000 to 12000 KiB and with a malloc that fails from
// its nth call on: without it, five limits and a malloc failing from its first call end in
// std::terminate (status 134), because the C++ runtime could not set aside its own memory for
// exceptions either; for the same reason, a reserve that cannot be taken is not thrown.
class MemoryReserve {
 public:
  MemoryReserve() : held_((reserve = std::malloc(kSize)) != nullptr) {
    if (held_) std::set_new_handler(giveBackAndFail);
  }
  MemoryReserve(const MemoryReserve&) = delete;
  MemoryReserve& operator=(const MemoryReserve&) = delete;
  ~MemoryReserve() { giveBack(); }

  // False when there was no memory to set aside.
  bool held() const { return held_; }

 private:
  static constexpr std::size_t kSize = std::size_t{64} * 1024;

  static void giveBack() {
    std::set_new_handler(nullptr);
    std::free(reserve);
    reserve = nullptr;
  }
  // The new-handler: gives the reserve back and makes the failed allocation throw.
  static void giveBackAndFail() {
    giveBack();
    throw std::bad_alloc();
  }

  static inline void* reserve = nullptr;
  bool held_;
};

// The first failure of a step made of several.
Outcome firstFailure(std::initializer_list<Outcome> outcomes) {
  for (const Outcome outcome : outcomes) {
    if (outcome != Outcome::kDone) return outcome;
  }
  return Outcome::kDone;
}

// Lets `pass` write `written` (none when null) and read `inputs`, and tells the first failure of
// its files: the inputs' first, so that an output whose pass met a failure in its input before it
// wrote anything keeps what it held.
template <typename Pass, typename... Inputs>
Outcome runPass(Output* written, Pass pass, Inputs&... inputs) {
  PassFile output;
  if (written != nullptr) output.writeTo(*written);
  if (firstFailure({inputs.failure()...}) == Outcome::kDone) {
    std::ostream out(&output);
    pass(out, std::istream(&inputs)...);
  }
  const Outcome read = firstFailure({inputs.finish()...});
  return read != Outcome::kDone || written == nullptr ? read : output.finish();
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
  // 3. The drawing in its folder, and the outputs held and checked before anything is written.
  PassFile drawing;
  Run run(drawing);
  Outcome outcome = run.open(typed);
  if (outcome == Outcome::kDone) outcome = run.claimOutputs();
  if (outcome != Outcome::kDone) return outcome;
  // 4. The progress word, shown while the passes run.
  console << kWorking << std::flush;
  // 5. The four passes.
  return run.convert();
}

}  // namespace

Outcome Run::open(const NativeName& typed) {
  NativeName name;
  if (const Outcome outcome = folder_.openDrawing(typed, &drawing_, &name, &drawingFacts_);
      outcome != Outcome::kDone) {
    return outcome;
  }
  if (hasOutputExtension<NativeName::value_type>(name)) return Outcome::kInputWouldBeOverwritten;
  drawingReader_.readFrom(drawing_);
  names_ = outputNames(name);
  return Outcome::kDone;
}

Outcome Run::claimOutputs() {
  // Every output is claimed, so that one reaching the drawing is told as such whichever output
  // it is; any file created on the way is removed again if the run stops here.
  Outcome outcome = Outcome::kDone;
  const std::pair<Output*, const NativeName*> outputs[] = {
      {&vertices_, &names_.vertices}, {&shapes_, &names_.shapes}, {&svg_, &names_.svg}};
  for (const auto& [output, name] : outputs) {
    FileFacts facts;
    Outcome claim = folder_.claim(*name, output, &facts);
    bool isDrawing = claim == Outcome::kDone && facts.identity == drawingFacts_.identity;
    // A refused output's name is looked up only to choose the message: it may lead to the drawing.
    if (claim == Outcome::kCannotWriteOutput) {
      claim = folder_.reachesFollowingLinks(*name, drawingFacts_.identity, &isDrawing);
      if (claim == Outcome::kDone) claim = Outcome::kCannotWriteOutput;
    }
    if (isDrawing) claim = Outcome::kInputWouldBeOverwritten;
    if (outcome == Outcome::kDone || claim == Outcome::kInputWouldBeOverwritten) outcome = claim;
  }
  return outcome;
}

Outcome Run::convert() {
  Bounds bounds;
  PassFile reads[4];
  Outcome outcome = runPass(
      &vertices_, [](auto& out, auto&& drawing) { extractLineObjects(drawing, out); },
      drawingReader_);
  // A drawing another program was still writing, or cut short, while pass 1 read it: its size or
  // time of change differs from what was read, and the picture would miss shapes. Only a regular
  // file keeps either fact.
  FileFacts now;
  if (outcome == Outcome::kDone && drawingFacts_.regular) outcome = drawing_.facts(&now);
  if (outcome == Outcome::kDone && drawingFacts_.regular &&
      (now.size != drawingReader_.bytesRead() || now.size != drawingFacts_.size ||
       now.modified != drawingFacts_.modified)) {
    outcome = Outcome::kCannotReadInput;
  }
  if (outcome == Outcome::kDone) {
    outcome = runPass(
        &shapes_, [](auto& out, auto&& vertices) { classifyBlocks(vertices, out); },
        reads[0].readBack(vertices_));
  }
  if (outcome == Outcome::kDone) {
    outcome = runPass(
        nullptr, [&](auto&, auto&& vertices) { bounds = computeBounds(vertices); },
        reads[1].readBack(vertices_));
  }
  if (outcome == Outcome::kDone) {
    outcome = runPass(
        &svg_,
        [&](auto& out, auto&& vertices, auto&& shapes) {
          writeSvg(vertices, shapes, out, bounds, scaleBarLength(bounds));
        },
        reads[2].readBack(vertices_), reads[3].readBack(shapes_));
  }
  if (outcome != Outcome::kDone) return outcome;
  return firstFailure({vertices_.closeNamed(), shapes_.closeNamed(), svg_.closeNamed()});
}

void runDialogue(NameInput& input, std::ostream& console) {
  Outcome outcome;
  // A failed allocation arrives here as std::bad_alloc, every file closed on the way, and becomes
  // an outcome like any other. Each pass takes its memory before it empties its output and
  // allocates nothing after that, so an allocation that fails never costs an old output. A lack
  // of memory that the system reports while a file is written ends the run as a failed write
  // does, with what was handed on before it in the file.
  try {
    outcome = converse(input, console);
  } catch (const std::bad_alloc&) {
    outcome = Outcome::kOutOfMemory;
  }
  // A message keeps the console open until one more character is typed, so that a console window
  // opened just for this run does not close before it is read; a run that succeeded ends at once.
  if (outcome == Outcome::kDone) return;
  console << messageFor(outcome) << std::flush;
  input.waitForKey();
}

int runConversion() {
  reportFailedWritesAsErrors();
  runDialogue(standardNameInput(), std::cout);
  return 0;
}

}  // namespace lines2svg
