#ifndef LINES2SVG_DRIVER_FILES_H_
#define LINES2SVG_DRIVER_FILES_H_

#include <cstddef>
#include <cstdint>
#include <streambuf>

#include "driver/platform.h"

namespace lines2svg {

// The stream buffer a pass reads one of the run's files through, or writes an output through. It
// serves the streams' block calls (sgetn, sputn), all the passes use, straight from and into the
// pass's own buffers; it keeps no buffer of its own, so `>>` or getline on it would read nothing.
// It keeps the first failure of the file's calls, for the run to ask once the pass has ended;
// after a failure it reads and writes nothing more.
class PassFile : public std::streambuf {
 public:
  PassFile() = default;
  PassFile(const PassFile&) = delete;
  PassFile& operator=(const PassFile&) = delete;

  // Reads `file` from where it stands.
  void readFrom(HeldFile& file) { file_ = &file; }
  // Reads `output` back from its start, and fails unless it yields exactly the bytes stored, so
  // that a file another program cut short cannot give a picture silently missing its shapes.
  PassFile& readBack(Output& output);
  // Writes `output`, emptied when the first bytes come, after the pass has taken its memory, and
  // only if its name still leads to it and it has no other name: a file moved away, replaced or
  // linked to since its claim keeps what it holds.
  void writeTo(Output& output) {
    file_ = &output;
    output_ = &output;
  }
  // The bytes read so far.
  std::uint64_t bytesRead() const { return read_; }
  // The first failure so far, or kDone.
  Outcome failure() const { return failure_; }
  // Ends the pass's use of the file, and tells how it went. A file read is read to its end, which
  // a pass may leave unread; an output left empty is emptied all the same, and must still be named.
  Outcome finish();

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;

  // One read of at most `size` bytes, `got` 0 at the end: a stand-in in tests.
  virtual Outcome readSome(char* to, std::size_t size, std::size_t* got) {
    return file_->read(to, size, got);
  }

 private:
  // One read, counted against the size expected; 0 once the file has ended or failed.
  std::size_t readCounted(char* to, std::size_t size);
  // Readies the output for the pass's first bytes, once.
  Outcome prepareForWriting();

  HeldFile* file_ = nullptr;
  Output* output_ = nullptr;
  Outcome failure_ = Outcome::kDone;
  bool ended_ = false;
  bool prepared_ = false;
  bool expecting_ = false;
  std::uint64_t expected_ = 0;
  std::uint64_t read_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_FILES_H_
