// Reading the vertex file block by block, and its vertices as numbers.
#include "passes/block_reader.h"

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

VertexRead BlockReader::readVertex(double* first, double* second) {
  std::string_view token;
  if (!nextToken(&token)) return VertexRead::kEnd;
  const bool firstRead = readTokenAsNumber(token, first);
  if (!nextToken(&token)) return VertexRead::kOddToken;
  const bool secondRead = readTokenAsNumber(token, second);
  return firstRead && secondRead ? VertexRead::kRead : VertexRead::kUnreadable;
}

}  // namespace lines2svg
