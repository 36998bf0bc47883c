#include "passes/token_reader.h"

namespace lines2svg {

TokenReader::TokenReader(std::istream& in, std::size_t bufferSize)
    : in_(in),
      buffer_(new char[bufferSize > 0 ? bufferSize : 1]),
      capacity_(bufferSize > 0 ? bufferSize : 1) {}

bool TokenReader::refill() {
  pos_ = 0;
  end_ = 0;
  if (exhausted_) return false;
  std::streambuf* source = in_.rdbuf();
  std::streamsize got =
      source != nullptr ? source->sgetn(buffer_.get(), static_cast<std::streamsize>(capacity_)) : 0;
  if (got <= 0) {
    exhausted_ = true;
    return false;
  }
  end_ = static_cast<std::size_t>(got);
  return true;
}

bool TokenReader::next(std::string_view* token) {
  const char* data = buffer_.get();
  for (;;) {
    while (pos_ < end_ && isTokenSpace(data[pos_])) ++pos_;
    if (pos_ < end_) break;
    if (!refill()) return false;
  }
  std::size_t start = pos_;
  while (pos_ < end_ && !isTokenSpace(data[pos_])) ++pos_;
  if (pos_ < end_) {
    *token = std::string_view(data + start, pos_ - start);
    return true;
  }
  // The token reaches the end of the buffer and may go on in the next fill.
  spill_.assign(data + start, end_ - start);
  while (refill()) {
    while (pos_ < end_ && !isTokenSpace(data[pos_])) ++pos_;
    spill_.append(data, pos_);
    if (pos_ < end_) break;
  }
  *token = spill_;
  return true;
}

}  // namespace lines2svg
