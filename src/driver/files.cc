// The drawing and the program's own files, read and written through the platform's calls.
#include "driver/files.h"

#include <utility>

namespace lines2svg {

std::ptrdiff_t InputFile::readCounted(char* to, std::size_t size) {
  if (ended_ || failed_) return 0;
  const std::ptrdiff_t got = readSome(to, size);
  if (got < 0) {
    failed_ = true;
    return 0;
  }
  read_ += static_cast<std::uint64_t>(got);
  // A written file that ends early, even by a read that wrongly gives nothing, or yields more
  // than was written, is not the file written.
  if (got == 0) ended_ = true;
  if (expecting_ && (read_ > expected_ || (ended_ && read_ != expected_))) failed_ = true;
  return failed_ ? 0 : got;
}

std::streamsize InputFile::xsgetn(char* to, std::streamsize count) {
  // A pipe or a terminal gives what it has; the reader is given all it asks for, or the end.
  std::streamsize done = 0;
  while (done < count) {
    const std::ptrdiff_t got = readCounted(to + done, static_cast<std::size_t>(count - done));
    if (got == 0) break;
    done += got;
  }
  return done;
}

Outcome InputFile::finish() {
  char rest[std::size_t{1} << 16];
  while (readCounted(rest, sizeof rest) > 0) {
  }
  return failed_ ? failure_ : Outcome::kDone;
}

OutputFile::~OutputFile() {
  if (file_ == kNoFile) return;
  if (created_ && !prepared_) {
    discardCreated(folder_, name_, file_);
  } else {
    closeFile(file_);
  }
}

Outcome OutputFile::claim(FileHandle folder, NativeName name) {
  folder_ = folder;
  name_ = std::move(name);
  if (openOutput(folder_, name_, &file_, &created_) != Outcome::kDone) {
    return failure_ = Outcome::kCannotWriteOutput;
  }
  FileFacts facts;
  if (!factsOf(file_, &facts) || !facts.plainFile) return failure_ = Outcome::kCannotWriteOutput;
  identity_ = facts.identity;
  return Outcome::kDone;
}

Outcome OutputFile::prepareForWriting() {
  if (prepared_) return failure_;
  prepared_ = true;
  if (failure_ != Outcome::kDone) return failure_;
  // Whatever was checked at the claim, the file met now is written only while its name still
  // leads to it and it has no other name: one moved away, replaced or linked to since keeps what
  // it holds. A file just created is empty already; truncating it anyway would make some file
  // systems (ext4) flush it to disk when it is closed, as they do for a file emptied to be
  // rewritten.
  FileFacts facts;
  if (!stillNamed(folder_, name_, file_) || !factsOf(file_, &facts) || !facts.plainFile ||
      (facts.size > 0 && !truncateFile(file_))) {
    failure_ = Outcome::kCannotWriteOutput;
  }
  return failure_;
}

std::streamsize OutputFile::xsputn(const char* bytes, std::streamsize count) {
  if (prepareForWriting() != Outcome::kDone) return 0;
  if (!writeFile(file_, bytes, static_cast<std::size_t>(count), &stored_)) {
    failure_ = Outcome::kCannotWriteOutput;
    return 0;
  }
  return count;
}

Outcome OutputFile::endWriting() {
  // A pass that wrote nothing still leaves its file empty.
  if (prepareForWriting() == Outcome::kDone && !stillNamed(folder_, name_, file_)) {
    failure_ = Outcome::kCannotWriteOutput;
  }
  return failure_;
}

Outcome OutputFile::readBack(InputFile* in) {
  if (!rewindFile(file_)) return Outcome::kCannotWriteOutput;
  in->start(file_, Outcome::kCannotWriteOutput);
  in->expect(stored_);
  return Outcome::kDone;
}

Outcome OutputFile::close() {
  const bool named = stillNamed(folder_, name_, file_);
  const bool closed = closeHandle(file_);
  file_ = kNoFile;
  return named && closed ? failure_ : Outcome::kCannotWriteOutput;
}

}  // namespace lines2svg
