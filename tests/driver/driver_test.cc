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
  PipedNameInput input(*in.rdbuf());
  runDialogue(input, out);
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
      EXPECT_NE(failing.failure(), Outcome::kDone) << c.pass << " failing at " << failAt;
    }
  }
}

// A drawing cut short while pass 1 reads it, as by a program saving it again: its third read
// finds it cut, and the bytes read no longer match it. Windows refuses the cut, since the run
// shares the drawing for reading only.
class CutWhileRead : public PassFile {
 public:
  explicit CutWhileRead(std::filesystem::path path) : path_(std::move(path)) {}

  bool cut = false;

 protected:
  Outcome readSome(char* to, std::size_t size, std::size_t* got) override {
    std::error_code refused;
    if (++reads_ == 3) std::filesystem::resize_file(path_, 20, refused);
    cut |= reads_ == 3 && !refused;
    return PassFile::readSome(to, std::min<std::size_t>(size, 16), got);
  }

 private:
  std::filesystem::path path_;
  int reads_ = 0;
};

TEST(Run, ReportsADrawingThatFailsToReadOrChanges) {
  // The drawing's bytes come from a stand-in that fails where it is told to, or from the drawing
  // itself, cut short as it is read.
  const std::string text = "&L P 1 2 L 3 4 &E\n" + std::string(1 << 20, ' ');
  const struct {
    std::size_t failAt;  // npos: never; 0: the drawing is cut while read
    Outcome outcome;
  } cases[] = {
      {1, Outcome::kCannotReadInput},       {7, Outcome::kCannotReadInput},
      {1 << 20, Outcome::kCannotReadInput}, {std::string::npos, Outcome::kDone},
      {0, Outcome::kCannotReadInput},
  };
  for (const auto& c : cases) {
    ScratchFolder scratch("driver_test");
    std::ofstream(scratch.path / "plan.txt", std::ios::binary) << text;
    FailingBuffer failing(text, c.failAt);
    CutWhileRead cut(scratch.path / "plan.txt");
    lines2svg::Run run(c.failAt == 0 ? static_cast<PassFile&>(cut) : failing);
    ASSERT_EQ(run.open((scratch.path / "plan.txt").native()), Outcome::kDone);
    ASSERT_EQ(run.claimOutputs(), Outcome::kDone);
    const Outcome outcome = run.convert();
    EXPECT_EQ(outcome, c.failAt == 0 && !cut.cut ? Outcome::kDone : c.outcome) << c.failAt;
  }
}

}  // namespace
}  // namespace lines2svg
