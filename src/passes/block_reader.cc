#include "passes/block_reader.h"

namespace lines2svg {

bool BlockReader::nextBlock() {
  std::string_view token;
  if (!started_) {
    started_ = true;
    inBlock_ = tokens_.next(&token);
    exhausted_ = !inBlock_;
    return inBlock_;
  }
  while (nextToken(&token)) {
  }
  if (exhausted_) return false;
  inBlock_ = true;
  return true;
}

bool BlockReader::nextToken(std::string_view* token) {
  if (!inBlock_) return false;
  if (!tokens_.next(token)) {
    exhausted_ = true;
    inBlock_ = false;
    return false;
  }
  if (*token == "x") {
    inBlock_ = false;
    return false;
  }
  return true;
}

bool BlockReader::readNumberSlowly(std::string_view token, double* value) {
  if (!tokens_.isPartial()) return detail::readNumberSlowly(token, value);
  NumberScanner scanner;
  scanner.feed(token);
  for (std::string_view piece; tokens_.nextPiece(&piece);) scanner.feed(piece);
  return scanner.finish(value);
}

VertexRead nextVertex(BlockReader& blocks, double* first, double* second) {
  std::string_view token;
  if (!blocks.nextToken(&token)) return VertexRead::kEnd;
  bool firstRead = blocks.readNumber(token, first);
  if (!blocks.nextToken(&token)) return VertexRead::kOddToken;
  bool secondRead = blocks.readNumber(token, second);
  return firstRead && secondRead ? VertexRead::kRead : VertexRead::kUnreadable;
}

}  // namespace lines2svg
