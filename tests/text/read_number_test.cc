#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "text/number_scanner.h"

namespace lines2svg {
namespace {

// What the stream itself makes of the token: the behaviour readNumber must reproduce.
bool readByStream(const std::string& token, double* value) {
  std::istringstream in(token);
  return static_cast<bool>(in >> *value);
}

// How many tokens the fast reader has answered for.
int fastAnswers = 0;

void expectSameAsStream(const std::string& token) {
  double fast = 0;
  double slow = 0;
  bool fastRead = readNumber(token, &fast);
  bool slowRead = readByStream(token, &slow);
  ASSERT_EQ(fastRead, slowRead) << "token '" << token << "'";
  if (fastRead) {
    ASSERT_EQ(std::memcmp(&fast, &slow, sizeof fast), 0)
        << "token '" << token << "': " << fast << " vs " << slow;
  }
  // Whenever the fast reader answers, whatever bytes follow, its hundredths are the stream's
  // double in hundredths, and truncate as the double does.
  const std::string padded = token + " 7.5e9x-+12345678";
  std::int64_t hundredths = 0;
  const char* stop = nullptr;
  if (!token.empty() && readHundredthsPrefix(padded.data(), &stop, &hundredths) &&
      stop == padded.data() + token.size()) {
    ++fastAnswers;
    ASSERT_TRUE(slowRead) << "token '" << token << "'";
    ASSERT_EQ(hundredths, std::llround(slow * 100)) << "token '" << token << "'";
    ASSERT_FALSE(hundredths == 0 && std::signbit(slow)) << "token '" << token << "'";
    ASSERT_EQ(hundredths / 100, truncateToInt32(slow)) << "token '" << token << "'";
  }
}

TEST(ReadNumber, ReadsExamplesAsTheStreamDoes) {
  const struct {
    const char* token;
    bool read;
    double value;
  } cases[] = {
      {"12.5", true, 12.5},
      {"12.5abc", true, 12.5},
      {"+5", true, 5},
      {"1e-400", true, 0},
      {"0x1A", true, 0},
      {"12e3", true, 12000},
      {"-744123.45", true, -744123.45},
      {".5", true, 0.5},
      {"5.", true, 5},
      {"0012.50", true, 12.5},
      {"1.5e3.2", true, 1500},
      {"1,5", true, 1},
      {"1e5e", true, 1e5},
      {"12.5.3", true, 12.5},
      {"12e", false, 0},
      {"12e+", false, 0},
      {"1e400", false, 0},
      {"-1e400", false, 0},
      {"inf", false, 0},
      {"nan", false, 0},
      {"-", false, 0},
      {".", false, 0},
      {"abc", false, 0},
      {"", false, 0},
      {"e5", false, 0},
      {"--5", false, 0},
  };
  for (const auto& c : cases) {
    double value = -1;
    EXPECT_EQ(readNumber(c.token, &value), c.read) << c.token;
    if (c.read) {
      EXPECT_EQ(value, c.value) << c.token;
    }
    expectSameAsStream(c.token);
  }
}

TEST(ReadNumber, MatchesStreamOnGeneratedTokens) {
  // Short tokens from the characters that matter to the number grammar cover its corners.
  const char alphabet[] = "0123456789+-.eEx0";
  std::mt19937_64 random(42);
  for (int i = 0; i < 300000; ++i) {
    std::string token(1 + random() % 12, ' ');
    for (char& c : token) c = alphabet[random() % (sizeof alphabet - 1)];
    expectSameAsStream(token);
  }
}

TEST(ReadNumber, MatchesStreamOnGeneratedCoordinates) {
  std::mt19937_64 random(1);
  char text[64];
  for (int i = 0; i < 200000; ++i) {
    long long whole = static_cast<long long>(random() % 100000000) - 50000000;
    std::snprintf(text, sizeof text, "%lld.%02d", whole, static_cast<int>(random() % 100));
    expectSameAsStream(text);
    // Long mantissas, extreme exponents and halfway cases stress rounding and range.
    std::snprintf(text, sizeof text, "%llu%llue%d", static_cast<unsigned long long>(random()),
                  static_cast<unsigned long long>(random() % 1000),
                  static_cast<int>(random() % 700) - 350);
    expectSameAsStream(text);
    double any;
    std::uint64_t bits = random();
    std::memcpy(&any, &bits, sizeof any);
    std::snprintf(text, sizeof text, "%.17g", any);
    expectSameAsStream(text);
  }
  for (const char* edge : {"2.2250738585072011e-308",
                           "4.9406564584124654e-324",
                           "2e-324",
                           "3e-324",
                           "1.7976931348623157e308",
                           "1.7976931348623159e308",
                           "9007199254740993",
                           "0.000000000000000000000000000001e-300",
                           "999999999999999.",
                           "-.999999999999999",
                           "2.9999999999999999999",
                           "1234567890123456",
                           "+0000000000000001",
                           "-0",
                           "5..5",
                           "1.2.3",
                           "2147483647.5",
                           "-2147483648.9",
                           "2147483648",
                           "-2147483649",
                           "0.999999999999999",
                           "-99999999.9999999"}) {
    expectSameAsStream(edge);
  }
  // Every coordinate of the common form above is one the fast reader answers for.
  EXPECT_GE(fastAnswers, 200000);
}

}  // namespace
}  // namespace lines2svg
