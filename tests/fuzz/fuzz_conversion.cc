// libFuzzer entry: every input must convert with all the properties of checkConversion.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/conversion_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string problem =
      lines2svg::checkConversion(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "property broken: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
