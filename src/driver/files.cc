// The drawing and the program's own files, read and written through the platform's calls.
#include "driver/files.h"

namespace lines2svg {

bool TakenFiles::holds(const FileIdentity& file) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (files_[i] == file) return true;
  }
  return false;
}

bool InputFile::openWritten(const NativeName& name, const WrittenFile& written) {
  FileFacts now;
  return openForReading(name, ReadOpening::kOwnFile, &file_) == Outcome::kDone && facts(&now) &&
         now.identity == written.identity && now.size == written.size;
}

std::streamsize InputFile::xsgetn(char* to, std::streamsize count) {
  // A pipe or a terminal gives what it has; the reader is given all it asks for, or the end.
  std::streamsize done = 0;
  while (done < count && !failed_) {
    const std::ptrdiff_t got = readSome(to + done, static_cast<std::size_t>(count - done));
    if (got == 0) break;
    if (got < 0) {
      failed_ = true;
    } else {
      done += got;
    }
  }
  return done;
}

bool OutputFile::opened() {
  if (tried_) return failure_ == Outcome::kDone;
  tried_ = true;
  failure_ = openForWriting(name_, &file_);
  if (failure_ != Outcome::kDone) return false;
  failure_ = Outcome::kCannotWriteOutput;
  // The name may have changed since it was checked: what was opened is checked again before a
  // byte of it changes.
  FileFacts facts;
  if (!factsOf(file_, &facts) || !facts.plainFile || taken_.holds(facts.identity)) return false;
  // A file just created is empty already; truncating it anyway would make some file systems
  // (ext4) flush it to disk when it is closed, as they do for a file emptied to be rewritten.
  if (facts.size > 0 && !truncateFile(file_)) return false;
  identity_ = facts.identity;
  failure_ = Outcome::kDone;
  return true;
}

std::streamsize OutputFile::xsputn(const char* bytes, std::streamsize count) {
  if (!opened()) return 0;
  if (!writeFile(file_, bytes, static_cast<std::size_t>(count), &stored_)) {
    failure_ = Outcome::kCannotWriteOutput;
    return 0;
  }
  return count;
}

Outcome OutputFile::close(WrittenFile* written) {
  opened();
  closeFile(file_);
  file_ = kNoFile;
  written->identity = identity_;
  written->size = stored_;
  return failure_;
}

Outcome checkOutputs(const FileIdentity& drawing, const OutputNames& names,
                     OutputLookup (*lookUp)(const NativeName&)) {
  TakenFiles found;
  bool overwrite = false;
  bool cannot = false;
  for (const NativeName* name : {&names.vertices, &names.shapes, &names.svg}) {
    const OutputLookup lookup = lookUp(*name);
    if (lookup.reaches && lookup.identity == drawing) overwrite = true;
    if (!lookup.exists) continue;
    if (!lookup.plainFile || found.holds(lookup.identity)) cannot = true;
    found.add(lookup.identity);
  }
  if (overwrite) return Outcome::kInputWouldBeOverwritten;
  return cannot ? Outcome::kCannotWriteOutput : Outcome::kDone;
}

}  // namespace lines2svg
