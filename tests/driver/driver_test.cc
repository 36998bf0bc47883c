#include "driver/driver.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace lines2svg {
namespace {

// After a message the program waits for one more character, not counting the rest of the line
// that held the name; a console window opened just for the run stays open until then.
TEST(RunConversion, WaitsForOneMoreCharacterAfterAMessage) {
  std::istringstream in("no-such-drawing.txt rest of line\nAB");
  std::ostringstream out;
  EXPECT_EQ(runConversion(in, out), 0);
  EXPECT_EQ(out.str(), "Zadej nazev souboru: !!! Vstupni soubor neexistuje !!!");
  EXPECT_EQ(in.get(), 'B');
}

}  // namespace
}  // namespace lines2svg
