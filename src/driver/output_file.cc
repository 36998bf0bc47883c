// Writing the program's files, created at the first byte and counted as stored.
#include "driver/output_file.h"

#include <algorithm>
#include <filesystem>

namespace lines2svg {

bool OutputFile::opened() {
  if (!tried_) {
    tried_ = true;
    failed_ = file_.open(std::filesystem::path(name_), std::ios::out | std::ios::trunc) == nullptr;
  }
  return !failed_;
}

void OutputFile::count(const char* bytes, std::streamsize size) {
  bytesWritten_ += static_cast<std::uint64_t>(size);
#if defined(_WIN32)
  // Text mode stores each line end as CR LF.
  bytesWritten_ += static_cast<std::uint64_t>(std::count(bytes, bytes + size, '\n'));
#else
  (void)bytes;
#endif
}

std::streamsize OutputFile::xsputn(const char* bytes, std::streamsize count) {
  if (!opened()) return 0;
  const std::streamsize put = file_.sputn(bytes, count);
  this->count(bytes, put);
  if (put != count) failed_ = true;
  return put;
}

OutputFile::int_type OutputFile::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

int OutputFile::sync() {
  if (!opened() || file_.pubsync() != 0) {
    failed_ = true;
    return -1;
  }
  return 0;
}

bool OutputFile::close() {
  if (!opened()) return false;
  if (file_.close() == nullptr) failed_ = true;
  return !failed_;
}

}  // namespace lines2svg
