#include "driver/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace lines2svg {
namespace {

template <typename Char>
std::basic_string<Char> withExtension(std::basic_string<Char> name, PathStyle style) {
  setExtension(name, "dat", style);
  return name;
}

TEST(SetExtension, ReplacesTheLastThreeCharactersOfTheFileNamePart) {
  constexpr PathStyle kBoth[] = {PathStyle::kPosix, PathStyle::kWindows};
  const struct {
    const char* name;
    const char* posix;
    const char* windows;
  } cases[] = {
      {"plan.txt", "plan.dat", "plan.dat"},
      {"dir/sub/plan.txt", "dir/sub/plan.dat", "dir/sub/plan.dat"},
      {"plan", "pdat", "pdat"},
      {"abc", "dat", "dat"},
      {"ab", "abdat", "abdat"},
      {"a", "adat", "adat"},
      {"x.y.zz", "x.ydat", "x.ydat"},
      {"sub/ab", "sub/abdat", "sub/abdat"},
      {"./ab", "./abdat", "./abdat"},
      {"sub/abc", "sub/dat", "sub/dat"},
      {"sub/", "sub/dat", "sub/dat"},
      {"C:\\Mapy\\ab", "C:\\Mapydat", "C:\\Mapy\\abdat"},
      {"C:ab", "Cdat", "C:abdat"},
      {"D:\\a.b", "D:\\dat", "D:\\dat"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(withExtension<char>(c.name, PathStyle::kPosix), c.posix) << c.name;
    EXPECT_EQ(withExtension<char>(c.name, PathStyle::kWindows), c.windows) << c.name;
    // A wide name follows the same rule, letter for letter.
    std::wstring wide(c.name, c.name + std::char_traits<char>::length(c.name));
    for (PathStyle style : kBoth) {
      std::string expected = style == PathStyle::kPosix ? c.posix : c.windows;
      EXPECT_EQ(withExtension(wide, style), std::wstring(expected.begin(), expected.end()))
          << c.name;
    }
  }
}

TEST(SetExtension, CountsCharactersOfWideNames) {
  const struct {
    std::wstring name;
    std::wstring expected;
  } cases[] = {
      {L"T\u0159eb\u00ed\u010d.txt", L"T\u0159eb\u00ed\u010d.dat"},
      {L"mapa.\u010d\u0159\u017e", L"mapa.dat"},
      // A surrogate pair is one character: two of them and a letter are three.
      {L"a.\xD83D\xDDFA\xD83D\xDDFAx", L"a.dat"},
      {L"sub/\xD83D\xDDFA\xD83D\xDDFA",
       L"sub/\xD83D\xDDFA\xD83D\xDDFA"
       L"dat"},
      {L"\u00da\\ab", L"\u00da\\abdat"},
  };
  for (const auto& c : cases) EXPECT_EQ(withExtension(c.name, PathStyle::kWindows), c.expected);
}

// A narrow name is counted in code points when it is valid UTF-8, in bytes otherwise.
TEST(SetExtension, CountsCharactersOfUtf8Names) {
  const struct {
    std::string name;
    std::string expected;
  } cases[] = {
      {"mapa.\u010d\u017e\u0159", "mapa.dat"},
      {"sub/\u017e\u0159", "sub/\u017e\u0159dat"},
      {"\u00dazem\u00ed/\u011b\u0161\u010d", "\u00dazem\u00ed/dat"},
      {"a.\U0001F5FA\U0001F5FAx", "a.dat"},
      {"plan.t\xC3\xA9\xFF", "plan.tdat"},  // not UTF-8: bytes
      {"plan.\xE0\x80\x80", "plan.dat"},    // overlong, so not UTF-8
      {"plan.t\xED\xA0\x80", "plan.tdat"},  // a surrogate, so not UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(withExtension(c.name, PathStyle::kPosix), c.expected);
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
  for (const auto& c : cases) {
    EXPECT_EQ(hasOutputExtension<char>(c.name), c.refused) << c.name;
    std::wstring wide(c.name, c.name + std::char_traits<char>::length(c.name));
    EXPECT_EQ(hasOutputExtension<wchar_t>(wide), c.refused) << c.name;
  }
}

}  // namespace
}  // namespace lines2svg
