#include "driver/driver.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <string>

#include "driver/file_names.h"
#include "passes/passes.h"
#include "svg/svg_writer.h"

namespace lines2svg {

namespace {

constexpr char kPrompt[] = "Zadej nazev souboru: ";
constexpr char kWorking[] = "Pracuji...";
constexpr char kMissingInput[] = "!!! Vstupni soubor neexistuje !!!";
constexpr char kInputWouldBeOverwritten[] = "!!! Vstupni soubor by byl prepsan !!!";
constexpr char kCannotWriteOutput[] = "!!! Vystupni soubor nelze vytvorit !!!";

// Shows a message and keeps the console open until one more character is typed, so that a
// console window opened just for this run does not close before the message is read. The rest of
// the line that held the name does not count. Input that has already ended is not waited on.
int stopWith(const char* message, std::istream& in, std::ostream& out) {
  out << message << std::flush;
  if (!in.eof()) {
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    in.get();
  }
  return 0;
}

// True when one of the files to be written already is the drawing under another name, through a
// link or a file system that ignores letter case.
bool outputIsInput(const std::string& drawingName) {
  for (const char* extension : {"dat", "trd", "svg"}) {
    std::string name = drawingName;
    setExtension(name, extension);
    std::error_code error;
    if (std::filesystem::equivalent(drawingName, name, error)) return true;
  }
  return false;
}

// Creates a file the program writes, replacing any file of that name, in the platform's text
// mode; lets `pass` write it and closes it. False if the file could not be created or written.
template <typename Pass>
bool writeFile(const std::string& name, Pass pass) {
  std::ofstream file(name, std::ios::out | std::ios::trunc);
  if (!file.is_open()) return false;
  pass(file);
  file.close();
  return !file.fail();
}

}  // namespace

int runConversion(std::istream& consoleIn, std::ostream& consoleOut) {
  consoleOut << kPrompt << std::flush;
  std::string drawingName;
  if (!(consoleIn >> drawingName)) return stopWith(kMissingInput, consoleIn, consoleOut);

  std::ifstream drawing;
  std::error_code error;
  if (!std::filesystem::is_directory(drawingName, error)) {
    drawing.open(drawingName, std::ios::in | std::ios::binary);
  }
  if (!drawing.is_open()) return stopWith(kMissingInput, consoleIn, consoleOut);
  if (hasOutputExtension(drawingName) || outputIsInput(drawingName)) {
    return stopWith(kInputWouldBeOverwritten, consoleIn, consoleOut);
  }
  consoleOut << kWorking << std::flush;

  std::string name = drawingName;
  setExtension(name, "dat");
  const std::string vertexName = name;
  setExtension(name, "trd");
  const std::string shapeName = name;
  setExtension(name, "svg");
  const std::string svgName = name;

  auto cannotWrite = [&] { return stopWith(kCannotWriteOutput, consoleIn, consoleOut); };
  if (!writeFile(vertexName, [&](std::ostream& out) { extractLineObjects(drawing, out); })) {
    return cannotWrite();
  }
  std::ifstream vertexIn(vertexName, std::ios::in | std::ios::binary);
  if (!writeFile(shapeName, [&](std::ostream& out) { classifyBlocks(vertexIn, out); })) {
    return cannotWrite();
  }
  std::ifstream boundsIn(vertexName, std::ios::in | std::ios::binary);
  const Bounds bounds = computeBounds(boundsIn);
  const double scaleBar = scaleBarLength(bounds);
  std::ifstream svgVertexIn(vertexName, std::ios::in | std::ios::binary);
  std::ifstream shapeIn(shapeName, std::ios::in | std::ios::binary);
  if (!writeFile(svgName, [&](std::ostream& out) {
        writeSvg(svgVertexIn, shapeIn, out, bounds, scaleBar);
      })) {
    return cannotWrite();
  }
  return 0;
}

int runConversion() { return runConversion(std::cin, std::cout); }

}  // namespace lines2svg
