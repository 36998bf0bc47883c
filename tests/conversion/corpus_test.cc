#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/conversion_properties.h"

namespace lines2svg {
namespace {

// Every file of the fuzzer's seed corpus, and every input it ever broke the program with.
TEST(FuzzCorpus, EveryPropertyHolds) {
  int files = 0;
  for (const char* folder : {"corpus", "regressions"}) {
    std::filesystem::path dir = std::filesystem::path(LINES2SVG_FUZZ_DIR) / folder;
    if (!std::filesystem::exists(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      EXPECT_EQ(checkConversion(bytes.str()), "") << entry.path();
      ++files;
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace lines2svg
