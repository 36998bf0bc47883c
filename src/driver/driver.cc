// The console dialogue and the conversion of one drawing.
#include "driver/driver.h"

#include <csignal>
#include <cstdint>
#include <iostream>
#include <memory>
#include <new>

#include "driver/file_identity.h"
#include "driver/file_names.h"
#include "driver/input_file.h"
#include "driver/name_input.h"
#include "driver/output_file.h"
#include "passes/passes.h"
#include "svg/svg_writer.h"

#if defined(_WIN32)
#include "driver/windows_console.h"
#endif

namespace lines2svg {

namespace {

constexpr char kPrompt[] = "Zadej nazev souboru: ";
constexpr char kWorking[] = "Pracuji...";
constexpr char kMissingInput[] = "!!! Vstupni soubor neexistuje !!!";
constexpr char kInputWouldBeOverwritten[] = "!!! Vstupni soubor by byl prepsan !!!";
constexpr char kCannotWriteOutput[] = "!!! Vystupni soubor nelze vytvorit !!!";
constexpr char kCannotReadInput[] = "!!! Vstupni soubor nelze precist !!!";
constexpr char kOutOfMemory[] = "!!! Nedostatek pameti !!!";

// Shows a message and keeps the console open until one more character is typed, so that a
// console window opened just for this run does not close before the message is read.
int stopWith(const char* message, NameInput& input, std::ostream& out) {
  out << message << std::flush;
  input.waitForKey();
  return 0;
}

// Runs one step of the conversion. An allocation failure is reported as such; any other exception
// as the step's own failure.
template <typename Step>
Outcome guarded(Outcome onException, Step step) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    return Outcome::kOutOfMemory;
  } catch (...) {
    return onException;
  }
}

// Lets `pass` write the named file, then closes it; the bytes stored go to `written`.
template <typename Pass>
bool writeFile(const NativeName& name, std::uint64_t* written, Pass pass) {
  OutputFile file(name);
  std::ostream out(&file);
  pass(out);
  const bool closed = file.close();
  *written = file.bytesWritten();
  return closed && !out.bad();
}

// One of the program's own files, opened again to be read back.
struct ReadBack {
  InputFile file;
  std::istream stream{&file};
  bool opened = false;

  explicit ReadBack(const NativeName& name) { opened = file.open(name) == OpenResult::kOpened; }

  // True when the file read without error and gave back exactly the `written` bytes: a file
  // emptied or cut short behind the program's back, or one that reads as nothing (a link to
  // /dev/null), would otherwise give a picture silently missing its shapes.
  bool readInFull(std::uint64_t written) {
    return opened && !stream.bad() && file.readToEnd() && file.bytesRead() == written;
  }
};

Outcome extractStep(std::istream& drawing, const NativeName& vertices, std::uint64_t* written) {
  const bool ok =
      writeFile(vertices, written, [&](std::ostream& out) { extractLineObjects(drawing, out); });
  if (drawing.bad()) return Outcome::kCannotReadInput;
  return ok ? Outcome::kDone : Outcome::kCannotWriteOutput;
}

Outcome classifyStep(const OutputNames& names, std::uint64_t vertexBytes,
                     std::uint64_t* shapeBytes) {
  ReadBack vertices(names.vertices);
  if (!vertices.opened) return Outcome::kCannotWriteOutput;
  const bool ok = writeFile(names.shapes, shapeBytes,
                            [&](std::ostream& out) { classifyBlocks(vertices.stream, out); });
  return ok && vertices.readInFull(vertexBytes) ? Outcome::kDone : Outcome::kCannotWriteOutput;
}

Outcome boundsStep(const OutputNames& names, std::uint64_t vertexBytes, Bounds* bounds) {
  ReadBack vertices(names.vertices);
  if (!vertices.opened) return Outcome::kCannotWriteOutput;
  *bounds = computeBounds(vertices.stream);
  return vertices.readInFull(vertexBytes) ? Outcome::kDone : Outcome::kCannotWriteOutput;
}

Outcome svgStep(const OutputNames& names, std::uint64_t vertexBytes, std::uint64_t shapeBytes,
                const Bounds& bounds) {
  ReadBack vertices(names.vertices);
  ReadBack shapes(names.shapes);
  if (!vertices.opened || !shapes.opened) return Outcome::kCannotWriteOutput;
  std::uint64_t svgBytes = 0;
  const bool ok = writeFile(names.svg, &svgBytes, [&](std::ostream& out) {
    writeSvg(vertices.stream, shapes.stream, out, bounds, scaleBarLength(bounds));
  });
  return ok && vertices.readInFull(vertexBytes) && shapes.readInFull(shapeBytes)
             ? Outcome::kDone
             : Outcome::kCannotWriteOutput;
}

