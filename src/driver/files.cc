// The drawing and the program's own files, read and written through the platform's calls.
#include "driver/files.h"

namespace lines2svg {

bool TakenFiles::holds(const FileIdentity& file) const {
  for (std::size_t i = 0; i < kPlaces; ++i) {
    if (known_[i] && files_[i] == file) return true;
  }
  return false;
}

Outcome InputFile::openWritten(const Folder& folder, const NativeName& name,
                               const WrittenFile& written) {
  if (const Outcome opened = openToReadBack(folder.handle, name, &file_);
      opened != Outcome::kDone) {
    return opened;
  }
  FileFacts now;
  if (!facts(&now) || !(now.identity == written.identity) || now.size != written.size) {
    return Outcome::kCannotWriteOutput;
  }
  expecting_ = true;
  expected_ = written.size;
  return Outcome::kDone;
}

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

Outcome InputFile::readBackOutcome() {
  // A pass may stop before the end, as the SVG writer does after a number that fails to read.
  char rest[std::size_t{1} << 16];
  while (readCounted(rest, sizeof rest) > 0) {
  }
  return failed_ ? Outcome::kCannotWriteOutput : Outcome::kDone;
}

Outcome OutputFile::openChecked(bool create) {
  if (openForWriting(folder_.handle, name_, create, &file_) != Outcome::kDone) {
    return Outcome::kCannotWriteOutput;
  }
  if (file_ == kNoFile) return Outcome::kDone;
  FileFacts facts;
  if (!factsOf(file_, &facts) || !facts.plainFile || taken_.holds(facts.identity)) {
    return Outcome::kCannotWriteOutput;
  }
  identity_ = facts.identity;
  taken_.set(place_, identity_);
  return Outcome::kDone;
}

Outcome OutputFile::holdIfExists() { return failure_ = openChecked(false); }

Outcome OutputFile::prepareForWriting() {
  if (prepared_) return failure_;
  prepared_ = true;
  if (failure_ != Outcome::kDone) return failure_;
  if (file_ == kNoFile) {
    // Absent when the outputs were checked: created now, and checked as it is opened, since
    // another program may have put something at its name since.
    failure_ = openChecked(true);
    if (failure_ != Outcome::kDone) return failure_;
  }
  // A held file is checked again before a byte of it changes: a link to it may have been made.
  FileFacts facts;
  if (!factsOf(file_, &facts) || !facts.plainFile) return failure_ = Outcome::kCannotWriteOutput;
  // A file just created is empty already; truncating it anyway would make some file systems
  // (ext4) flush it to disk when it is closed, as they do for a file emptied to be rewritten.
  if (facts.size > 0 && !truncateFile(file_)) return failure_ = Outcome::kCannotWriteOutput;
  return Outcome::kDone;
}

std::streamsize OutputFile::xsputn(const char* bytes, std::streamsize count) {
  if (prepareForWriting() != Outcome::kDone) return 0;
  if (!writeFile(file_, bytes, static_cast<std::size_t>(count), &stored_)) {
    failure_ = Outcome::kCannotWriteOutput;
    return 0;
  }
  return count;
}

Outcome OutputFile::close(WrittenFile* written) {
  prepareForWriting();
  closeFile(file_);
  file_ = kNoFile;
  written->identity = identity_;
  written->size = stored_;
  return failure_;
}

Outcome checkOutputs(const Folder& folder, const FileIdentity& drawing, const OutputNames& names,
                     OutputLookup (*lookUp)(FileHandle, const NativeName&)) {
  FileIdentity found[3];
  std::size_t count = 0;
  bool overwrite = false;
  bool cannot = false;
  for (const NativeName* name : {&names.vertices, &names.shapes, &names.svg}) {
    const OutputLookup lookup = lookUp(folder.handle, *name);
    if (lookup.reaches && lookup.identity == drawing) overwrite = true;
    if (!lookup.exists) continue;
    for (std::size_t i = 0; i < count; ++i) cannot = cannot || found[i] == lookup.identity;
    if (!lookup.plainFile) cannot = true;
    found[count++] = lookup.identity;
  }
  if (overwrite) return Outcome::kInputWouldBeOverwritten;
  return cannot ? Outcome::kCannotWriteOutput : Outcome::kDone;
}

}  // namespace lines2svg
