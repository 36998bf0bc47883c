#include "driver/name_input.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/windows_text.h"

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
      {" \n \n", PathStyle::kPosix, nullptr, ""},
      {"exactly-twenty-chars", PathStyle::kPosix, "exactly-twenty-chars", ""},
      // Reading stops at the character that makes the name hopeless.
      {"twenty-one-charactersxyz", PathStyle::kPosix, nullptr, "xyz"},
      {std::string("a\0b c", 5), PathStyle::kPosix, nullptr, "b c"},
      // A UTF-8 byte-order mark opening the input is skipped; a part of one is kept.
      {"\xEF\xBB\xBF  plan.txt\n", PathStyle::kPosix, "plan.txt", "\n"},
      {"\xEF\xBBplan.txt", PathStyle::kWindows, "\xEF\xBBplan.txt", ""},
      {"\xEF\xBB", PathStyle::kPosix, "\xEF\xBB", ""},
      {"a\xEF\xBB\xBF", PathStyle::kPosix, "a\xEF\xBB\xBF", ""},
      // Blank input ends after as many separators as the longest name.
      {std::string(20, '\n') + "plan", PathStyle::kPosix, "plan", ""},
      {std::string(21, '\n') + "plan", PathStyle::kPosix, nullptr, "plan"},
  };
  for (const auto& c : cases) {
    NameCollector<char> collector(c.style, 20);
    std::size_t used = 0;
    while (used < c.typed.size() && !collector.hopeless() && collector.offer(c.typed[used])) {
      ++used;
    }
    std::string name;
    const bool named = collector.finish(&name);
    EXPECT_EQ(named, c.name != nullptr) << c.typed;
    if (named && c.name != nullptr) {
      EXPECT_EQ(name, c.name) << c.typed;
    }
    EXPECT_EQ(c.typed.substr(used), c.left) << c.typed;
  }
}

// A console without line input gives Enter as a CR alone; with it, as CR LF.
TEST(LineEnds, EveryLineEndIsOneLineFeed) {
  const struct {
    std::wstring given;
    std::wstring taken;
  } cases[] = {
      {L"plan.txt\r\nx\r\n", L"plan.txt\nx\n"},
      {L"plan.txt\rx\r", L"plan.txt\nx\n"},
      {L"a\n\nb\r\r\nc", L"a\n\nb\n\nc"},
  };
  for (const auto& c : cases) {
    LineEnds ends;
    std::wstring taken;
    for (wchar_t ch : c.given) {
      if (ends.take(&ch)) taken.push_back(ch);
    }
    EXPECT_EQ(taken, c.taken);
  }
}

}  // namespace
}  // namespace lines2svg
