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

// Opens a file the program writes, replacing any file of that name, in the platform's text mode.
bool create(std::ofstream& file, const std::string& name) {
  file.open(name, std::ios::out | std::ios::trunc);
  return file.is_open();
}

// Closes a written file; false if any of it could not be written.
bool finish(std::ofstream& file) {
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

  std::ofstream vertexOut;
  if (!create(vertexOut, vertexName)) return stopWith(kCannotWriteOutput, consoleIn, consoleOut);
  extractLineObjects(drawing, vertexOut);
  if (!finish(vertexOut)) return stopWith(kCannotWriteOutput, consoleIn, consoleOut);

  std::ifstream vertexIn(vertexName, std::ios::in | std::ios::binary);
  std::ofstream shapeOut;
  if (!create(shapeOut, shapeName)) return stopWith(kCannotWriteOutput, consoleIn, consoleOut);
  classifyBlocks(vertexIn, shapeOut);
  if (!finish(shapeOut)) return stopWith(kCannotWriteOutput, consoleIn, consoleOut);

  std::ifstream boundsIn(vertexName, std::ios::in | std::ios::binary);
  Bounds bounds = computeBounds(boundsIn);
  double scaleBar = scaleBarLength(bounds);

  std::ifstream svgVertexIn(vertexName, std::ios::in | std::ios::binary);
  std::ifstream shapeIn(shapeName, std::ios::in | std::ios::binary);
  std::ofstream svgOut;
  if (!create(svgOut, svgName)) return stopWith(kCannotWriteOutput, consoleIn, consoleOut);
  writeSvg(svgVertexIn, shapeIn, svgOut, bounds, scaleBar);
  if (!finish(svgOut)) return stopWith(kCannotWriteOutput, consoleIn, consoleOut);
  return 0;
}

int runConversion() { return runConversion(std::cin, std::cout); }

}  // namespace lines2svg
