#ifndef LINES2SVG_DRIVER_OUTPUT_FILE_H_
#define LINES2SVG_DRIVER_OUTPUT_FILE_H_

#include <cstdint>
#include <fstream>

#include "driver/file_names.h"

namespace lines2svg {

// A file the program writes, in the platform's text mode, created (or emptied) only when the
// first bytes reach it or it is closed. A pass allocates its buffers before it writes anything, so
// a pass that runs out of memory at its start never empties an existing file. It counts the bytes
// that reach the disk, line ends as stored, so that reading the file back can be checked in full.
class OutputFile : public std::streambuf {
 public:
  explicit OutputFile(NativeName name) : name_(std::move(name)) {}

  // Creates the file if nothing has been written yet, and closes it. False if it could not be
  // created or a write failed.
  bool close();

  // The bytes written to the file, counted as stored on disk.
  std::uint64_t bytesWritten() const { return bytesWritten_; }

 protected:
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  // Creates the file on first use; false if it could not be created.
  bool opened();
  // Counts bytes that reached the file.
  void count(const char* bytes, std::streamsize size);

  NativeName name_;
  std::filebuf file_;
  bool tried_ = false;
  bool failed_ = false;
  std::uint64_t bytesWritten_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_OUTPUT_FILE_H_
