#include "text/read_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "text/short_decimal.h"

namespace lines2svg {
namespace {

// What the stream itself makes of the token: the behaviour readNumber must reproduce.
bool readByStream(const std::string& token, double* value) {
  std::istringstream in(token);
  return static_cast<bool>(in >> *value);
}

// How many tokens readShortDecimal has answered for.
int shortAnswers = 0;

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
  // Whenever the short path answers, it answers as the stream does, whatever bytes follow.
  const std::string padded = token + " 7.5e9x-+12345678";
  double shortValue = 0;
  if (readShortDecimal(std::string_view(padded.data(), token.size()), &shortValue)) {
    ++shortAnswers;
    ASSERT_TRUE(slowRead) << "token '" << token << "'";
    ASSERT_EQ(std::memcmp(&shortValue, &slow, sizeof slow), 0)
        << "token '" << token << "': " << shortValue << " vs " << slow;
  }
  // The truncating path answers for the same tokens, with the truncation of the same double.
  std::int32_t truncated = 0;
  const char* stop = nullptr;
  if (truncateDecimalPrefix(padded.data(), &stop, &truncated) &&
      stop == padded.data() + token.size()) {
    ASSERT_TRUE(slowRead) << "token '" << token << "'";
    ASSERT_EQ(truncated, truncateToInt32(slow)) << "token '" << token << "'";
  }
}

TEST(ReadNumber, Examples) {
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
  EXPECT_GT(shortAnswers, 200000);
}

// Feeds the token to a NumberScanner in pieces of random sizes.
bool scanInPieces(const std::string& token, std::mt19937_64& random, double* value) {
  NumberScanner scanner;
  for (std::size_t at = 0; at < token.size();) {
    const std::size_t size = 1 + random() % (random() % 2 ? 7 : 3000);
    scanner.feed(std::string_view(token).substr(at, size));
    at += size;
  }
  return scanner.finish(value);
}

TEST(NumberScanner, MatchesReadNumberInAnyPieces) {
  const char alphabet[] = "0123456789+-.eEx0";
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    std::string token(1 + random() % 12, ' ');
    for (char& c : token) c = alphabet[random() % (sizeof alphabet - 1)];
    double whole = 0;
    double pieces = 0;
    const bool read = readNumber(token, &whole);
    ASSERT_EQ(scanInPieces(token, random, &pieces), read) << token;
    if (read) {
      ASSERT_EQ(std::memcmp(&whole, &pieces, sizeof whole), 0) << token;
    }
  }
}

// `digits` (a decimal integer) times `factor`, exactly.
std::string times(const std::string& digits, int factor) {
  std::string product(digits.size(), '0');
  int carry = 0;
  for (std::size_t i = digits.size(); i-- > 0;) {
    const int d = (digits[i] - '0') * factor + carry;
    product[i] = static_cast<char>('0' + d % 10);
    carry = d / 10;
  }
  return carry > 0 ? std::to_string(carry) + product : product;
}

// Long tokens against strtod: thousands of digits, long runs of zeros before and after the point,
// and exact halfway points between two doubles (up to 767 significant digits), alone, with
// zeros after them and with a last 1 far past the digits a scanner keeps.
TEST(NumberScanner, MatchesStrtodOnLongTokens) {
  std::mt19937_64 random(11);
  auto digits = [&](std::size_t count) {
    std::string text(count, '0');
    for (char& c : text) c = static_cast<char>('0' + random() % 10);
    return text;
  };
  std::vector<std::string> tokens;
  for (int i = 0; i < 300; ++i) {
    std::string mantissa = digits(1 + random() % 5000);
    mantissa.insert(random() % mantissa.size(), ".");
    tokens.push_back(
        mantissa + "e" +
        std::to_string(static_cast<int>(random() % 700) - 350 - static_cast<int>(mantissa.size())));
    tokens.push_back(std::string(random() % 5000, '0') + digits(20) + "." + digits(30));
    tokens.push_back("-0." + std::string(random() % 400, '0') + digits(1 + random() % 2000));
    tokens.push_back("0." + std::string(300 + random() % 3000, '0') + digits(40) + "e300");
    // Halfway between two doubles: an odd 54-bit number times a power of two, written out in full.
    std::string odd =
        std::to_string((std::uint64_t{1} << 53 | random() % (std::uint64_t{1} << 53)) | 1);
    const int shift = static_cast<int>(random() % 1100);
    std::string tie = odd;
    for (int k = 0; k < shift; ++k)
      tie = times(tie, 5);  // odd / 2^shift = odd * 5^shift / 10^shift
    if (tie.size() <= static_cast<std::size_t>(shift)) {
      tie.insert(0, static_cast<std::size_t>(shift) + 1 - tie.size(), '0');
    }
    tie.insert(tie.size() - static_cast<std::size_t>(shift), ".");
    for (const std::string& tail :
         {std::string(), std::string(2000, '0'), std::string(1000, '0') + "1"}) {
      tokens.push_back(tie + tail);
      tokens.push_back(tie + tail + "e-" + std::to_string(random() % 300));
    }
  }
  for (const std::string& token : tokens) {
    char* end = nullptr;
    const double expected = std::strtod(token.c_str(), &end);
    ASSERT_EQ(end, token.c_str() + token.size());
    double scanned = 0;
    const bool read = scanInPieces(token, random, &scanned);
    ASSERT_EQ(read, !std::isinf(expected)) << token.substr(0, 100);
    if (read) {
      ASSERT_EQ(std::memcmp(&expected, &scanned, sizeof scanned), 0) << token.substr(0, 100);
    }
  }
}

TEST(TruncateToInt32, TowardZeroAndSaturated) {
  const struct {
    double value;
    std::int32_t expected;
  } cases[] = {{12.9, 12},
               {-12.9, -12},
               {0.99, 0},
               {-0.0, 0},
               {2147483646.9, 2147483646},
               {2147483647.5, 2147483647},
               {3e9, 2147483647},
               {-2147483648.9, -2147483647 - 1},
               {-3e9, -2147483647 - 1},
               {1e300, 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(truncateToInt32(c.value), c.expected) << c.value;
}

}  // namespace
}  // namespace lines2svg
