// The system's side of the program on Linux and other POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <new>

#include "driver/file_names.h"
#include "driver/name_input.h"
#include "driver/platform.h"

namespace lines2svg {

namespace {

int descriptorOf(FileHandle file) { return static_cast<int>(file); }

FileIdentity identityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// A folder is held only to reach the files in it: a folder the user may pass through but not
// list still serves.
#if defined(O_PATH)
constexpr int kFolderAccess = O_PATH;
#else
constexpr int kFolderAccess = O_RDONLY;
#endif

// The outcome of opening the drawing or its folder after `error`; a lack of memory is thrown.
Outcome drawingOutcome(int error) {
  if (error == ENOMEM) throw std::bad_alloc();
  const bool refused = error == EACCES || error == EPERM || error == EBUSY || error == ETXTBSY;
  return refused ? Outcome::kCannotReadInput : Outcome::kMissingInput;
}

// Opens `name` in `folder`; a lack of memory is thrown.
int openIn(FileHandle folder, const NativeName& name, int flags) {
  const int descriptor = ::openat(descriptorOf(folder), name.c_str(), flags | O_CLOEXEC, 0666);
  if (descriptor < 0 && errno == ENOMEM) throw std::bad_alloc();
  return descriptor;
}

}  // namespace

PathStyle hostPathStyle() { return PathStyle::kPosix; }

std::size_t maxNameLength() {
#if defined(PATH_MAX)
  return PATH_MAX - 1;
#else
  return 4095;
#endif
}

std::size_t maxNameBytes() { return maxNameLength(); }

Outcome openDrawing(const NativeName& typed, FileHandle* folder, FileHandle* drawing,
                    NativeName* opened) {
  const std::size_t split = folderPartLength<char>(typed);
  *opened = typed.substr(split);
  // "plan.txt" lies in the current folder, "/plan.txt" in the root.
  const NativeName folderName = split == 0 ? NativeName(".") : typed.substr(0, split);
  const int folderDescriptor = ::open(folderName.c_str(), kFolderAccess | O_DIRECTORY | O_CLOEXEC);
  if (folderDescriptor < 0) return drawingOutcome(errno);
  if (opened->empty()) {
    ::close(folderDescriptor);
    return Outcome::kMissingInput;
  }
  const int descriptor = openIn(folderDescriptor, *opened, O_RDONLY);
  struct stat status;
  if (descriptor < 0 || fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
    const Outcome outcome = descriptor < 0 ? drawingOutcome(errno) : Outcome::kMissingInput;
    if (descriptor >= 0) ::close(descriptor);
    ::close(folderDescriptor);
    return outcome;
  }
  *folder = folderDescriptor;
  *drawing = descriptor;
  return Outcome::kDone;
}

Outcome openToReadBack(FileHandle folder, const NativeName& name, FileHandle* file) {
  const int descriptor = openIn(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (descriptor < 0) return Outcome::kCannotWriteOutput;
  *file = descriptor;
  return Outcome::kDone;
}

Outcome openForWriting(FileHandle folder, const NativeName& name, bool create, FileHandle* file) {
  const int descriptor =
      openIn(folder, name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0));
  if (descriptor < 0)
    return !create && errno == ENOENT ? Outcome::kDone : Outcome::kCannotWriteOutput;
  *file = descriptor;
  return Outcome::kDone;
}

bool factsOf(FileHandle file, FileFacts* facts) {
  struct stat status;
  if (file == kNoFile || fstat(descriptorOf(file), &status) != 0) return false;
  facts->identity = identityOf(status);
  facts->size = static_cast<std::uint64_t>(status.st_size);
  facts->plainFile = S_ISREG(status.st_mode) && status.st_nlink == 1;
  return true;
}

bool truncateFile(FileHandle file) { return ftruncate(descriptorOf(file), 0) == 0; }

std::ptrdiff_t readFile(FileHandle file, char* to, std::size_t size) {
  if (file == kNoFile) return 0;
  for (;;) {
    const ssize_t got = ::read(descriptorOf(file), to, std::min(size, kMostBytesPerCall));
    if (got >= 0 || errno != EINTR) return got;
  }
}

bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored) {
  while (size > 0) {
    const ssize_t put = ::write(descriptorOf(file), bytes, std::min(size, kMostBytesPerCall));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes += put;
    size -= static_cast<std::size_t>(put);
    *stored += static_cast<std::uint64_t>(put);
  }
  return true;
}

void closeFile(FileHandle file) {
  if (file != kNoFile) ::close(descriptorOf(file));
}

OutputLookup lookUpOutput(FileHandle folder, const NativeName& name) {
  OutputLookup lookup;
  struct stat status;
  if (fstatat(descriptorOf(folder), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    lookup.exists = errno != ENOENT;
    return lookup;
  }
  lookup.plainFile = S_ISREG(status.st_mode) && status.st_nlink == 1;
  // A link is never written through, but one that reaches the drawing is told apart.
  if (S_ISLNK(status.st_mode) && fstatat(descriptorOf(folder), name.c_str(), &status, 0) != 0) {
    return lookup;
  }
  lookup.reaches = true;
  lookup.identity = identityOf(status);
  return lookup;
}

bool readPipedName(std::streambuf& in, NativeName* name, bool* ended) {
  NameCollector<char> collector(PathStyle::kPosix, maxNameBytes());
  collectBytes(in, &collector, ended);
  return collector.finish(name);
}

NameInput* consoleNameInput() { return nullptr; }

void reportFailedWritesAsErrors() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace lines2svg
