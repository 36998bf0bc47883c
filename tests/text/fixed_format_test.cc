#include "text/fixed_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>

namespace lines2svg {
namespace {

std::string byStream(double value, int precision) {
  std::ostringstream out;
  out << std::fixed << std::setprecision(precision) << value;
  return out.str();
}

std::string byFormatFixed(double value, int precision) {
  char buffer[kFixedBufferSize];
  return std::string(buffer, formatFixed(value, precision, buffer));
}

void expectSameAsStream(double value) {
  for (int precision : {0, 2}) {
    ASSERT_EQ(byFormatFixed(value, precision), byStream(value, precision))
        << std::hexfloat << value << " precision " << precision;
  }
}

TEST(FormatFixed, FormatsExamplesAsTheStreamDoes) {
  const struct {
    double value;
    int precision;
    const char* text;
  } cases[] = {
      {1234.5, 2, "1234.50"}, {-0.25, 2, "-0.25"},  {2.5, 0, "2"},
      {3.5, 0, "4"},          {158.5, 0, "158"},    {161.5, 0, "162"},
      {-0.0, 2, "-0.00"},     {-0.001, 2, "-0.00"}, {0.125, 2, "0.12"},
      {0.375, 2, "0.38"},     {3125, 0, "3125"},    {1e21, 0, "1000000000000000000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(byFormatFixed(c.value, c.precision), c.text) << c.value;
    expectSameAsStream(c.value);
  }
}

TEST(FormatFixed, MatchesStreamOnGeneratedValues) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 200000; ++i) {
    // Survey-like differences: up to a few million, two decimals, either sign.
    double survey =
        static_cast<double>(static_cast<std::int64_t>(random() % 400000000) - 200000000) / 100;
    expectSameAsStream(survey);
    expectSameAsStream(2100000000.0 - survey);
    // Exact ties at both precisions: halves and odd multiples of 1/8.
    double half =
        static_cast<double>(static_cast<std::int64_t>(random() % 2000000) - 1000000) + 0.5;
    expectSameAsStream(half);
    expectSameAsStream(static_cast<double>(static_cast<std::int64_t>(random() % 80000) * 2 + 1) /
                       8);
    // Values near zero and any bit pattern that is a finite double, 1e300 included.
    expectSameAsStream(
        std::ldexp(static_cast<double>(random() % 1000) - 500, -static_cast<int>(random() % 40)));
    double any;
    std::uint64_t bits = random();
    std::memcpy(&any, &bits, sizeof any);
    if (std::isfinite(any)) expectSameAsStream(any);
  }
  for (double huge : {1e300, -1e300, 1.7976931348623157e308, -1.7976931348623157e308, 4.9e-324,
                      4503599627370495.5, 4503599627370496.0, 4503599627370497.0,
                      -4503599627370495.5, 0.005, 0.015, -0.025, 0x1p-11, 0x1p-12}) {
    expectSameAsStream(huge);
  }
}

// Whole numbers of hundredths, against the library's integer formatting: every one up to 10^6 in
// magnitude, and random ones of every size.
TEST(FormatHundredths, MatchesIntegerFormatting) {
  const auto expected = [](std::int64_t n) {
    const std::uint64_t magnitude =
        n < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    const std::string decimals = std::to_string(magnitude % 100);
    return std::string(n < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." +
           (decimals.size() == 1 ? "0" : "") + decimals;
  };
  const auto check = [&](std::int64_t n) {
    char buffer[kFixedBufferSize];
    ASSERT_EQ(std::string(buffer, formatHundredths(n, buffer)), expected(n)) << n;
  };
  for (std::int64_t n = -1000000; n <= 1000000; ++n) check(n);
  std::mt19937_64 random(11);
  for (int i = 0; i < 100000; ++i) {
    check(static_cast<std::int64_t>(random() >> (random() % 64)) * (i % 2 == 0 ? 1 : -1));
  }
  for (std::int64_t n :
       {std::int64_t{99999999}, std::int64_t{100000000}, std::int64_t{999999999999}}) {
    check(n);
    check(-n);
  }
  check(INT64_MAX);
  // Pairs, each half of four digits of each number in each place, and random magnitudes.
  const auto checkPair = [&](std::int64_t a, std::int64_t b) {
    char buffer[2 * kFixedBufferSize];
    ASSERT_EQ(std::string(buffer, formatHundredthsPair(a, b, buffer)),
              expected(a) + " " + expected(b))
        << a << " " << b;
  };
  for (std::int64_t h = 0; h < 10000; ++h) {
    checkPair(h * 10000 + (9999 - h), -(h + 10000 * ((h * 7) % 10000)));
  }
  for (int i = 0; i < 100000; ++i) {
    checkPair(static_cast<std::int64_t>(random() >> (1 + random() % 63)),
              -static_cast<std::int64_t>(random() >> (1 + random() % 63)));
  }
  checkPair(99999999, -100000000);
  check(INT64_MIN);
}

}  // namespace
}  // namespace lines2svg
