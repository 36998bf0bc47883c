// Reading the drawing and the program's own files back through the system's calls.
#include "driver/input_file.h"

#include <algorithm>
#include <ios>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace lines2svg {

#if defined(_WIN32)

InputFile::~InputFile() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

OpenResult InputFile::open(const NativeName& name) {
  // Reading a device would wait on the keyboard or a serial port: it is never opened.
  if (isDeviceName(name)) return OpenResult::kMissing;
  const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      return OpenResult::kUnreadable;
    }
    // A folder is refused with the same error as a file without permission.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    const bool isFile =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return error == ERROR_ACCESS_DENIED && isFile ? OpenResult::kUnreadable : OpenResult::kMissing;
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return OpenResult::kMissing;
  }
  handle_ = file;
  return OpenResult::kOpened;
}

bool InputFile::identity(FileIdentity* identity) const {
  BY_HANDLE_FILE_INFORMATION info;
  if (handle_ == nullptr || !GetFileInformationByHandle(handle_, &info)) return false;
  identity->device = info.dwVolumeSerialNumber;
  identity->file = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
  return true;
}

std::size_t InputFile::readSome(char* to, std::size_t size) {
  if (handle_ == nullptr) return 0;
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!ReadFile(handle_, to, want, &got, nullptr)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    throw std::ios_base::failure("read error");
  }
  return got;
}

#else

InputFile::~InputFile() {
  if (descriptor_ >= 0) close(descriptor_);
}

OpenResult InputFile::open(const NativeName& name) {
  const int file = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    const int error = errno;
    return error == EACCES || error == EPERM || error == EBUSY || error == ETXTBSY
               ? OpenResult::kUnreadable
               : OpenResult::kMissing;
  }
  struct stat status;
  if (fstat(file, &status) == 0 && S_ISDIR(status.st_mode)) {
    ::close(file);
    return OpenResult::kMissing;
  }
  descriptor_ = file;
  return OpenResult::kOpened;
}

bool InputFile::identity(FileIdentity* identity) const {
  struct stat status;
  if (descriptor_ < 0 || fstat(descriptor_, &status) != 0) return false;
  identity->device = static_cast<std::uint64_t>(status.st_dev);
  identity->file = static_cast<std::uint64_t>(status.st_ino);
  return true;
}

std::size_t InputFile::readSome(char* to, std::size_t size) {
  if (descriptor_ < 0) return 0;
  for (;;) {
    const ssize_t got = ::read(descriptor_, to, std::min<std::size_t>(size, 1u << 30));
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw std::ios_base::failure("read error");
  }
}

#endif

std::streamsize InputFile::xsgetn(char* to, std::streamsize count) {
  std::streamsize done = 0;
  if (gptr() < egptr() && count > 0) {
    *to = *gptr();
    gbump(1);
    done = 1;
  }
  // A pipe or a terminal gives what it has; the reader is given all it asks for, or the end.
  while (done < count) {
    const std::size_t got = readSome(to + done, static_cast<std::size_t>(count - done));
    if (got == 0) break;
    done += static_cast<std::streamsize>(got);
    bytesRead_ += got;
  }
  return done;
}

InputFile::int_type InputFile::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (readSome(&byte_, 1) == 0) return traits_type::eof();
  ++bytesRead_;
  setg(&byte_, &byte_, &byte_ + 1);
  return traits_type::to_int_type(byte_);
}

bool InputFile::readToEnd() {
  char rest[4096];
  try {
    while (xsgetn(rest, sizeof rest) > 0) {
    }
  } catch (const std::ios_base::failure&) {
    return false;
  }
  return true;
}

}  // namespace lines2svg
