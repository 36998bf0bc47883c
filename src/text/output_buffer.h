#ifndef LINES2SVG_TEXT_OUTPUT_BUFFER_H_
#define LINES2SVG_TEXT_OUTPUT_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string_view>

#include "text/buffer_size.h"

namespace lines2svg {

// Collects a pass's output in one large buffer and hands it to the stream's buffer in big
// pieces, so that nothing is flushed line by line. A stream buffer that refuses bytes keeps that
// failure itself, as the run's files do, to be told when the pass ends; the buffer goes on
// handing it bytes, which it refuses too. Whatever fills the buffer is handed on at once, so a
// pass cut short by a failure (a write error, or an allocation that fails part-way) leaves the
// pieces handed on before it in the file; the rest is dropped, and the driver reports the pass.
class OutputBuffer {
 public:
  explicit OutputBuffer(std::ostream& out, std::size_t capacity = kIoBufferSize);
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // Appends text.
  [[gnu::always_inline]] void write(std::string_view text) {
    if (text.size() <= capacity_ - used_) {
      copyShort(buffer_.get() + used_, text.data(), text.size());
      used_ += text.size();
    } else {
      writeSlow(text);
    }
  }

  // Room for `size` more bytes, at most the capacity, at the end of the buffer, to be written in
  // place and then handed to commit().
  char* reserve(std::size_t size) {
    if (size > capacity_ - used_) drain();
    return buffer_.get() + used_;
  }

  // Takes in `size` bytes written in place after reserve().
  void commit(std::size_t size) { used_ += size; }

  // Appends one character.
  void put(char c) {
    if (used_ == capacity_) drain();
    buffer_[used_++] = c;
  }

  // Appends a whole number in decimal.
  void writeInteger(std::int64_t value);

  // Hands everything to the stream and flushes the stream.
  void flush();

 private:
  // Copies the short pieces most writes are with a few fixed-size moves, which the compiler
  // inlines, rather than a call to the library's memcpy.
  static void copyShort(char* to, const char* from, std::size_t size) {
    if (size >= 8 && size <= 16) {
      std::memcpy(to, from, 8);
      std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size > 16 && size <= 32) {
      std::memcpy(to, from, 16);
      std::memcpy(to + size - 16, from + size - 16, 16);
    } else if (size >= 4 && size < 8) {
      std::memcpy(to, from, 4);
      std::memcpy(to + size - 4, from + size - 4, 4);
    } else {
      std::memcpy(to, from, size);
    }
  }

  void writeSlow(std::string_view text);
  // Hands the buffered bytes to the stream's buffer.
  void drain();
  // Hands bytes to the stream's buffer.
  void send(const char* bytes, std::size_t size);

  std::ostream& out_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t used_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_OUTPUT_BUFFER_H_
