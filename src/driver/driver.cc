#include "driver/driver.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "driver/file_names.h"
#include "driver/name_input.h"
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

// Shows a message and keeps the console open until one more character is typed, so that a
// console window opened just for this run does not close before the message is read.
int stopWith(const char* message, NameInput& input, std::ostream& out) {
  out << message << std::flush;
  input.waitForKey();
  return 0;
}

// True when one of the files to be written already is the drawing under another name, through a
// link or a file system that ignores letter case.
bool outputIsInput(const std::filesystem::path& drawing, const OutputNames& names) {
  for (const NativeName* name : {&names.vertices, &names.shapes, &names.svg}) {
    std::error_code error;
    if (std::filesystem::equivalent(drawing, *name, error)) return true;
  }
  return false;
}

// Creates a file the program writes, replacing any file of that name, in the platform's text
// mode; lets `pass` write it and closes it. False if the file could not be created or written.
template <typename Pass>
bool writeFile(const NativeName& name, Pass pass) {
  std::ofstream file(std::filesystem::path(name), std::ios::out | std::ios::trunc);
  if (!file.is_open()) return false;
  pass(file);
  file.close();
  return !file.fail();
}

// Opens a file the program reads, in binary, so that nothing in it can end the reading early.
std::ifstream openForReading(const NativeName& name) {
  return std::ifstream(std::filesystem::path(name), std::ios::in | std::ios::binary);
}

}  // namespace

Outcome convertDrawing(std::istream& drawing, const OutputNames& names) {
  // What a failure, an allocation failure included, is reported as at each step.
  Outcome failure = Outcome::kCannotReadInput;
  try {
    const bool vertexFileWritten =
        writeFile(names.vertices, [&](std::ostream& out) { extractLineObjects(drawing, out); });
    if (drawing.bad()) return Outcome::kCannotReadInput;
    failure = Outcome::kCannotWriteOutput;
    if (!vertexFileWritten) return failure;

    // Each file read back must open and read to its end: otherwise what follows from it would
    // be silently empty or cut short.
    std::ifstream vertexIn = openForReading(names.vertices);
    if (!vertexIn.is_open()) return failure;
    if (!writeFile(names.shapes, [&](std::ostream& out) { classifyBlocks(vertexIn, out); }) ||
        vertexIn.bad()) {
      return failure;
    }
    std::ifstream boundsIn = openForReading(names.vertices);
    if (!boundsIn.is_open()) return failure;
    const Bounds bounds = computeBounds(boundsIn);
    if (boundsIn.bad()) return failure;
    const double scaleBar = scaleBarLength(bounds);
    std::ifstream svgVertexIn = openForReading(names.vertices);
    std::ifstream shapeIn = openForReading(names.shapes);
    if (!svgVertexIn.is_open() || !shapeIn.is_open()) return failure;
    if (!writeFile(
            names.svg,
            [&](std::ostream& out) { writeSvg(svgVertexIn, shapeIn, out, bounds, scaleBar); }) ||
        svgVertexIn.bad() || shapeIn.bad()) {
      return failure;
    }
    return Outcome::kDone;
  } catch (...) {
    return failure;
  }
}

int runConversion(NameInput& input, std::ostream& consoleOut) {
  try {
    consoleOut << kPrompt << std::flush;
    NativeName drawingName;
    if (!input.readName(&drawingName)) return stopWith(kMissingInput, input, consoleOut);

    const std::filesystem::path drawingPath(drawingName);
    std::ifstream drawing;
    std::error_code error;
    if (!std::filesystem::is_directory(drawingPath, error)) drawing = openForReading(drawingName);
    if (!drawing.is_open()) return stopWith(kMissingInput, input, consoleOut);
    const OutputNames names = outputNames(drawingName);
    if (hasOutputExtension<NativeName::value_type>(drawingName) ||
        outputIsInput(drawingPath, names)) {
      return stopWith(kInputWouldBeOverwritten, input, consoleOut);
    }
    consoleOut << kWorking << std::flush;

    switch (convertDrawing(drawing, names)) {
      case Outcome::kDone:
        return 0;
      case Outcome::kCannotReadInput:
        return stopWith(kCannotReadInput, input, consoleOut);
      case Outcome::kCannotWriteOutput:
        return stopWith(kCannotWriteOutput, input, consoleOut);
    }
  } catch (...) {
    // Nothing was opened yet that could be named: what could not be had is the drawing.
    return stopWith(kMissingInput, input, consoleOut);
  }
  return 0;
}

int runConversion(std::istream& consoleIn, std::ostream& consoleOut) {
  StreamNameInput input(consoleIn);
  return runConversion(input, consoleOut);
}

int runConversion() {
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
