// Reading the vertex file block by block, and its vertices as numbers.
#include "passes/block_reader.h"

#include "passes/passes.h"
#include "text/short_decimal.h"

namespace lines2svg {

bool BlockReader::nextBlock() {
  std::string_view token;
  if (!started_) {
    started_ = true;
    inBlock_ = tokens_.next(&token);
    noTokenLeft_ = !inBlock_;
    return inBlock_;
  }
  countRestOfBlock();
  if (noTokenLeft_) return false;
  inBlock_ = true;
  return true;
}

std::size_t BlockReader::countRestOfBlock() {
  if (!inBlock_) return 0;
  if (tokens_.skipMarker('x')) {
    inBlock_ = false;
    return 0;
  }
  bool marker = false;
  const std::size_t count = tokens_.countTokensBefore('x', &marker);
  inBlock_ = false;
  noTokenLeft_ = !marker;
  return count;
}

bool BlockReader::nextToken(std::string_view* token) {
  if (!inBlock_) return false;
  if (!tokens_.next(token)) {
    noTokenLeft_ = true;
    inBlock_ = false;
    return false;
  }
  if (*token == "x") {
    inBlock_ = false;
    return false;
  }
  return true;
}

bool BlockReader::readTokenAsNumber(std::string_view token, double* value) {
  NumberScanner scanner;
  scanner.feed(token);
  if (tokens_.isPartial()) {
    for (std::string_view piece; tokens_.nextPiece(&piece);) scanner.feed(piece);
  }
  return scanner.finish(value);
}

namespace {

// What taking a block's next token as a number found.
enum class NumberRead { kRead, kUnreadable, kNone };

// The block's next token as a number through readNumber, for tokens that are no short decimal.
NumberRead readAnyCoordinate(BlockReader& blocks, double* value) {
  std::string_view token;
  if (!blocks.nextToken(&token)) return NumberRead::kNone;
  return blocks.readTokenAsNumber(token, value) ? NumberRead::kRead : NumberRead::kUnreadable;
}

NumberRead readAnyCoordinate(BlockReader& blocks, Coordinate* value) {
  return readAnyCoordinate(blocks, &value->value);
}

NumberRead readAnyCoordinate(BlockReader& blocks, std::int32_t* value) {
  double number = 0;
  const NumberRead read = readAnyCoordinate(blocks, &number);
  if (read == NumberRead::kRead) *value = truncateToInt32(number);
  return read;
}

// The block's next token as a number when it is a short decimal, straight from the buffer.
bool readShortCoordinate(BlockReader& blocks, std::int32_t* value) {
  return blocks.nextShortDecimalTruncated(value);
}

bool readShortCoordinate(BlockReader& blocks, Coordinate* value) {
  value->inHundredths = blocks.nextHundredths(&value->hundredths);
  return value->inHundredths || blocks.nextShortDecimal(&value->value);
}

template <typename Value>
NumberRead readNextNumber(BlockReader& blocks, Value* value) {
  return readShortCoordinate(blocks, value) ? NumberRead::kRead : readAnyCoordinate(blocks, value);
}

}  // namespace

template <typename Value>
VertexRead nextVertex(BlockReader& blocks, Value* first, Value* second) {
  const NumberRead firstRead = readNextNumber(blocks, first);
  if (firstRead == NumberRead::kNone) return VertexRead::kEnd;
  const NumberRead secondRead = readNextNumber(blocks, second);
  if (secondRead == NumberRead::kNone) return VertexRead::kOddToken;
  return firstRead == NumberRead::kRead && secondRead == NumberRead::kRead
             ? VertexRead::kRead
             : VertexRead::kUnreadable;
}

template VertexRead nextVertex(BlockReader&, std::int32_t*, std::int32_t*);
template VertexRead nextVertex(BlockReader&, Coordinate*, Coordinate*);

}  // namespace lines2svg
