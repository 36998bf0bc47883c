#include "driver/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace lines2svg {
namespace {

TEST(SetExtension, ReplacesTheLastThreeCharacters) {
  const struct {
    const char* name;
    const char* extension;
    const char* expected;
  } cases[] = {
      {"plan.txt", "dat", "plan.dat"}, {"dir/sub/plan.txt", "svg", "dir/sub/plan.svg"},
      {"plan", "dat", "pdat"},         {"abc", "trd", "trd"},
      {"ab", "dat", "abdat"},          {"a", "svg", "asvg"},
      {"x.y.zz", "dat", "x.ydat"},
  };
  for (const auto& c : cases) {
    std::string name = c.name;
    setExtension(name, c.extension);
    EXPECT_EQ(name, c.expected) << c.name;
  }
}

TEST(SetExtension, AppliesAgainToItsOwnResult) {
  std::string name = "ab";
  setExtension(name, "dat");
  setExtension(name, "trd");
  setExtension(name, "svg");
  EXPECT_EQ(name, "absvg");
}

TEST(HasOutputExtension, AnyLetterCase) {
  const struct {
    const char* name;
    bool refused;
  } cases[] = {
      {"plan.dat", true}, {"PLAN.DAT", true}, {"plan.Trd", true},      {"x.sVg", true},
      {"dat", true},      {"plandat", true},  {"plan.txt", false},     {"plan.da", false},
      {"at", false},      {"", false},        {"plan.dat.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(hasOutputExtension(c.name), c.refused) << c.name;
}

}  // namespace
}  // namespace lines2svg
