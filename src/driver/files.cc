// The run's files as the passes read and write them.
#include "driver/files.h"

namespace lines2svg {

PassFile& PassFile::readBack(Output& output) {
  file_ = &output;
  failure_ = output.rewind();
  expecting_ = true;
  expected_ = output.stored();
  return *this;
}

std::size_t PassFile::readCounted(char* to, std::size_t size) {
  if (ended_ || failure_ != Outcome::kDone) return 0;
  std::size_t got = 0;
  failure_ = readSome(to, size, &got);
  if (failure_ != Outcome::kDone) return 0;
  read_ += got;
  // A written file that ends early, even by a read that wrongly gives nothing, or yields more
  // than was written, is not the file written.
  ended_ = got == 0;
  if (expecting_ && (read_ > expected_ || (ended_ && read_ != expected_))) {
    failure_ = Outcome::kCannotWriteOutput;
  }
  return failure_ == Outcome::kDone ? got : 0;
}

std::streamsize PassFile::xsgetn(char* to, std::streamsize count) {
  // A pipe or a terminal gives what it has; the reader is given all it asks for, or the end.
  std::streamsize done = 0;
  while (done < count) {
    const std::size_t got = readCounted(to + done, static_cast<std::size_t>(count - done));
    if (got == 0) break;
    done += static_cast<std::streamsize>(got);
  }
  return done;
}

Outcome PassFile::prepareForWriting() {
  if (prepared_) return failure_;
  prepared_ = true;
  output_->keep();
  // A file just created is empty already; truncating it anyway would make some file systems
  // (ext4) flush it to disk when it is closed, as they do for a file emptied to be rewritten.
  FileFacts facts;
  if (failure_ == Outcome::kDone) failure_ = output_->isStillNamed();
  if (failure_ == Outcome::kDone) failure_ = output_->facts(&facts);
  if (failure_ == Outcome::kDone && !facts.plainFile) failure_ = Outcome::kCannotWriteOutput;
  if (failure_ == Outcome::kDone && facts.size > 0) failure_ = output_->empty();
  return failure_;
}

std::streamsize PassFile::xsputn(const char* bytes, std::streamsize count) {
  if (prepareForWriting() != Outcome::kDone) return 0;
  failure_ = output_->write(bytes, static_cast<std::size_t>(count));
  return failure_ == Outcome::kDone ? count : 0;
}

Outcome PassFile::finish() {
  if (output_ != nullptr) {
    if (prepareForWriting() == Outcome::kDone) failure_ = output_->isStillNamed();
    return failure_;
  }
  char rest[std::size_t{1} << 16];
  while (readCounted(rest, sizeof rest) > 0) {
  }
  return failure_;
}

}  // namespace lines2svg
