// Reading the drawing's name one character at a time.
#include "driver/name_input.h"

#include "text/token_space.h"
#include "text/unicode.h"

namespace lines2svg {

namespace {

// A typed name is separated by the same six characters as the tokens of a file.
template <typename Char>
bool isNameSeparator(Char c) {
  return c == Char(static_cast<char>(c)) && isTokenSpace(static_cast<char>(c));
}

}  // namespace

template <typename Char>
bool NameCollector<Char>::skipMark(Char c) {
  if constexpr (sizeof(Char) == 1) {
    if (static_cast<unsigned char>(c) == kUtf8Mark[markMatched_]) {
      markSettled_ = ++markMatched_ == sizeof kUtf8Mark;
      return true;
    }
    takeHeldMark();
    return false;
  } else {
    markSettled_ = true;
    return static_cast<unsigned long>(c) == kByteOrderMark;
  }
}

template <typename Char>
void NameCollector<Char>::takeHeldMark() {
  markSettled_ = true;
  for (std::size_t i = 0; i < markMatched_; ++i) take(static_cast<Char>(kUtf8Mark[i]));
}

template <typename Char>
bool NameCollector<Char>::offer(Char c) {
  if (!markSettled_ && skipMark(c)) return true;
  return take(c);
}

template <typename Char>
bool NameCollector<Char>::take(Char c) {
  if (state_ == State::kLeading) {
    if (isNameSeparator(c)) {
      // Endless blank input names no file, as an endless name does not.
      if (++leading_ > maxLength_) tooLong_ = true;
      return true;
    }
    const bool quoted = c == Char('"') && style_ == PathStyle::kWindows;
    state_ = quoted ? State::kQuoted : State::kWord;
    if (quoted) return true;
  }
  // A word ends at a separator, and a quoted name at its closing quote, which is taken, or at the
  // line's end.
  const bool ends = state_ == State::kDone ||
                    (state_ == State::kWord ? isNameSeparator(c)
                                            : c == Char('"') || c == Char('\n') || c == Char('\r'));
  if (!ends) {
    keep(c);
    return true;
  }
  const bool closingQuote = state_ == State::kQuoted && c == Char('"');
  state_ = State::kDone;
  return closingQuote;
}

template <typename Char>
void NameCollector<Char>::keep(Char c) {
  if (c == Char(0)) holdsNul_ = true;
  if (name_.size() < maxLength_) {
    name_.push_back(c);
  } else {
    tooLong_ = true;
  }
}

template <typename Char>
bool NameCollector<Char>::finish(std::basic_string<Char>* name) {
  // Input that ended inside what looked like a mark: those bytes are the name.
  if (!markSettled_) takeHeldMark();
  if (name_.empty() || tooLong_ || holdsNul_) return false;
  *name = name_;
  return true;
}

template class NameCollector<char>;
template class NameCollector<wchar_t>;

}  // namespace lines2svg
