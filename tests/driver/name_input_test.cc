#include "driver/name_input.h"

#include <gtest/gtest.h>

#include <string>

namespace lines2svg {
namespace {

TEST(NameCollector, WordsQuotesAndRefusedNames) {
  const struct {
    std::string typed;
    PathStyle style;
    const char* name;  // null: no usable name
    const char* left;  // what is left for the next reader
  } cases[] = {
      {"  plan.txt rest\n", PathStyle::kPosix, "plan.txt", " rest\n"},
      {"\r\n\tplan.txt", PathStyle::kWindows, "plan.txt", ""},
      {"\"C:\\Mapy obce\\a.txt\" rest\n", PathStyle::kWindows, "C:\\Mapy obce\\a.txt", " rest\n"},
      {"\"unclosed name\r\nnext", PathStyle::kWindows, "unclosed name", "\r\nnext"},
      {"\"a b\"", PathStyle::kPosix, "\"a", " b\""},
      {"a\"b c\"", PathStyle::kWindows, "a\"b", " c\""},
      {"\"\"\n", PathStyle::kWindows, nullptr, "\n"},
      {std::string("a\0b c", 5), PathStyle::kPosix, nullptr, " c"},
      {" \n \n", PathStyle::kPosix, nullptr, ""},
      {"exactly-twenty-chars", PathStyle::kPosix, "exactly-twenty-chars", ""},
      {"twenty-one-characters x", PathStyle::kPosix, nullptr, " x"},
  };
  for (const auto& c : cases) {
    NameCollector<char> collector(c.style, 20);
    std::size_t used = 0;
    while (used < c.typed.size() && collector.offer(c.typed[used])) ++used;
    std::string name;
    const bool named = collector.finish(&name);
    EXPECT_EQ(named, c.name != nullptr) << c.typed;
    if (named && c.name != nullptr) {
      EXPECT_EQ(name, c.name) << c.typed;
    }
    EXPECT_EQ(c.typed.substr(used), c.left) << c.typed;
  }
}

}  // namespace
}  // namespace lines2svg
