#include "text/token_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "text/bits.h"
#include "text/number_scanner.h"

namespace lines2svg {
namespace {

// Every token, with the pieces of a long one put back together.
std::vector<std::string> readAll(const std::string& text, std::size_t bufferSize,
                                 std::size_t maxWholeToken = 1 << 20) {
  std::istringstream in(text);
  TokenReader reader(in, bufferSize, maxWholeToken);
  std::vector<std::string> tokens;
  std::string_view token;
  while (reader.next(&token)) {
    tokens.emplace_back(token);
    for (std::string_view piece; reader.nextPiece(&piece);) tokens.back() += piece;
  }
  return tokens;
}

// The obvious split, character by character.
std::vector<std::string> splitSlowly(const std::string& text) {
  std::vector<std::string> tokens;
  std::string current;
  for (char c : text) {
    bool space = c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    if (!space) {
      current += c;
    } else if (!current.empty()) {
      tokens.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) tokens.push_back(current);
  return tokens;
}

TEST(TokenReader, SplitsExamplesAtTheSixSeparators) {
  using Tokens = std::vector<std::string>;
  const struct {
    std::string text;
    Tokens tokens;
  } cases[] = {
      {"", {}},
      {" \t\r\n\v\f", {}},
      {"a", {"a"}},
      {"  &L\r\nP 1\t2\v3\f4 ", {"&L", "P", "1", "2", "3", "4"}},
      {std::string("a\0b c", 5), {std::string("a\0b", 3), "c"}},
      {"\xC3\xA9t\xE9 \x1A\x7F", {"\xC3\xA9t\xE9", "\x1A\x7F"}},
  };
  for (const auto& c : cases) {
    for (std::size_t size : {1, 2, 3, 1024}) {
      EXPECT_EQ(readAll(c.text, size), c.tokens) << "buffer " << size;
    }
  }
  // Every byte value, each between token bytes, classified sixteen at a time.
  std::string everyByte;
  for (int c = 0; c < 256; ++c) everyByte += {'a', static_cast<char>(c)};
  EXPECT_EQ(readAll(everyByte, 4096), splitSlowly(everyByte));
}

// The token counts between markers, taken from the bitmap, the records taken whole and the pairs
// of coordinates taken with their numbers agree with the character split.
void expectCountsRecordsAndPairs(const std::string& text, std::size_t size) {
  const std::vector<std::string> tokens = splitSlowly(text);
  std::vector<std::size_t> counts{0};
  for (const std::string& token : tokens) {
    if (token == "x") {
      counts.push_back(0);
    } else {
      ++counts.back();
    }
  }
  std::istringstream in(text);
  TokenReader reader(in, size);
  std::vector<std::size_t> got;
  // As the block reader counts: a marker right at the reader's place is taken at once.
  for (bool found = true; found;) {
    got.push_back(reader.skipMarker('x') ? 0 : reader.countTokensBefore('x', &found));
  }
  ASSERT_EQ(got, counts) << "buffer " << size;
  for (const char* word : {"&", "&a"}) {
    std::istringstream words(text);
    TokenReader skipper(words, size);
    std::size_t skips = 0;
    while (skipper.skipTo(word)) ++skips;
    ASSERT_EQ(skips, static_cast<std::size_t>(std::count(tokens.begin(), tokens.end(), word)))
        << word << ", buffer " << size;
  }

  // Records of the tags "a" and "1" taken whole wherever the reader offers them, each three tokens
  // of the split, and the other tokens by next().
  std::istringstream walked(text);
  TokenReader walker(walked, size);
  std::size_t at = 0;
  for (std::string_view token;;) {
    walker.readTaggedPairs('a', '1', [&](std::string_view pair) {
      ASSERT_LT(at + 2, tokens.size());
      ASSERT_TRUE(tokens[at] == "a" || tokens[at] == "1") << tokens[at];
      ASSERT_NE(tokens[at + 2], "a");
      ASSERT_NE(tokens[at + 2], "1");
      ASSERT_EQ(pair, tokens[at + 1] + " " + tokens[at + 2]);
      at += 3;
    });
    if (!walker.next(&token)) break;
    ASSERT_LT(at, tokens.size());
    ASSERT_EQ(token, tokens[at++]);
  }
  ASSERT_EQ(at, tokens.size()) << "buffer " << size;

  // Pairs of coordinates in the common form read in batches, each the two next tokens of the
  // split in hundredths, and the other tokens by next().
  std::istringstream again(text);
  TokenReader pairs(again, size);
  at = 0;
  for (std::string_view token;;) {
    HundredthsPair batch[3];
    const std::size_t count = pairs.readHundredthsPairs(batch, 3);
    for (std::size_t i = 0; i < count; ++i, at += 2) {
      ASSERT_LT(at + 1, tokens.size());
      for (const auto& [coordinate, hundredths] :
           {std::pair(tokens[at], batch[i].first), std::pair(tokens[at + 1], batch[i].second)}) {
        double expected = 0;
        ASSERT_TRUE(readNumber(coordinate, &expected)) << coordinate;
        ASSERT_EQ(hundredths, std::llround(expected * 100)) << coordinate;
      }
    }
    if (count == 3) continue;
    if (!pairs.next(&token)) break;
    ASSERT_LT(at, tokens.size());
    ASSERT_EQ(token, tokens[at++]);
  }
  ASSERT_EQ(at, tokens.size()) << "buffer " << size;
}

TEST(TokenReader, MatchesCharacterSplitAcrossRefills) {
  const char alphabet[] = "ab1.&\0\x80 \t\n\v\f\r  x7-";
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    std::string text(random() % 3000, ' ');
    for (char& c : text) c = alphabet[random() % (sizeof alphabet - 1)];
    if (round % 10 == 0) text += std::string(5000, 'z');  // one token over many refills
    for (std::size_t size : {1, 2, 5, 64, 4096}) {
      ASSERT_EQ(readAll(text, size), splitSlowly(text)) << "round " << round << " buffer " << size;
      // Tokens longer than 7 bytes that cross a refill come in pieces.
      ASSERT_EQ(readAll(text, size, 7), splitSlowly(text)) << "round " << round << " " << size;
      expectCountsRecordsAndPairs(text, size);
    }
  }
}

// Pairs keep their first token valid while the second is read across a refill.
TEST(TokenReader, PairsMatchCharacterSplitAcrossRefills) {
  const char alphabet[] = "ab1.&\x80 \t\n\r  ";
  std::mt19937 random(4);
  for (int round = 0; round < 200; ++round) {
    std::string text(random() % 2000, ' ');
    for (char& c : text) c = alphabet[random() % (sizeof alphabet - 1)];
    if (round % 10 == 0) text += " " + std::string(3000, 'y') + " " + std::string(3000, 'z');
    std::vector<std::string> expected = splitSlowly(text);
    if (expected.size() % 2 == 1) expected.pop_back();
    for (std::size_t size : {1, 2, 5, 64, 4096}) {
      std::istringstream in(text);
      TokenReader reader(in, size);
      std::vector<std::string> pairs;
      std::string_view first;
      std::string_view second;
      while (reader.next(&first) && reader.nextAfter(&first, &second)) {
        pairs.emplace_back(first);
        pairs.emplace_back(second);
      }
      ASSERT_EQ(pairs, expected) << "round " << round << " buffer " << size;
    }
  }
}

// The bitmap's words, built 32 bytes at a time where the processor has AVX2, and its token starts,
// counted with POPCNT where it has that, agree with the bits taken a byte at a time and with the
// portable count: over random bytes drawn mostly from around the separators, and over random
// bitmaps and ranges.
TEST(TokenReader, BitmapsWithEitherInstructions) {
  std::mt19937_64 random(9);
  const std::string near = "\x08\t\n\v\f\r\x0E\x1F \x21\x80\x89\x8D\xA0\xFFx";
  std::string bytes(512, ' ');
  std::vector<std::uint64_t> separators(8);
  for (int round = 0; round < 20000; ++round) {
    for (char& c : bytes) c = random() % 4 == 0 ? static_cast<char>(random()) : near[random() % 16];
    separatorWords(bytes.data(), separators.size(), separators.data());
    for (std::size_t w = 0; w < separators.size(); ++w) {
      ASSERT_EQ(separators[w], separatorBits(bytes.data() + 64 * w, 64)) << round << " " << w;
    }
    for (std::uint64_t& word : separators) word = random() & random();
    const std::size_t from = random() % 500;
    const std::size_t to = from + random() % (512 - from);
    separators[from / 64] |= std::uint64_t{1} << (from % 64);
    ASSERT_EQ(tokenStartsBetween(separators.data(), from, to),
              detail::tokenStartsBetween<false>(separators.data(), from, to))
        << from << " " << to;
  }
}

// Heads of long tokens are bounded, and a token whose rest is not asked for is skipped whole.
TEST(TokenReader, LongTokensInBoundedHeads) {
  const std::string text = "P " + std::string(100000, 'x') + " L " + std::string(70000, 'y');
  std::istringstream in(text);
  TokenReader reader(in, 4096, 4096);
  std::vector<std::string> heads;
  std::vector<bool> partial;
  for (std::string_view token; reader.next(&token);) {
    heads.emplace_back(token);
    partial.push_back(reader.isPartial());
  }
  EXPECT_EQ(heads,
            (std::vector<std::string>{"P", std::string(4096, 'x'), "L", std::string(4096, 'y')}));
  EXPECT_EQ(partial, (std::vector<bool>{false, true, false, true}));
}

}  // namespace
}  // namespace lines2svg
