#ifndef LINES2SVG_DRIVER_FILES_H_
#define LINES2SVG_DRIVER_FILES_H_

#include <cstddef>
#include <cstdint>
#include <streambuf>

#include "driver/file_names.h"
#include "driver/platform.h"

namespace lines2svg {

// The drawing's folder, held open for the whole run; every file of the run is reached through it.
struct Folder {
  Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder() { closeFile(handle); }

  FileHandle handle = kNoFile;
};

// A file the program has written, known by its identity and size when it is read back.
struct WrittenFile {
  FileIdentity identity;
  std::uint64_t size = 0;
};

// The files an output must never be: the drawing, and the other outputs. Each has a place of its
// own, so that none is ever left out.
class TakenFiles {
 public:
  // The places: the drawing's, then one for each output.
  static constexpr std::size_t kDrawing = 0;
  static constexpr std::size_t kPlaces = 4;

  void set(std::size_t place, const FileIdentity& file) {
    files_[place] = file;
    known_[place] = true;
  }
  bool holds(const FileIdentity& file) const;

 private:
  FileIdentity files_[kPlaces];
  bool known_[kPlaces] = {};
};

// A file read through the system's calls, straight into the reader's buffer, so that nothing in
// it can end the reading early. A read error ends the bytes and is kept for failed() to tell. It
// serves std::istream's block reads (sgetn), which is all the token readers use; it keeps no
// buffer of its own, so `>>` or getline on it would read nothing.
class InputFile : public std::streambuf {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() override { closeFile(file_); }

  // Opens the drawing the typed name names, and its folder into `folder`; `opened` is the name
  // the outputs are named after (see openDrawing in platform.h).
  Outcome openDrawing(const NativeName& typed, Folder* folder, NativeName* opened) {
    return lines2svg::openDrawing(typed, &folder->handle, &file_, opened);
  }

  // Opens a file the program has written, to read it back. It must still be that file, with
  // exactly the bytes written, when it is opened and when its reading ends (see readBackOutcome),
  // so that a file emptied, cut short or replaced behind the program's back cannot give a
  // picture silently missing its shapes.
  Outcome openWritten(const Folder& folder, const NativeName& name, const WrittenFile& written);

  // How reading a written file back went: kDone if it yielded exactly the bytes written and no
  // read failed, kCannotWriteOutput otherwise. What the pass left unread is read and counted.
  Outcome readBackOutcome();

  // The facts of the open file; false if the system cannot tell them.
  bool facts(FileFacts* facts) const { return factsOf(file_, facts); }

  // True once a read has failed, or a written file yielded fewer or more bytes than written.
  bool failed() const { return failed_; }

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override;

  // One read of at most `size` bytes: the count, 0 at the end, -1 on a read error.
  virtual std::ptrdiff_t readSome(char* to, std::size_t size) { return readFile(file_, to, size); }

 private:
  // One read, counted against the size expected; 0 once the file has ended.
  std::ptrdiff_t readCounted(char* to, std::size_t size);

  FileHandle file_ = kNoFile;
  bool failed_ = false;
  bool ended_ = false;
  // For a written file, the bytes it holds; the bytes read so far.
  bool expecting_ = false;
  std::uint64_t expected_ = 0;
  std::uint64_t read_ = 0;
};

// A file the program writes in the drawing's folder, as text in the platform's form. An output
// that exists is held before the passes run (holdIfExists); an absent one is created when the
// first bytes reach it, or at close when none do. Either way it must be a plain file of its own
// and none of the taken files; it is emptied only when its pass writes, after the pass has taken
// its buffers, so a pass that runs out of memory at its start never empties an existing file.
// Failures are kept, and told by close().
class OutputFile : public std::streambuf {
 public:
  // The output `name` in `folder`, which takes place `place` among the taken files.
  OutputFile(const Folder& folder, NativeName name, TakenFiles* taken, std::size_t place)
      : folder_(folder), name_(std::move(name)), taken_(*taken), place_(place) {}
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() override { closeFile(file_); }

  // The output's name in the drawing's folder.
  const NativeName& name() const { return name_; }

  // Opens the output for writing if it exists, without changing it, and checks it: kDone when it
  // is absent or a plain file of its own, kCannotWriteOutput when it is not or cannot be opened
  // for writing (read-only, or held by another program).
  Outcome holdIfExists();

  // Opens the file if nothing has been written yet, and closes it; `written` tells what it holds.
  Outcome close(WrittenFile* written);

 protected:
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;

 private:
  // Opens `file_` (creating it when `create`) and checks that it is a plain file of its own.
  Outcome openChecked(bool create);
  // Makes the file ready for the pass's bytes on first use: opened or created, checked again and
  // emptied. kDone if it is.
  Outcome prepareForWriting();

  const Folder& folder_;
  NativeName name_;
  TakenFiles& taken_;
  std::size_t place_;
  FileHandle file_ = kNoFile;
  bool prepared_ = false;
  Outcome failure_ = Outcome::kDone;
  FileIdentity identity_;
  std::uint64_t stored_ = 0;
};

// Decides, before anything is written, whether writing the outputs could lose the drawing or
// reach a file elsewhere: kDone when none exists or each is a plain file of its own that is not
// the drawing, kInputWouldBeOverwritten or kCannotWriteOutput otherwise. It compares identities,
// not names, and refuses when in doubt. `lookUp` is lookUpOutput, or a stand-in in tests.
Outcome checkOutputs(const Folder& folder, const FileIdentity& drawing, const OutputNames& names,
                     OutputLookup (*lookUp)(FileHandle, const NativeName&) = lookUpOutput);

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_FILES_H_
