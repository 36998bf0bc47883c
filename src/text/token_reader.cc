// Splitting a stream into tokens through one buffer and a bitmap of its separators.
#include "text/token_reader.h"

#include <algorithm>
#include <cstring>

namespace lines2svg {

TokenReader::TokenReader(std::istream& in, std::size_t bufferSize, std::size_t maxWholeToken)
    : in_(in),
      capacity_(std::max<std::size_t>(bufferSize, 1)),
      maxWholeToken_(maxWholeToken),
      buffer_(new char[capacity_ + kTokenPadding]),
      separators_(new std::uint64_t[(capacity_ + 63) / 64 + 1]) {
  // Reserved now, so that no allocation can fail once a pass has begun to write.
  spill_.reserve(maxWholeToken_ + capacity_ + kTokenPadding);
  pairFirst_.reserve(capacity_ + kTokenPadding);
}

bool TokenReader::refill() {
  pos_ = 0;
  end_ = 0;
  words_ = 0;
  lastSeparator_ = 0;
  classified_ = false;
  scans_ = 0;
  if (exhausted_) return false;
  std::streambuf* source = in_.rdbuf();
  const std::streamsize got =
      source != nullptr ? source->sgetn(buffer_.get(), static_cast<std::streamsize>(capacity_)) : 0;
  if (got <= 0) {
    exhausted_ = true;
    return false;
  }
  end_ = static_cast<std::size_t>(got);
  std::memset(buffer_.get() + end_, 0, kTokenPadding);
  words_ = (end_ + 63) / 64;
  return true;
}

void TokenReader::markSeparators() {
  classified_ = true;
  const char* data = buffer_.get();
  const std::size_t whole = end_ / 64;
  separatorWords(data, whole, separators_.get());
  if (whole < words_) separators_[whole] = separatorBits(data + 64 * whole, end_ - 64 * whole);
  separators_[words_] = ~std::uint64_t{0};
  // The last separator, from the words last first, the bits past end_ left out: mostly in the last
  // word, and in a fill that is one token, a word at a time rather than a byte.
  for (std::size_t word = words_; word-- > 0;) {
    std::uint64_t bits = separators_[word];
    if (word == whole) bits &= (std::uint64_t{1} << (end_ % 64)) - 1;
    if (bits != 0) {
      lastSeparator_ = word * 64 + highestSetBit(bits);
      break;
    }
  }
}

std::size_t TokenReader::scanFor(std::size_t from, bool tokenByte) {
  // Past a few searches, the bitmap pays for itself.
  constexpr std::size_t kScansBeforeClassifying = 64;
  if (++scans_ > kScansBeforeClassifying) {
    markSeparators();
    return findBit(from, tokenByte ? ~std::uint64_t{0} : 0);
  }
  const char* const data = buffer_.get();
  while (from < end_ && isTokenSpace(data[from]) == tokenByte) ++from;
  return from;
}

std::size_t TokenReader::readHundredthsPairs(HundredthsPair* pairs, std::size_t most) {
  if (pos_ >= end_) return 0;
  const char* const data = buffer_.get();
  // A separator, as pos_ is between calls. The NUL padding after end_ stops the skip, and is
  // neither digit nor separator, so that no pair that reaches it is read here.
  const char* p = data + pos_;
  std::size_t count = 0;
  for (; count < most; ++count) {
    const char* start = p + 1;
    while (isTokenSpace(*start)) ++start;
    const char* stop = nullptr;
    if (!readHundredthsPrefix(start, &stop, &pairs[count].first) || !isTokenSpace(*stop) ||
        !readHundredthsPrefix(stop + 1, &stop, &pairs[count].second) || !isTokenSpace(*stop)) {
      break;
    }
    p = stop;
  }
  pos_ = static_cast<std::size_t>(p - data);
  return count;
}

bool TokenReader::taggedPairAt(char tag, char otherTag, std::string_view* pair) {
  if (pos_ >= lastSeparator_) return false;
  // The separator bits from pos_ on, read from the byte of the bitmap that holds pos_'s bit: at
  // least the 57 of the bytes pos_ to pos_ + 56, and then bits cleared by the shift, which are no
  // separators. A set bit, then, is always a separator, and a token the window shows ending ends
  // there. The bits past the buffer's last separator are cleared too, so that a token the window
  // shows ending does end in the buffer, and every byte read lies before that separator or just
  // past it, in the padding.
  std::uint64_t window;
  std::memcpy(&window, reinterpret_cast<const char*>(separators_.get()) + pos_ / 8, sizeof window);
  window >>= pos_ % 8;
  if (const std::size_t last = lastSeparator_ - pos_; last < 63) {
    window &= (std::uint64_t{2} << last) - 1;
  }
  if (~window == 0) return false;
  const char* const bytes = buffer_.get() + pos_;
  const std::size_t start = lowestSetBit(~window);
  const std::size_t first = start + 2;
  if ((bytes[start] != tag && bytes[start] != otherTag) || bytes[start + 1] != ' ' || first >= 64 ||
      (window >> first & 1) != 0 || window >> first == 0) {
    return false;
  }
  const std::size_t gap = first + lowestSetBit(window >> first);
  const std::size_t second = gap + 1;
  if (bytes[gap] != ' ' || second >= 64 || (window >> second & 1) != 0 || window >> second == 0) {
    return false;
  }
  const std::size_t end = second + lowestSetBit(window >> second);
  if (end == second + 1 && (bytes[second] == tag || bytes[second] == otherTag)) return false;
  *pair = std::string_view(bytes + first, end - first);
  pos_ += end;
  return true;
}

bool TokenReader::skipTo(std::string_view word) {
  const char* const data = buffer_.get();
  for (;;) {
    ensureClassified();
    // From a separator on, up to the last separator, every token lies whole in the buffer.
    if (pos_ < lastSeparator_ && isSeparatorAt(pos_)) {
      for (std::size_t from = pos_;;) {
        const void* hit = std::memchr(data + from, word[0], lastSeparator_ - from);
        if (hit == nullptr) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        // Most such bytes begin another token ("&E" for "&L"): its next bytes are compared first,
        // one by one, which readable padding after the buffer allows.
        std::size_t matched = 1;
        while (matched < word.size() && data[at + matched] == word[matched]) ++matched;
        const std::size_t after = at + word.size();
        if (matched == word.size() && isSeparatorAt(at - 1) && after <= lastSeparator_ &&
            isSeparatorAt(after)) {
          pos_ = after;
          return true;
        }
        from = at + 1;
      }
      pos_ = lastSeparator_;
    }
    // The token that may run on into the next fill, taken whole.
    std::string_view token;
    if (!next(&token)) return false;
    if (token == word && !partial_) return true;
  }
}

std::size_t TokenReader::countTokensBefore(char marker, bool* found) {
  std::size_t count = 0;
  const char* const data = buffer_.get();
  for (;;) {
    ensureClassified();
    // From a separator on, up to the last separator, every token lies whole in the buffer: the
    // marker is looked for as a byte standing alone (memchr), and the tokens before it are
    // counted by where they start.
    if (pos_ < lastSeparator_ && isSeparatorAt(pos_)) {
      for (std::size_t from = pos_;;) {
        const void* hit = std::memchr(data + from, marker, lastSeparator_ - from);
        if (hit == nullptr) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (isSeparatorAt(at - 1) && isSeparatorAt(at + 1)) {
          count += tokenStartsBetween(separators_.get(), pos_, at);
          pos_ = at + 1;
          *found = true;
          return count;
        }
        from = at + 1;
      }
      count += tokenStartsBetween(separators_.get(), pos_, lastSeparator_);
      pos_ = lastSeparator_;
    }
    // The token that may run on into the next fill, taken whole.
    std::string_view token;
    if (!next(&token)) {
      *found = false;
      return count;
    }
    if (token.size() == 1 && token[0] == marker && !partial_) {
      *found = true;
      return count;
    }
    ++count;
  }
}

bool TokenReader::nextAcrossRefill(std::string_view* token) {
  if (partial_) skipRestOfToken();
  std::size_t start = findTokenByte(pos_);
  while (start == end_) {
    if (!refill()) return false;
    start = findTokenByte(0);
  }
  const char* data = buffer_.get();
  std::size_t stop = findSeparator(start);
  if (stop < end_) {
    pos_ = stop;
    *token = std::string_view(data + start, stop - start);
    return true;
  }
  // The token reaches the end of the buffer and may go on in the next fill. It is gathered up to
  // maxWholeToken_ bytes; past that, the rest is left for nextPiece().
  spill_.assign(data + start, end_ - start);
  pos_ = end_;
  for (bool first = true; refill(); first = false) {
    // A token that has filled a whole buffer is searched through the bitmap from then on.
    if (!first) ensureClassified();
    stop = findSeparator(0);
    const std::size_t room = maxWholeToken_ > spill_.size() ? maxWholeToken_ - spill_.size() : 0;
    if (stop > room) {
      spill_.append(data, room);
      piecePos_ = room;
      pos_ = end_;
      partial_ = true;
      break;
    }
    spill_.append(data, stop);
    pos_ = stop;
    if (stop < end_) break;
  }
  spill_.append(kTokenPadding, '\0');
  *token = std::string_view(spill_.data(), spill_.size() - kTokenPadding);
  return true;
}

bool TokenReader::nextPiece(std::string_view* piece) {
  if (!partial_) return false;
  if (piecePos_ == end_) {
    if (!refill()) {
      partial_ = false;
      return false;
    }
    piecePos_ = 0;
  }
  ensureClassified();
  const std::size_t stop = findSeparator(piecePos_);
  if (stop == piecePos_) {
    partial_ = false;
    pos_ = stop;
    return false;
  }
  *piece = std::string_view(buffer_.get() + piecePos_, stop - piecePos_);
  piecePos_ = stop;
  pos_ = end_;
  return true;
}

void TokenReader::skipRestOfToken() {
  std::string_view piece;
  while (nextPiece(&piece)) {
  }
}

bool TokenReader::secondAcrossRefill(std::string_view* first, std::string_view* second) {
  pairFirst_.assign(*first);
  pairFirst_.append(kTokenPadding, '\0');
  *first = std::string_view(pairFirst_.data(), first->size());
  return nextAcrossRefill(second);
}

}  // namespace lines2svg
