#ifndef LINES2SVG_DRIVER_INPUT_FILE_H_
#define LINES2SVG_DRIVER_INPUT_FILE_H_

#include <cstdint>
#include <streambuf>

#include "driver/file_identity.h"
#include "driver/file_names.h"

namespace lines2svg {

// What opening a file for reading found.
enum class OpenResult {
  kOpened,
  // Nothing readable has that name: no file, a folder, or a Windows device such as CON or COM1.
  kMissing,
  // The file exists but cannot be read: no permission, or another program holds it locked.
  kUnreadable,
};

// A file read in binary through the system's own calls, straight into the reader's buffer, so
// that nothing in it can end the reading early. It knows the identity of the file it opened and
// counts the bytes it has handed out. A read error is thrown as std::ios_base::failure, as a file
// stream's buffer throws it.
class InputFile : public std::streambuf {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() override;

  // Opens the file; on Windows a device is never opened.
  OpenResult open(const NativeName& name);

  // The identity of the open file; false if the system cannot tell it.
  bool identity(FileIdentity* identity) const;

  // Reads whatever the reader left, so that bytesRead() counts the whole file. False on a read
  // error.
  bool readToEnd();

  // The bytes handed out so far.
  std::uint64_t bytesRead() const { return bytesRead_; }

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override;
  int_type underflow() override;

 private:
  // One read of at most `size` bytes: the count, 0 at the end of the file; throws on an error.
  std::size_t readSome(char* to, std::size_t size);

#if defined(_WIN32)
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
  std::uint64_t bytesRead_ = 0;
  // The one byte underflow() reads; the program itself always reads in large pieces.
  char byte_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_INPUT_FILE_H_
