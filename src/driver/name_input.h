#ifndef LINES2SVG_DRIVER_NAME_INPUT_H_
#define LINES2SVG_DRIVER_NAME_INPUT_H_

#include <cstddef>
#include <istream>
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
  // name, so that a console window opened just for this run stays open. Input that has already
  // ended is not waited on, and no more than kMostSkippedInWait characters of the rest of the line
  // are read.
  virtual void waitForKey() = 0;
};

// How much of the rest of the line a wait skips at most: more than any name on any system (32,767
// UTF-16 units, each at most four bytes when piped), so that input that never ends a line ends
// the wait as a key would.
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

  // True while only separators have been offered.
  bool waiting() const { return state_ == State::kLeading; }

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

// Offers the bytes of `in` to `collector` until the name ends or cannot be one, leaving the byte
// that ended it unread; `ended` tells whether the input ended.
void collectBytes(std::streambuf& in, NameCollector<char>* collector, bool* ended);

// How a name is read from a byte stream on this system: readPipedName, or a stand-in in tests.
// `ended` tells whether the input has ended.
using ReadPipedName = bool (*)(std::streambuf& in, NativeName* name, bool* ended);

// Reads the name from a byte stream: a pipe, a file or a terminal.
class StreamNameInput : public NameInput {
 public:
  StreamNameInput(std::istream& in, ReadPipedName read) : in_(*in.rdbuf()), read_(read) {}

  bool readName(NativeName* name) override { return read_(in_, name, &ended_); }
  void waitForKey() override;

 private:
  std::streambuf& in_;
  ReadPipedName read_;
  bool ended_ = false;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_NAME_INPUT_H_
