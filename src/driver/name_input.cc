#include "driver/name_input.h"

#include <climits>
#include <limits>

#include "text/token_reader.h"

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

}  // namespace

template <typename Char>
bool NameCollector<Char>::offer(Char c) {
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
bool NameCollector<Char>::finish(std::basic_string<Char>* name) const {
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

bool StreamNameInput::readName(NativeName* name) {
  // A Windows code page takes at most four bytes for a UTF-16 unit.
  const std::size_t maxBytes =
      sizeof(NativeName::value_type) == 1 ? maxNameLength() : 4 * maxNameLength();
  NameCollector<char> collector(kHostPathStyle, maxBytes);
  std::streambuf* source = in_.rdbuf();
  for (;;) {
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
  *name = decodePipedName(bytes, pipeCodePages(), nameExists);
  return name->size() <= maxNameLength();
#else
  *name = std::move(bytes);
  return true;
#endif
}

void StreamNameInput::waitForKey() {
  if (in_.eof()) return;
  in_.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  in_.get();
}

}  // namespace lines2svg
