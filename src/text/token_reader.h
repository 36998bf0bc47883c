#ifndef LINES2SVG_TEXT_TOKEN_READER_H_
#define LINES2SVG_TEXT_TOKEN_READER_H_

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "text/bits.h"
#include "text/buffer_size.h"
#include "text/number_scanner.h"
#include "text/token_space.h"

namespace lines2svg {

// A vertex's two coordinates in hundredths.
struct HundredthsPair {
  std::int64_t first;
  std::int64_t second;
};

// Splits a stream into tokens through one large buffer filled with rdbuf()->sgetn, in memory that
// does not grow with the stream or with its tokens. A fill searched more than a few times (scanFor
// goes byte by byte up to 64 searches) is classified into a bitmap of separator positions, so that
// a token's start and end are found by counting zero bits; a fill read only as pairs of
// coordinates (readHundredthsPairs) is never classified.
//
// A token handed out is in one of three states: whole in the buffer, a separator after it there;
// spilled, when it ran across a refill, held in spill_ (or pairFirst_, the first of a pair) with
// NULs after it; or partial, longer than `maxWholeToken` and running across a refill: only its head
// is in spill_, isPartial() is true, and nextPiece() streams the rest. A head that long never
// equals a short word. A view stays valid until the next call that moves on, and is followed by
// at least kTokenPadding readable bytes, the first a separator or NUL, never a token byte.
//
// The tokens end where the stream's buffer gives no more bytes; a buffer that fails to read tells
// its owner so itself. All memory is taken when the reader is made. Extraction walks the drawing
// with skipTo(), next() and nextAfter(), its commonest records taken by readTaggedPairs(); the
// other passes read the vertex file through BlockReader, with next(), readHundredthsPairs(),
// skipMarker() and countTokensBefore(); both take long tokens with isPartial() and nextPiece().
class TokenReader {
 public:
  static constexpr std::size_t kTokenPadding = 32;

  explicit TokenReader(std::istream& in, std::size_t bufferSize = kIoBufferSize,
                       std::size_t maxWholeToken = kIoBufferSize);

  // Moves to the next token and points `token` at it, or at its head; the view stays valid until
  // the next call of next() or nextAfter(). The rest of a partial token not yet taken is skipped.
  // Returns false, leaving `token` alone, once the stream holds no more tokens.
  bool next(std::string_view* token) {
    // Most tokens lie wholly inside the buffer with a separator after them.
    const std::size_t start = tokenStart();
    const std::size_t stop = findSeparator(start);
    if (stop == end_) return nextAcrossRefill(token);
    pos_ = stop;
    *token = std::string_view(buffer_.get() + start, stop - start);
    return true;
  }

  // Moves to the token after `first`, which next() has just handed out whole, keeping `first`
  // valid too until the next call. Returns false when there is none.
  bool nextAfter(std::string_view* first, std::string_view* second) {
    const std::size_t start = tokenStart();
    const std::size_t stop = findSeparator(start);
    if (stop == end_) return secondAcrossRefill(first, second);
    pos_ = stop;
    *second = std::string_view(buffer_.get() + start, stop - start);
    return true;
  }

  // Reads the pairs of tokens ahead that lie whole in the buffer and are coordinates in
  // hundredths (see readHundredthsPrefix), one separator apart, into `pairs`, at most `most` of
  // them, and returns how many it read. It stops before the first pair that is not, which is left
  // to the other readers. A vertex file's lines are mostly such pairs, read here in one loop.
  std::size_t readHundredthsPairs(HundredthsPair* pairs, std::size_t most);
  // Moves past the next token if it is the single character `marker` and lies whole in the
  // buffer; otherwise returns false and moves nowhere.
  bool skipMarker(char marker) {
    const std::size_t start = tokenStart();
    if (start >= end_ || buffer_[start] != marker || !isTokenSpace(buffer_[start + 1]))
      return false;
    pos_ = start + 1;
    return true;
  }

  // Reads the records ahead that lie in the fill as three tokens one space apart: a tag of one
  // byte, `tag` or `otherTag`, then two more tokens, the last of them no tag. Each is handed to
  // `take` as its last two tokens with the space between them, a view into the buffer followed by
  // a separator, and by at least 31 more readable bytes; it stops before the first record that is
  // not such, or that the fill's next 64 bytes do not hold, and leaves it to next(). The separator
  // bitmap tells where each record's tokens end: from a separator's position, one window of it
  // shows all three.
  template <typename Take>
  void readTaggedPairs(char tag, char otherTag, Take take) {
    if (partial_) return;
    ensureClassified();
    for (std::string_view pair; taggedPairAt(tag, otherTag, &pair);) take(pair);
  }

  // Moves past the tokens up to and including the next one that equals `word`, which must hold no
  // separator and at most kTokenPadding bytes; false if the stream ends first. Within the buffer
  // only the bytes that could begin `word` are looked at (memchr), each checked for standing alone
  // as the token.
  bool skipTo(std::string_view word);
  // Moves past the tokens up to and including the next one that is the single character `marker`,
  // and returns how many came before it; `found` tells whether the marker came or the stream
  // ended. The tokens lying whole in the buffer are counted from the separator bitmap alone, by
  // where they start, a word of it at a time.
  std::size_t countTokensBefore(char marker, bool* found);
  // True when the token last handed out is only the head of a longer one.
  bool isPartial() const { return partial_; }
  // The next piece of a partial token; false once the token has ended.
  bool nextPiece(std::string_view* piece);

