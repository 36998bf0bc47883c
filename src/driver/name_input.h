#ifndef LINES2SVG_DRIVER_NAME_INPUT_H_
#define LINES2SVG_DRIVER_NAME_INPUT_H_

#include <cstddef>
#include <istream>
#include <string>

#include "driver/file_names.h"

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
  // ended is not waited on, and a rest of the line longer than any name is not read to its end.
  virtual void waitForKey() = 0;
};

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

  // True once the name can no longer name a file: it holds a NUL or is longer than the limit, so
  // nothing more need be read.
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
  bool tooLong_ = false;
  bool holdsNul_ = false;
  // The mark's bytes matched so far, while the input may still begin with one.
  std::size_t markMatched_ = 0;
  bool markSettled_ = false;
};

// The longest name the system can open, in the units of NativeName.
std::size_t maxNameLength();

// The most bytes a name can take in a byte stream.
std::size_t maxNameBytes();

// Reads the name from a byte stream: a pipe, a file or a terminal. On Linux the name is used as
// its bytes. On Windows the bytes are decoded from the console's input code page, as a console
// writes them to a pipe; if no file of that name exists, from the ANSI code page; failing that,
// as UTF-8 if they are valid UTF-8.
class StreamNameInput : public NameInput {
 public:
  explicit StreamNameInput(std::istream& in) : in_(in) {}

  bool readName(NativeName* name) override;
  void waitForKey() override;

 private:
  std::istream& in_;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_NAME_INPUT_H_
