#ifndef LINES2SVG_DRIVER_NAME_INPUT_H_
#define LINES2SVG_DRIVER_NAME_INPUT_H_

#include <cstddef>
#include <streambuf>
#include <string>

#include "driver/native_name.h"

namespace lines2svg {

// Where the drawing's name is typed, and where the program waits for a key after a message.
class NameInput {
 public:
  virtual ~NameInput() = default;
  // Reads the drawing's name. False when no usable name was typed: input ended first, or the
  // name holds a NUL character or is longer than any path the system accepts.
  virtual bool readName(NativeName* name) = 0;
  // Waits until one more character is typed, not counting the rest of the line that held the
  // name, so that a console window opened just for this run stays open. Input that has ended is
  // not waited on, nor is more of the line skipped than kMostSkippedInWait characters.
  virtual void waitForKey() = 0;
};

// How much of the rest of the line a wait skips at most: more than any name on any system, so
// that input that never ends a line ends the wait as a key would.
inline constexpr std::size_t kMostSkippedInWait = std::size_t{1} << 17;

// Gathers a typed name one character at a time, in bounded memory whatever is typed. Leading
// separators are skipped and the name runs to the next separator; in the Windows style a name
// that starts with a double quote runs to the next double quote, spaces included, or to the line
// end, and is kept without its quotes. A byte-order mark that opens the input is skipped, as
// Notepad writes one at the start of a file saved as UTF-8.
template <typename Char>
class NameCollector {
 public:
  NameCollector(PathStyle style, std::size_t maxLength) : style_(style), maxLength_(maxLength) {}

  // Offers the next typed character. True if it was taken; false once the name has ended before
  // it, in which case the character is left for whoever reads next.
  bool offer(Char c);
  // True once no name can follow: the name holds a NUL or is longer than the limit, or more
  // separators than the limit came before any name. Nothing more need be read.
  bool hopeless() const { return tooLong_ || holdsNul_; }
  // The name gathered; false if there is none, or it holds a NUL or is longer than the limit.
  bool finish(std::basic_string<Char>* name);

 private:
  enum class State { kLeading, kWord, kQuoted, kDone };

  // Takes a character after the byte-order mark, if any.
  bool take(Char c);
  // True when `c` belongs to a byte-order mark at the start of the input, and is dropped.
  bool skipMark(Char c);
  // Takes the bytes held back as the start of a mark that did not come, as the name's.
  void takeHeldMark();
  // Adds a character to the name, within the limit.
  void keep(Char c);

  PathStyle style_;
  std::size_t maxLength_;
  State state_ = State::kLeading;
  std::basic_string<Char> name_;
  // The separators skipped before the name.
  std::size_t leading_ = 0;
  bool tooLong_ = false;
  bool holdsNul_ = false;
  // The mark's bytes matched so far, while the input may still begin with one.
  std::size_t markMatched_ = 0;
  bool markSettled_ = false;
};

// Reads a name from `source` into `collector` until the name ends or cannot be one, leaving the
// character that ended it, and finishes it into `name`. A source of characters has
// `bool peek(Char*)`, false once input has ended, and `void take()`, which uses it up.
template <typename Char, typename Source>
bool collectName(Source& source, NameCollector<Char>* collector, std::basic_string<Char>* name) {
  Char c{};
  while (!collector->hopeless() && source.peek(&c) && collector->offer(c)) source.take();
  return collector->finish(name);
}

// NameInput::waitForKey on a source of characters: skips the rest of the line, then takes one more.
template <typename Char, typename Source>
void waitForKeyFrom(Source& source) {
  Char c{};
  for (std::size_t skipped = 0; skipped < kMostSkippedInWait && source.peek(&c); ++skipped) {
    source.take();
    if (c == '\n') {
      if (source.peek(&c)) source.take();
      return;
    }
  }
}

// Reads the name from a byte stream: a pipe, a file or a terminal. On Linux the name is its bytes.
// On Windows, input that starts with a UTF-16 byte-order mark is read as UTF-16; other bytes are
// decoded from the console's input code page, as a console writes them to a pipe, or if no file
// of that name exists, from the ANSI code page, or failing that as UTF-8.
class PipedNameInput : public NameInput {
 public:
  explicit PipedNameInput(std::streambuf& in) : in_(in) {}

  bool readName(NativeName* name) override;
  void waitForKey() override { waitForKeyFrom<char>(*this); }
  // The next byte, left unread; false once the input has ended, for good: a terminal is not read
  // again after its end.
  bool peek(char* c) {
    const int next = ended_ ? std::char_traits<char>::eof() : in_.sgetc();
    ended_ = next == std::char_traits<char>::eof();
    *c = std::char_traits<char>::to_char_type(next);
    return !ended_;
  }
  // Uses up the byte peeked.
  void take() { in_.sbumpc(); }

 private:
  std::streambuf& in_;
  bool ended_ = false;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_NAME_INPUT_H_
