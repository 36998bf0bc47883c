#ifndef LINES2SVG_PASSES_BLOCK_READER_H_
#define LINES2SVG_PASSES_BLOCK_READER_H_

#include <cstdint>
#include <istream>
#include <string_view>

#include "text/number_scanner.h"
#include "text/token_reader.h"

namespace lines2svg {

// Walks the vertex file block by block. The file's first token opens the first block whatever
// its text, and every later token "x" closes the current block and opens the next one, so a
// reader can never take a token across a block marker. A block's tokens are taken one at a time
// (nextToken), as short decimals straight from the buffer (nextShortDecimal), or counted
// (countRestOfBlock).
class BlockReader {
 public:
  explicit BlockReader(std::istream& vertices) : tokens_(vertices) {}

  // The vertices readVerticesInHundredths reads in one go.
  static constexpr std::size_t kPairBatch = 64;

  // Skips what is left of the current block and opens the next; false when there is none.
  bool nextBlock();

  // Moves past what is left of the current block and returns how many tokens that was.
  std::size_t countRestOfBlock();

  // Moves to the current block's next token; false at the end of the block. A token too long to
  // be handed out whole comes as its head; readTokenAsNumber() takes in the rest.
  bool nextToken(std::string_view* token);

  // Moves to the current block's next token and reads it, when it is a short decimal lying whole
  // in the reader's buffer, as most coordinates are; otherwise moves nowhere and returns false.
  bool nextShortDecimal(double* value) {
    return inBlock_ && tokens_.nextShortNumber(value, readDecimalPrefix);
  }

  // nextShortDecimal() for the value truncated toward zero to 32 bits.
  bool nextShortDecimalTruncated(std::int32_t* value) {
    return inBlock_ && tokens_.nextShortNumber(value, truncateDecimalPrefix);
  }

  // nextShortDecimal() for a coordinate with at most two decimals, in hundredths.
  bool nextHundredths(std::int64_t* hundredths) {
    return inBlock_ && tokens_.nextShortNumber(hundredths, readHundredthsPrefix);
  }

  // Reads the current block's next vertices while both their coordinates are short decimals
  // with at most two decimals lying whole in the reader's buffer, handing each to `take` in
  // hundredths; the first vertex that is not is left to nextVertex. A block marker right after
  // them ends the block. The vertices are read a batch at a time, in a loop of their own, and
  // then handed on, so that neither loop's work crowds the other's out of the registers.
  template <typename Take>
  void readVerticesInHundredths(Take take) {
    if (!inBlock_) return;
    HundredthsPair pairs[kPairBatch];
    std::size_t count = 0;
    do {
      count = tokens_.readHundredthsPairs(pairs, kPairBatch);
      for (std::size_t i = 0; i < count; ++i) take(pairs[i].first, pairs[i].second);
    } while (count == kPairBatch);
    if (tokens_.skipMarker('x')) inBlock_ = false;
  }

  // Moves past the current block's next two tokens and reads them as a vertex in hundredths,
  // where readVerticesInHundredths would take them; otherwise returns false and moves nowhere.
  bool nextVertexInHundredths(HundredthsPair* pair) {
    return inBlock_ && tokens_.readHundredthsPairs(pair, 1) == 1;
  }

  // Reads the token nextToken() has just given as a number, as readNumber does, taking in the
  // rest of a token that comes in pieces.
  bool readTokenAsNumber(std::string_view token, double* value);

 private:
  TokenReader tokens_;
  // True once the file's first token, which opens the first block, has been read.
  bool started_ = false;
  // True while the current block has tokens left: until its closing "x" or the file's end.
  bool inBlock_ = false;
  // True once the file has no token left.
  bool noTokenLeft_ = false;
};

// What reading one vertex from a block found.
enum class VertexRead {
  // Both coordinates read as numbers.
  kRead,
  // Two tokens were taken, but at least one is not a number.
  kUnreadable,
  // The block had no token left.
  kEnd,
  // The block had one token left, which is used up: an odd last token has no partner.
  kOddToken,
};

// A coordinate as the SVG writer takes it: a whole number of hundredths where it has at most two
// decimals and at most eight whole digits (see readHundredthsPrefix), its double otherwise.
struct Coordinate {
  bool inHundredths = false;
  std::int64_t hundredths = 0;
  double value = 0;
};

// Takes the block's next two tokens as a vertex and reads them as readNumber does: as Coordinates,
// in hundredths where they can be, or as std::int32_t, truncated toward zero to 32 bits as
// truncateToInt32 gives them.
template <typename Value>
VertexRead nextVertex(BlockReader& blocks, Value* first, Value* second);

}  // namespace lines2svg

#endif  // LINES2SVG_PASSES_BLOCK_READER_H_