// Opens the drawing and decides whether it may be converted: a message, or nothing if it may.
const char* openDrawing(const NativeName& name, InputFile* drawing, OutputNames* names) {
  switch (drawing->open(name)) {
    case OpenResult::kOpened:
      break;
    case OpenResult::kMissing:
      return kMissingInput;
    case OpenResult::kUnreadable:
      return kCannotReadInput;
  }
  // The outputs are named after the name as the system opened it.
  NativeName opened = name;
  dropTrailingDotsAndSpaces(opened);
  *names = outputNames(opened);
  if (hasOutputExtension<NativeName::value_type>(opened)) return kInputWouldBeOverwritten;
  FileIdentity identity;
  if (!drawing->identity(&identity)) return kCannotWriteOutput;
  switch (checkOutputs(identity, *names)) {
    case OutputCheck::kSafe:
      return nullptr;
    case OutputCheck::kWouldOverwriteInput:
      return kInputWouldBeOverwritten;
    case OutputCheck::kCannotWrite:
      return kCannotWriteOutput;
  }
  return kCannotWriteOutput;
}

// Memory set aside when the program starts and handed back when an allocation fails, so that the
// failure can still be thrown and reported when memory is so tight that the exception itself
// would find none. Null once handed back.
char* memoryReserve = nullptr;

// Called by a failing operator new: frees the reserve so that the allocation is tried once more,
// and once it is gone, gives up with std::bad_alloc.
void releaseMemoryReserve() {
  if (memoryReserve == nullptr) throw std::bad_alloc();
  delete[] memoryReserve;
  memoryReserve = nullptr;
}

// Holds the memory reserve for the program's run.
class MemoryReserve {
 public:
  MemoryReserve() {
    memoryReserve = new (std::nothrow) char[kSize];
    held_ = memoryReserve != nullptr;
    if (held_) previous_ = std::set_new_handler(releaseMemoryReserve);
  }
  MemoryReserve(const MemoryReserve&) = delete;
  MemoryReserve& operator=(const MemoryReserve&) = delete;
  ~MemoryReserve() {
    if (!held_) return;
    std::set_new_handler(previous_);
    delete[] memoryReserve;
    memoryReserve = nullptr;
  }

  // False when even the reserve could not be had.
  bool held() const { return held_; }

 private:
  static constexpr std::size_t kSize = std::size_t{64} * 1024;

  bool held_ = false;
  std::new_handler previous_ = nullptr;
};

}  // namespace

Outcome convertDrawing(std::istream& drawing, const OutputNames& names) {
  std::uint64_t vertexBytes = 0;
  std::uint64_t shapeBytes = 0;
  Bounds bounds;
  Outcome outcome = guarded(Outcome::kCannotReadInput,
                            [&] { return extractStep(drawing, names.vertices, &vertexBytes); });
  if (outcome == Outcome::kDone) {
    outcome = guarded(Outcome::kCannotWriteOutput,
                      [&] { return classifyStep(names, vertexBytes, &shapeBytes); });
  }
  if (outcome == Outcome::kDone) {
    outcome = guarded(Outcome::kCannotWriteOutput,
                      [&] { return boundsStep(names, vertexBytes, &bounds); });
  }
  if (outcome == Outcome::kDone) {
    outcome = guarded(Outcome::kCannotWriteOutput,
                      [&] { return svgStep(names, vertexBytes, shapeBytes, bounds); });
  }
  return outcome;
}

int runConversion(NameInput& input, std::ostream& consoleOut) {
  try {
    consoleOut << kPrompt << std::flush;
    NativeName drawingName;
    if (!input.readName(&drawingName)) return stopWith(kMissingInput, input, consoleOut);
    InputFile drawingFile;
    OutputNames names;
    if (const char* refusal = openDrawing(drawingName, &drawingFile, &names)) {
      return stopWith(refusal, input, consoleOut);
    }
    consoleOut << kWorking << std::flush;

    std::istream drawing(&drawingFile);
    switch (convertDrawing(drawing, names)) {
      case Outcome::kDone:
        return 0;
      case Outcome::kCannotReadInput:
        return stopWith(kCannotReadInput, input, consoleOut);
      case Outcome::kCannotWriteOutput:
        return stopWith(kCannotWriteOutput, input, consoleOut);
      case Outcome::kOutOfMemory:
        return stopWith(kOutOfMemory, input, consoleOut);
    }
  } catch (const std::bad_alloc&) {
    return stopWith(kOutOfMemory, input, consoleOut);
  } catch (...) {
    // Before the passes, only the name and the drawing are handled: the drawing is what failed.
    return stopWith(kMissingInput, input, consoleOut);
  }
  return 0;
}

int runConversion(std::istream& consoleIn, std::ostream& consoleOut) {
  StreamNameInput input(consoleIn);
  return runConversion(input, consoleOut);
}

int runConversion() {
  const MemoryReserve reserve;
  if (!reserve.held()) {
    StreamNameInput input(std::cin);
    std::cout << kPrompt;
    return stopWith(kOutOfMemory, input, std::cout);
  }
#if defined(SIGPIPE)
  // A console reader that has gone, or a file-size limit, must not end the program: a failed
  // console write is harmless, and a cut-short file write is reported like a full disk.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#if defined(_WIN32)
  std::unique_ptr<NameInput> console;
  try {
    console = consoleNameInput();
  } catch (...) {
    // Without memory for the console's reader, standard input is read as a stream.
  }
  if (console) return runConversion(*console, std::cout);
#endif
  return runConversion(std::cin, std::cout);
}

}  // namespace lines2svg
