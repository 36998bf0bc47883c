#include "driver/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace lines2svg {
namespace {

template <typename Char>
std::basic_string<Char> withExtension(std::basic_string<Char> name) {
  setExtension(name, "dat");
  return name;
}

TEST(SetExtension, ReplacesTheLastThreeCharacters) {
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"plan.txt", "plan.dat"}, {"plan", "pdat"}, {"abc", "dat"},
      {"ab", "abdat"},          {"a", "adat"},    {"x.y.zz", "x.ydat"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(withExtension<char>(c.name), c.expected) << c.name;
    // A wide name follows the same rule, letter for letter.
    std::wstring wide(c.name, c.name + std::char_traits<char>::length(c.name));
    const std::string expected = c.expected;
    EXPECT_EQ(withExtension(wide), std::wstring(expected.begin(), expected.end())) << c.name;
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
      {L"\xD83D\xDDFA\xD83D\xDDFA",
       L"\xD83D\xDDFA\xD83D\xDDFA"
       L"dat"},
  };
  for (const auto& c : cases) EXPECT_EQ(withExtension(c.name), c.expected);
}

// A narrow name is counted in code points when it is valid UTF-8, in bytes otherwise.
TEST(SetExtension, CountsCharactersOfUtf8Names) {
  const struct {
    std::string name;
    std::string expected;
  } cases[] = {
      {"mapa.\u010d\u017e\u0159", "mapa.dat"}, {"\u017e\u0159", "\u017e\u0159dat"},
      {"\u011b\u0161\u010d", "dat"},           {"a.\U0001F5FA\U0001F5FAx", "a.dat"},
      {"plan.t\xC3\xA9\xFF", "plan.tdat"},  // not UTF-8: bytes
      {"plan.\xE0\x80\x80", "plan.dat"},    // overlong, so not UTF-8
      {"plan.t\xED\xA0\x80", "plan.tdat"},  // a surrogate, so not UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(withExtension(c.name), c.expected);
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
