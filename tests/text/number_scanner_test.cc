#include "text/number_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace lines2svg {
namespace {

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
std::string times(const std::string& digits, long factor) {
  std::string product(digits.size(), '0');
  long carry = 0;
  for (std::size_t i = digits.size(); i-- > 0;) {
    const long d = (digits[i] - '0') * factor + carry;
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

// Over- and underflow decided without the stream, with the bits the Linux build's stream gives, on
// every build: a tie at half the smallest subnormal's multiple, a number just below the point
// where rounding reaches infinity, and the signs of zero.
TEST(NumberScanner, DecidesTheRangeAsTheLinuxStreamDoes) {
  // 1.5 x 2^-1074 = 3 x 5^1075 / 10^1075, written out in full (1,077 characters).
  std::string tie = "3";
  for (int k = 0; k < 1075; ++k) tie = times(tie, 5);
  tie = "0." + std::string(1075 - tie.size(), '0') + tie;
  // 2^1024 - 2^970, halfway between DBL_MAX and 2^1024, with 1 taken from its last digit (a 2)
  // and 50 nines after the point: just below halfway. 2^54 - 1 = 3^4 x 7 x 19 x 73 x 87211 x
  // 262657.
  std::string belowHalfway = "1";
  for (int k = 0; k < 970; ++k) belowHalfway = times(belowHalfway, 2);
  for (long factor : {81L, 7L, 19L, 73L, 87211L, 262657L}) {
    belowHalfway = times(belowHalfway, factor);
  }
  --belowHalfway.back();
  belowHalfway += "." + std::string(50, '9');
  const struct {
    std::string token;
    bool read;
    double value;
  } cases[] = {
      {tie, true, 0x1p-1073},
      {belowHalfway, true, 0x1.fffffffffffffp+1023},
      {belowHalfway.substr(0, belowHalfway.size() - 51) + "2", false, 0},
      {"1.7976931348623159e308", false, 0},
      {"2.5e-324", true, 0x1p-1074},
      {"-1e-310", true, -1e-310},
      {"2.4e-324", true, 0.0},
      {"-1e-400", true, -0.0},
      {"+0e999999", true, 0.0},
  };
  std::mt19937_64 random(3);
  for (const auto& c : cases) {
    double value = 1;
    ASSERT_EQ(scanInPieces(c.token, random, &value), c.read) << c.token.substr(0, 40);
    if (c.read) {
      EXPECT_EQ(std::memcmp(&value, &c.value, sizeof value), 0) << c.token.substr(0, 40);
    }
  }
}

}  // namespace
}  // namespace lines2svg
