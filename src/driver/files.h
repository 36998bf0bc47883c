#ifndef LINES2SVG_DRIVER_FILES_H_
#define LINES2SVG_DRIVER_FILES_H_

#include <cstddef>
#include <cstdint>
#include <streambuf>

#include "driver/platform.h"

namespace lines2svg {

// An open file or folder, closed when it goes.
struct HeldHandle {
  HeldHandle() = default;
  HeldHandle(const HeldHandle&) = delete;
  HeldHandle& operator=(const HeldHandle&) = delete;
  ~HeldHandle() { closeFile(handle); }

  FileHandle handle = kNoFile;
};

// A file read through the system's calls, straight into the reader's buffer, so that nothing in
// it can end the reading early. It serves std::istream's block reads (sgetn), which is all the
// token readers use; it keeps no buffer of its own, so `>>` or getline on it would read nothing.
// The file stays open when the reading ends: the run holds every handle.
class InputFile : public std::streambuf {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads `file` from where it stands; a read error makes the reading end in `failure`.
  void start(FileHandle file, Outcome failure) {
    file_ = file;
    failure_ = failure;
  }

  // Makes the reading fail unless the file yields exactly `size` bytes: a file the run wrote,
  // which must not give a picture silently missing its shapes if another program cut it short.
  void expect(std::uint64_t size) {
    expecting_ = true;
    expected_ = size;
  }

  // The bytes read so far.
  std::uint64_t bytesRead() const { return read_; }

  // True once a read has failed, or the file yielded fewer or more bytes than expected.
  bool failed() const { return failed_; }

  // Reads and counts what the pass left unread, as the SVG writer leaves the rest after a number
  // that fails to read, and tells how the reading went: kDone or the failure given to start().
  Outcome finish();

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override;

  // One read of at most `size` bytes: the count, 0 at the end, -1 on a read error.
  virtual std::ptrdiff_t readSome(char* to, std::size_t size) { return readFile(file_, to, size); }

 private:
  // One read, counted against the size expected; 0 once the file has ended or failed.
  std::ptrdiff_t readCounted(char* to, std::size_t size);

  FileHandle file_ = kNoFile;
  Outcome failure_ = Outcome::kCannotReadInput;
  bool failed_ = false;
  bool ended_ = false;
  bool expecting_ = false;
  std::uint64_t expected_ = 0;
  std::uint64_t read_ = 0;
};

// One of the files a run writes in the drawing's folder, as text in the platform's form. It is
// opened once, when the run claims it before anything is written, and that handle serves to the
// end: its pass writes through it, the later passes read it back through it. Nothing in it
// changes until its pass writes the first bytes, after the pass has taken its memory; and then
// only if its name in the folder still leads to it. A file the run created is removed again if
// its pass never wrote it, so that a run refused before the passes leaves nothing behind.
// Failures are kept, and told by endWriting() and close().
class OutputFile : public std::streambuf {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() override;

  // The identity of the file claimed.
  const FileIdentity& identity() const { return identity_; }

  // Opens `name` in `folder`, or creates it, and checks it on its handle: kDone when it is a plain
  // file of its own, kCannotWriteOutput when it is not or cannot be opened for reading and
  // writing (read-only, write-only, held by another program, or no right to create it).
  Outcome claim(FileHandle folder, NativeName name);

  // Ends the pass that writes the file: kDone when every byte was stored and the name still
  // leads to the file.
  Outcome endWriting();

  // Starts `in` reading the file from its start, expecting exactly the bytes written.
  Outcome readBack(InputFile* in);

  // Closes the file once the run is done with it: kDone when its name still leads to it and the
  // system reports no error, kCannotWriteOutput otherwise.
  Outcome close();

 protected:
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;

  // Closes the file's handle; false when the system reports an error.
  virtual bool closeHandle(FileHandle file) { return closeFile(file); }

 private:
  // Readies the file for the pass's first bytes: kDone once its name is known to lead to it
  // still, and it is emptied.
  Outcome prepareForWriting();

  FileHandle folder_ = kNoFile;
  NativeName name_;
  FileHandle file_ = kNoFile;
  FileIdentity identity_;
  bool created_ = false;
  bool prepared_ = false;
  Outcome failure_ = Outcome::kDone;
  std::uint64_t stored_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_FILES_H_
