#include "driver/driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "passes/passes.h"
#include "support/failing_buffer.h"
#include "support/held_folder.h"
#include "svg/svg_writer.h"

namespace lines2svg {
namespace {

// After a message the program waits for one more character, not counting the rest of the line
// that held the name; a console window opened just for the run stays open until then.
TEST(RunConversion, WaitsForOneMoreCharacterAfterAMessage) {
  std::istringstream in("no-such-drawing.txt rest of line\nAB");
  std::ostringstream out;
  StreamNameInput input(in, readPipedName);
  runConversion(input, out);
  EXPECT_EQ(out.str(), "Zadej nazev souboru: !!! Vstupni soubor neexistuje !!!");
  EXPECT_EQ(in.get(), 'B');
}

// Every pass reads on to a read error in any of its inputs, where the driver sees it.
TEST(ReadErrors, EveryPassMeetsTheFailureOfItsInput) {
  const std::string drawing = "&L P 1 2 L 3 4 L 5 6 &E &L P 7 8 L 9 10 &E\n";
  const std::string vertices = "x\n1 2\n3 4\n5 6\nx\n7 8\n9 10\n";
  const std::string shapes = "M 3\nL\n";
  std::ostringstream sink;
  const struct {
    const char* pass;
    std::string input;
    std::function<void(std::istream&)> run;
  } cases[] = {
      {"extraction", drawing, [&](std::istream& in) { extractLineObjects(in, sink); }},
      {"classification", vertices, [&](std::istream& in) { classifyBlocks(in, sink); }},
      {"bounds", vertices, [&](std::istream& in) { computeBounds(in); }},
      {"SVG, vertex file", vertices,
       [&](std::istream& in) {
         std::istringstream shapeIn(shapes);
         writeSvg(in, shapeIn, sink, Bounds{}, 1);
       }},
      {"SVG, shape file", shapes,
       [&](std::istream& in) {
         std::istringstream vertexIn(vertices);
         writeSvg(vertexIn, in, sink, Bounds{}, 1);
       }},
  };
  for (const auto& c : cases) {
    for (std::size_t failAt : {0, 5}) {
      FailingBuffer failing(c.input, failAt);
      std::istream in(&failing);
      c.run(in);
      EXPECT_TRUE(failing.failed()) << c.pass << " failing at " << failAt;
    }
  }
}

TEST(ConvertDrawing, ReportsADrawingThatFailsToRead) {
  // The folder is held as a run holds it; the drawing's bytes come from a failing stand-in.
  HeldFolder scratch("driver_test");
  ASSERT_EQ(scratch.opening, Outcome::kDone);
  const Folder& folder = scratch.folder;
  const NativeName& name = scratch.drawingName;
  const OutputNames names = outputNames(name);
  for (std::size_t failAt : {0, 7, 1 << 20}) {
    FailingBuffer failing("&L P 1 2 L 3 4 &E\n" + std::string(1 << 20, ' '), failAt);
    Outputs outputs(folder, names, FileIdentity{});
    EXPECT_EQ(convertDrawing(failing, folder, outputs), Outcome::kCannotReadInput) << failAt;
  }
  FailingBuffer drawing("&L P 1 2 L 3 4 &E\n", std::string::npos);
  Outputs outputs(folder, names, FileIdentity{});
  EXPECT_EQ(convertDrawing(drawing, folder, outputs), Outcome::kDone);
}

}  // namespace
}  // namespace lines2svg