 private:
  // The first position from `from` on whose bit in separators_ is set in `bits ^ flip`; end_ if
  // the buffer has none. Past end_ every bit is a separator, so a search for one stops at end_ at
  // the latest, and a search for a token byte finds none there.
  std::size_t findBit(std::size_t from, std::uint64_t flip) {
    if (from >= end_) return end_;
    if (!classified_) return scanFor(from, flip != 0);
    std::size_t word = from / 64;
    std::uint64_t bits = (separators_[word] ^ flip) & (~std::uint64_t{0} << (from % 64));
    while (bits == 0) {
      if (++word == words_) return end_;
      bits = separators_[word] ^ flip;
    }
    return word * 64 + lowestSetBit(bits);
  }

  // The first separator from `from` on; end_ if the buffer has none.
  std::size_t findSeparator(std::size_t from) { return findBit(from, 0); }

  // The first token byte from `from` on; end_ if the buffer has none.
  std::size_t findTokenByte(std::size_t from) { return findBit(from, ~std::uint64_t{0}); }

  // Where the next token starts, end_ if not in the buffer: mostly right after the one separator
  // that ended the last, or the two of a Windows line end, and otherwise where the bitmap says.
  // The padding after end_ is no separator, so the second look stays inside it.
  std::size_t tokenStart() {
    if (pos_ + 1 < end_ && !isTokenSpace(buffer_[pos_ + 1])) return pos_ + 1;
    if (pos_ + 2 < end_ && !isTokenSpace(buffer_[pos_ + 2])) return pos_ + 2;
    return findTokenByte(pos_);
  }

  // Builds the separator bitmap of the fill and finds its last separator.
  void markSeparators();

  // Classifies the fill if that has not been done: the bitmap is built only for a fill that is
  // searched by it. The vertex lines most passes read need none.
  void ensureClassified() {
    if (!classified_) markSeparators();
  }

  // findBit in a fill not yet classified, byte by byte, for the few short searches such a fill
  // mostly meets; past a number of them in one fill, the fill is classified and the bitmap
  // searched. A token that runs across fills is searched for in the fill it reaches first byte by
  // byte, and in every fill after that through the bitmap.
  std::size_t scanFor(std::size_t from, bool tokenByte);

  // True when buffer_[i] is a separator; i must be below end_ and the fill classified.
  bool isSeparatorAt(std::size_t i) const { return (separators_[i / 64] >> (i % 64)) & 1; }

  // readTaggedPairs' step: the record after pos_ when it is such, and pos_ moved past it.
  bool taggedPairAt(char tag, char otherTag, std::string_view* pair);

  // next() for a token that may reach past the end of the buffer.
  bool nextAcrossRefill(std::string_view* token);

  // nextAfter() for a second token that may reach past the end of the buffer.
  bool secondAcrossRefill(std::string_view* first, std::string_view* second);

  // Reads and drops what is left of a partial token, which its reader did not take.
  void skipRestOfToken();

  // Refills the buffer from the stream, its bitmap not yet built; false when the stream gave
  // nothing more.
  bool refill();

  std::istream& in_;
  // The size of a fill.
  std::size_t capacity_;
  // The longest token held whole across a refill; a longer one is handed out in pieces.
  std::size_t maxWholeToken_;
  // The fill: capacity_ bytes, and kTokenPadding NULs after its end.
  std::unique_ptr<char[]> buffer_;
  // Bit i of word i / 64 is set when buffer_[i] is a separator; the bits past end_ are set too,
  // and so is the word after the fill's last, which a window reaching past end_ reads.
  std::unique_ptr<std::uint64_t[]> separators_;
  // The words of separators_ that the fill covers.
  std::size_t words_ = 0;
  // Where reading goes on. Between calls it is end_, or a separator's position: every token
  // handed out ends at one, and a refill sets it before any call returns.
  std::size_t pos_ = 0;
  // The number of bytes in the fill.
  std::size_t end_ = 0;
  // The last separator in the buffer (0 if none), once it is classified: every token that starts
  // before it ends in the buffer, and only the one after it may go on in the next fill.
  std::size_t lastSeparator_ = 0;
  // True once separators_ and lastSeparator_ describe the fill.
  bool classified_ = false;
  // The searches made byte by byte in this fill.
  std::size_t scans_ = 0;
  // True once the stream has given its last byte.
  bool exhausted_ = false;
  // While a partial token's rest is pending, pos_ is held at end_, so that next() takes its slow
  // path and skips that rest first; the rest goes on from piecePos_.
  bool partial_ = false;
  std::size_t piecePos_ = 0;
  // Holds a token that runs across a refill, or the head of a partial one, then kTokenPadding NULs.
  std::string spill_;
  // Holds the first of a pair while a refill brings in the second, then kTokenPadding NULs.
  std::string pairFirst_;
};

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_TOKEN_READER_H_
