// Reading the drawing's name from a stream, one character at a time.
#include "driver/name_input.h"

#include <climits>

#include "text/token_space.h"

#if defined(_WIN32)
#include "driver/windows_console.h"
#endif

namespace lines2svg {

namespace {

// A typed name is separated by the same six characters as the tokens of a file.
template <typename Char>
bool isNameSeparator(Char c) {
  return c == Char(static_cast<char>(c)) && isTokenSpace(static_cast<char>(c));
}

// The UTF-8 byte-order mark.
constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

}  // namespace

template <typename Char>
bool NameCollector<Char>::skipMark(Char c) {
  if constexpr (sizeof(Char) == 1) {
    if (static_cast<unsigned char>(c) == kUtf8Mark[markMatched_]) {
      markSettled_ = ++markMatched_ == sizeof kUtf8Mark;
      return true;
    }
    // Not a mark after all: the bytes held back are the name's.
    markSettled_ = true;
    for (std::size_t i = 0; i < markMatched_; ++i) take(static_cast<Char>(kUtf8Mark[i]));
    return false;
  } else {
    markSettled_ = true;
    return c == Char(0xFEFF);
  }
}

template <typename Char>
bool NameCollector<Char>::offer(Char c) {
  if (!markSettled_ && skipMark(c)) return true;
  return take(c);
}

template <typename Char>
bool NameCollector<Char>::take(Char c) {
  switch (state_) {
    case State::kLeading:
      if (isNameSeparator(c)) return true;
      if (c == Char('"') && style_ == PathStyle::kWindows) {
        state_ = State::kQuoted;
        return true;
      }
      state_ = State::kWord;
      keep(c);
      return true;
    case State::kWord:
      if (isNameSeparator(c)) {
        state_ = State::kDone;
        return false;
      }
      keep(c);
      return true;
    case State::kQuoted:
      if (c == Char('"')) {
        state_ = State::kDone;
        return true;
      }
      if (c == Char('\n') || c == Char('\r')) {
        state_ = State::kDone;
        return false;
      }
      keep(c);
      return true;
    case State::kDone:
      break;
  }
  return false;
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
  if (!markSettled_) {
    markSettled_ = true;
    for (std::size_t i = 0; i < markMatched_; ++i) take(static_cast<Char>(kUtf8Mark[i]));
  }
  if (name_.empty() || tooLong_ || holdsNul_) return false;
  *name = name_;
  return true;
}

template class NameCollector<char>;
template class NameCollector<wchar_t>;

std::size_t maxNameLength() {
#if defined(_WIN32)
  return 32767;
#elif defined(PATH_MAX)
  return PATH_MAX - 1;
#else
  return 4095;
#endif
}

std::size_t maxNameBytes() {
  // A Windows code page takes at most four bytes for a UTF-16 unit.
  return sizeof(NativeName::value_type) == 1 ? maxNameLength() : 4 * maxNameLength();
}

bool StreamNameInput::readName(NativeName* name) {
  NameCollector<char> collector(kHostPathStyle, maxNameBytes());
  std::streambuf* source = in_.rdbuf();
  // Reading stops as soon as the name cannot name a file, so that endless input ends too.
  while (!collector.hopeless()) {
    const int c = source->sgetc();
    if (c == std::char_traits<char>::eof()) {
      in_.setstate(std::ios_base::eofbit);
      break;
    }
    if (!collector.offer(std::char_traits<char>::to_char_type(c))) break;
    source->sbumpc();
  }
  std::string bytes;
  if (!collector.finish(&bytes)) return false;
#if defined(_WIN32)
  *name = decodePipedName(bytes, pipeCodePages(), namesFile);
  return name->size() <= maxNameLength();
#else
  *name = std::move(bytes);
  return true;
#endif
}

void StreamNameInput::waitForKey() {
  if (in_.eof()) return;
  // The rest of the line is skipped, but no further than a name could reach: input that never
  // ends a line ends the wait as a key would.
  const auto limit = static_cast<std::streamsize>(maxNameBytes());
  in_.ignore(limit, '\n');
  if (in_.gcount() < limit && !in_.eof()) in_.get();
}

}  // namespace lines2svg
