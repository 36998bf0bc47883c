// Collecting a pass's output in one buffer.
#include "text/output_buffer.h"

#include "text/fixed_format.h"

namespace lines2svg {

OutputBuffer::OutputBuffer(std::ostream& out, std::size_t capacity)
    : out_(out),
      buffer_(new char[capacity > 0 ? capacity : 1]),
      capacity_(capacity > 0 ? capacity : 1) {}

void OutputBuffer::send(const char* bytes, std::size_t size) {
  if (std::streambuf* sink = out_.rdbuf(); sink != nullptr) {
    sink->sputn(bytes, static_cast<std::streamsize>(size));
  }
}

void OutputBuffer::drain() {
  if (used_ == 0) return;
  send(buffer_.get(), used_);
  used_ = 0;
}

void OutputBuffer::writeSlow(std::string_view text) {
  drain();
  if (text.size() < capacity_) {
    text.copy(buffer_.get(), text.size());
    used_ = text.size();
    return;
  }
  send(text.data(), text.size());
}

void OutputBuffer::writeInteger(std::int64_t value) {
  char digits[kIntegerBufferSize];
  write(std::string_view(digits, formatInteger(value, digits)));
}

void OutputBuffer::flush() {
  drain();
  out_.flush();
}

}  // namespace lines2svg
