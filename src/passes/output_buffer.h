#ifndef LINES2SVG_PASSES_OUTPUT_BUFFER_H_
#define LINES2SVG_PASSES_OUTPUT_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string_view>

namespace lines2svg {

// Collects a pass's output in one large buffer and hands it to the stream's buffer in big
// pieces, so that nothing is flushed line by line. A stream that refuses bytes is put into its
// bad state, where the caller can see it.
class OutputBuffer {
 public:
  static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 18;

  explicit OutputBuffer(std::ostream& out, std::size_t capacity = kDefaultCapacity);
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;
  // Flushes what is left.
  ~OutputBuffer();

  // Appends text.
  void write(std::string_view text) {
    if (text.size() <= capacity_ - used_) {
      text.copy(buffer_.get() + used_, text.size());
      used_ += text.size();
    } else {
      writeSlow(text);
    }
  }

  // Appends one character.
  void put(char c) {
    if (used_ == capacity_) drain();
    buffer_[used_++] = c;
  }

  // Appends a whole number in decimal.
  void writeInteger(std::int64_t value);

  // Hands everything to the stream and flushes the stream; false if the stream failed.
  bool flush();

 private:
  void writeSlow(std::string_view text);
  // Hands the buffered bytes to the stream's buffer.
  void drain();

  std::ostream& out_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t used_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_PASSES_OUTPUT_BUFFER_H_
