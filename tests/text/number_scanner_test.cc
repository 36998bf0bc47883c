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

}  // namespace
}  // namespace lines2svg
