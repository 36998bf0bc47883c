#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "passes/passes.h"
#include "text/number_scanner.h"

namespace lines2svg {
namespace {

struct BoundsCase {
  const char* name;
  const char* vertices;
  Bounds expected;
};

constexpr std::int32_t kMax = 2147483647;
constexpr std::int32_t kMin = -kMax - 1;

TEST(ComputeBounds, TruncatesAndFoldsEveryReadableVertex) {
  const BoundsCase cases[] = {
      {"empty file", "", {0, 0, 0, 0}},
      {"only markers", "x\nx\n", {0, 0, 0, 0}},
      {"truncated toward zero", "x\n100.7 -3.2\n", {100, -3, 100, -3}},
      {"all blocks count", "x\n12.9 -12.9\nx\n-5.9 7.9\n", {12, 7, -5, -12}},
      {"single vertex blocks count", "x\n1 2\n3 4\nx\n-10 50\n", {3, 50, -10, 2}},
      {"saturated", "x\n3e9 -3e9\n0 0\n", {kMax, 0, 0, kMin}},
      {"unreadable vertex left out", "x\nabc 5\n1 2\n7 1e400\n", {1, 2, 1, 2}},
      {"numeric prefix read", "x\n12.5abc 4e1x\n", {12, 40, 12, 40}},
      {"empty first block", "x\nx\n5 6\n", {5, 6, 5, 6}},
      {"odd leftover ignored", "x\n1 2 999\nx\n3 4\n", {3, 4, 1, 2}},
      {"coordinate x splits a block", "x\n1 x\n30 40\n", {30, 40, 30, 40}},
      {"nothing readable", "x\ninf nan\n- .\n", {0, 0, 0, 0}},
  };
  for (const BoundsCase& c : cases) {
    std::istringstream in(c.vertices);
    Bounds b = computeBounds(in);
    EXPECT_EQ(b.maxFirst, c.expected.maxFirst) << c.name;
    EXPECT_EQ(b.maxSecond, c.expected.maxSecond) << c.name;
    EXPECT_EQ(b.minFirst, c.expected.minFirst) << c.name;
    EXPECT_EQ(b.minSecond, c.expected.minSecond) << c.name;
  }
}

// Coordinates far longer than the read buffer are read from all their digits: 1 and -5 here; and
// one whose number ends early is read up to its end, the rest passed over: "7" then letters.
TEST(ComputeBounds, CoordinatesLongerThanTheBuffer) {
  const std::string zeros(1 << 20, '0');
  std::istringstream in("x\n" + zeros + "1" + zeros + "e-1048576 -0." + zeros + "5e1048577\n2 3\n" +
                        "7" + std::string(1 << 20, 'a') + " 4\n");
  Bounds b = computeBounds(in);
  EXPECT_EQ(b.minFirst, 1);
  EXPECT_EQ(b.minSecond, -5);
  EXPECT_EQ(b.maxFirst, 7);
  EXPECT_EQ(b.maxSecond, 4);
}

// The bounds of generated vertex files, over several fills of the reader's buffer, are those of
// the stream's doubles truncated: coordinates of every short form and some that are not, with
// separators of every kind between them.
TEST(ComputeBounds, MatchesStreamOnGeneratedCoordinates) {
  std::mt19937_64 random(5);
  const auto pick = [&](std::uint64_t n) { return random() % n; };
  const char* const forms[] = {"-0.00", "+7", ".5", "-.25", "3e2", "1.234", "12345678.9", "1e400"};
  const char* const gaps[] = {" ", " ", " ", "\t", "  ", "\r\n"};
  for (int round = 0; round < 20; ++round) {
    std::string vertices = "x\n";
    std::int64_t extremes[4] = {INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX};
    for (int v = 0; v < (round == 0 ? 40000 : 5000); ++v) {
      std::string pair[2];
      for (std::string& text : pair) {
        text = pick(6) == 0
                   ? forms[pick(8)]
                   : std::to_string(static_cast<std::int64_t>(pick(std::uint64_t{1} << pick(40)))) +
                         "." + std::to_string(pick(100));
        if (pick(3) == 0) text = "-" + text;
      }
      vertices += pair[0] + gaps[pick(6)] + pair[1] + "\n";
      double a = 0;
      double b = 0;
      if (!(std::istringstream(pair[0]) >> a) || !(std::istringstream(pair[1]) >> b)) continue;
      const std::int64_t first = truncateToInt32(a);
      const std::int64_t second = truncateToInt32(b);
      extremes[0] = std::max(extremes[0], first);
      extremes[1] = std::max(extremes[1], second);
      extremes[2] = std::min(extremes[2], first);
      extremes[3] = std::min(extremes[3], second);
    }
    std::istringstream in(vertices);
    const Bounds b = computeBounds(in);
    EXPECT_EQ(b.maxFirst, extremes[0]) << round;
    EXPECT_EQ(b.maxSecond, extremes[1]) << round;
    EXPECT_EQ(b.minFirst, extremes[2]) << round;
    EXPECT_EQ(b.minSecond, extremes[3]) << round;
  }
}

TEST(ScaleBarLength, PowersOfFive) {
  const struct {
    std::int32_t minFirst;
    std::int32_t maxFirst;
    double length;
  } cases[] = {
      {0, 0, 1},
      {-10, 10, 1},
      {0, 21, 5},
      {0, 100, 5},
      {0, 101, 25},
      {5, 505, 25},
      {0, 501, 125},
      {0, 2500, 125},
      {0, 2501, 625},
      {0, 12500, 625},
      {0, 12501, 3125},
      {-62500, 0, 3125},
      {kMin, kMax, 244140625},
  };
  for (const auto& c : cases) {
    Bounds b;
    b.minFirst = c.minFirst;
    b.maxFirst = c.maxFirst;
    b.minSecond = -999999;  // The second coordinate plays no part.
    EXPECT_EQ(scaleBarLength(b), c.length) << c.minFirst << ".." << c.maxFirst;
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
