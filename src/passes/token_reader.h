#ifndef LINES2SVG_PASSES_TOKEN_READER_H_
#define LINES2SVG_PASSES_TOKEN_READER_H_

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace lines2svg {

// True for the six characters that separate tokens: tab, line feed, vertical tab, form feed,
// carriage return and space. Every other byte, NUL and bytes above 127 included, is part of a
// token.
inline bool isTokenSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Splits a stream into tokens through one large buffer filled with rdbuf()->sgetn, so that the
// memory used does not grow with the stream, only with its longest token.
class TokenReader {
 public:
  static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 18;

  explicit TokenReader(std::istream& in, std::size_t bufferSize = kDefaultBufferSize);

  // Moves to the next token and points `token` at it; the view stays valid until the next call.
  // Returns false, leaving `token` alone, once the stream holds no more tokens.
  bool next(std::string_view* token);

 private:
  // Refills the buffer from the stream; false when the stream gave nothing more.
  bool refill();

  std::istream& in_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
  // Holds a token that runs across a refill.
  std::string spill_;
};

}  // namespace lines2svg

#endif  // LINES2SVG_PASSES_TOKEN_READER_H_
