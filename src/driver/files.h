#ifndef LINES2SVG_DRIVER_FILES_H_
#define LINES2SVG_DRIVER_FILES_H_

#include <cstddef>
#include <cstdint>
#include <streambuf>

#include "driver/file_names.h"
#include "driver/platform.h"

namespace lines2svg {

// A file the program has written, known by its identity and size when it is read back.
struct WrittenFile {
  FileIdentity identity;
  std::uint64_t size = 0;
};

// The files an output must never be: the drawing, and the outputs written before it.
class TakenFiles {
 public:
  void add(const FileIdentity& file) {
    if (count_ < kMost) files_[count_++] = file;
  }
  bool holds(const FileIdentity& file) const;

 private:
  static constexpr std::size_t kMost = 4;
  FileIdentity files_[kMost];
  std::size_t count_ = 0;
};

// A file read through the system's calls, straight into the reader's buffer, so that nothing in
// it can end the reading early. A read error ends the bytes and is kept for failed() to tell.
class InputFile : public std::streambuf {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() override { closeFile(file_); }

  // Opens the drawing.
  Outcome open(const NativeName& name) {
    return openForReading(name, ReadOpening::kDrawing, &file_);
  }

  // Opens a file the program has written, to read it back; false unless it is still that file,
  // with exactly the bytes written, so that a file emptied or replaced behind the program's back
  // cannot give a picture silently missing its shapes.
  bool openWritten(const NativeName& name, const WrittenFile& written);

  // The facts of the open file; false if the system cannot tell them.
  bool facts(FileFacts* facts) const { return factsOf(file_, facts); }

  // True once a read has failed.
  bool failed() const { return failed_; }

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override;

  // One read of at most `size` bytes: the count, 0 at the end, -1 on a read error.
  virtual std::ptrdiff_t readSome(char* to, std::size_t size) { return readFile(file_, to, size); }

 private:
  FileHandle file_ = kNoFile;
  bool failed_ = false;
};

// A file the program writes, as text in the platform's form. It is opened when the first bytes
// reach it, or at close when none do: a pass allocates its buffers before it writes anything, so
// a pass that runs out of memory at its start never empties an existing file. Opened, it must be
// a plain file of its own and none of the taken files; only then is it emptied. Failures are
// kept, and told by close().
class OutputFile : public std::streambuf {
 public:
  OutputFile(const NativeName& name, const TakenFiles& taken) : name_(name), taken_(taken) {}
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() override { closeFile(file_); }

  // Opens the file if nothing has been written yet, and closes it; `written` tells what it holds.
  Outcome close(WrittenFile* written);

 protected:
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;

 private:
  // Opens, checks and empties the file on first use; false if that failed.
  bool opened();

  const NativeName& name_;
  const TakenFiles& taken_;
  FileHandle file_ = kNoFile;
  bool tried_ = false;
  Outcome failure_ = Outcome::kDone;
  FileIdentity identity_;
  std::uint64_t stored_ = 0;
};

// Decides, before anything is written, whether writing the outputs could lose the drawing or
// reach a file elsewhere: kDone when none exists or each is a plain file of its own that is not
// the drawing, kInputWouldBeOverwritten or kCannotWriteOutput otherwise. It compares identities,
// not names, and refuses when in doubt. `lookUp` is lookUpOutput, or a stand-in in tests.
Outcome checkOutputs(const FileIdentity& drawing, const OutputNames& names,
                     OutputLookup (*lookUp)(const NativeName&) = lookUpOutput);

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_FILES_H_
