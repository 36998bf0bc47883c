#ifndef LINES2SVG_PASSES_BLOCK_READER_H_
#define LINES2SVG_PASSES_BLOCK_READER_H_

#include <cstdint>
#include <istream>
#include <string_view>

#include "text/number_scanner.h"
#include "text/token_reader.h"

namespace lines2svg {

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

// Walks the vertex file block by block. The file's first token opens the first block whatever
// its text, and every later token "x" closes the current block and opens the next one, so a
// reader can never take a token across a block marker. A block's vertices are read by two
// readers: the fast one, a batch at a time, for the common form of coordinate (readPairs), and
// the general one, a vertex at a time, for any other (readVertex). Its tokens may also be counted
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

  // Reads up to `most` of the block's next vertices while both their coordinates have the common
  // form (readHundredthsPrefix) and lie whole in the reader's buffer, in hundredths, and returns
  // how many; the first vertex that does not is left to readVertex. A block marker right after
  // them ends the block.
  std::size_t readPairs(HundredthsPair* pairs, std::size_t most) {
    if (!inBlock_) return 0;
    const std::size_t count = tokens_.readHundredthsPairs(pairs, most);
    if (count < most && tokens_.skipMarker('x')) inBlock_ = false;
    return count;
  }

  // Hands the block's next vertices of the common form to `take` in hundredths, as readPairs
  // reads them: a batch at a time, in a loop of their own, and then handed on, so that neither
  // loop's work crowds the other's out of the registers.
  template <typename Take>
  void readVerticesInHundredths(Take take) {
    HundredthsPair pairs[kPairBatch];
    std::size_t count = 0;
    do {
      count = readPairs(pairs, kPairBatch);
      for (std::size_t i = 0; i < count; ++i) take(pairs[i].first, pairs[i].second);
    } while (count == kPairBatch);
  }

  // Takes the block's next two tokens as a vertex and reads them as readNumber does, with the
  // general scanner: any coordinate the fast reader left.
  VertexRead readVertex(double* first, double* second);

 private:
  // Moves to the current block's next token; false at the end of the block. A token too long to
  // be handed out whole comes as its head; readTokenAsNumber() takes in the rest.
  bool nextToken(std::string_view* token);

  // Reads the token nextToken() has just given as a number, as readNumber does, taking in the
  // rest of a token that comes in pieces.
  bool readTokenAsNumber(std::string_view token, double* value);

  TokenReader tokens_;
  // True once the file's first token, which opens the first block, has been read.
  bool started_ = false;
  // True while the current block has tokens left: until its closing "x" or the file's end.
  bool inBlock_ = false;
  // True once the file has no token left.
  bool noTokenLeft_ = false;
};

}  // namespace lines2svg

#endif  // LINES2SVG_PASSES_BLOCK_READER_H_
