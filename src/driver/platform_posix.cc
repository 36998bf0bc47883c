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

// The longest name the system can open, and so the most bytes a piped name can take.
#if defined(PATH_MAX)
constexpr std::size_t kMostNameBytes = PATH_MAX - 1;
#else
constexpr std::size_t kMostNameBytes = 4095;
#endif

// A read or a write asks the system for at most this many bytes at once, below Linux's limit
// for one call.
constexpr std::size_t kMostBytesPerCall = std::size_t{1} << 30;

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

// True when a call's result is no failure; a lack of memory is thrown.
bool succeeded(long result) {
  if (result < 0 && errno == ENOMEM) throw std::bad_alloc();
  return result >= 0;
}

// The outcome of opening the drawing or its folder after `error`: only a name that leads to
// nothing readable is a missing drawing. Any other refusal (no permission, no descriptors left, a
// failing disk) is one of a drawing that exists.
Outcome drawingOutcome(int error) {
  const bool missing = error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG ||
                       error == ELOOP || error == ENXIO || error == ENODEV || error == EISDIR;
  return missing ? Outcome::kMissingInput : Outcome::kCannotReadInput;
}

// Opens `name` in `folder`: the descriptor, or -1 with errno set.
int openIn(FileHandle folder, const NativeName& name, int flags) {
  const int descriptor = ::openat(descriptorOf(folder), name.c_str(), flags | O_CLOEXEC, 0666);
  succeeded(descriptor);
  return descriptor;
}

// The status of `name` in `folder`, a link followed or not as `flags` say.
bool lookUp(FileHandle folder, const NativeName& name, int flags, struct stat* status) {
  return succeeded(fstatat(descriptorOf(folder), name.c_str(), status, flags));
}

}  // namespace

PathStyle hostPathStyle() { return PathStyle::kPosix; }

Outcome openDrawing(const NativeName& typed, FileHandle* folder, FileHandle* drawing,
                    NativeName* opened) {
  const std::size_t split = folderPartLength<char>(typed, PathStyle::kPosix);
  *opened = typed.substr(split);
  // "plan.txt" lies in the current folder, "/plan.txt" in the root.
  const NativeName folderName = split == 0 ? NativeName(".") : typed.substr(0, split);
  const int folderDescriptor = ::open(folderName.c_str(), kFolderAccess | O_DIRECTORY | O_CLOEXEC);
  if (!succeeded(folderDescriptor)) return drawingOutcome(errno);
  *folder = folderDescriptor;
  if (opened->empty()) return Outcome::kMissingInput;
  const int descriptor = openIn(folderDescriptor, *opened, O_RDONLY);
  if (descriptor < 0) return drawingOutcome(errno);
  *drawing = descriptor;
  struct stat status;
  if (!succeeded(fstat(descriptor, &status))) return Outcome::kCannotReadInput;
  return S_ISDIR(status.st_mode) ? Outcome::kMissingInput : Outcome::kDone;
}

Outcome openOutput(FileHandle folder, const NativeName& name, FileHandle* file, bool* created) {
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
  // An absent output is created exclusively, so that `created` tells of a file this run made; if
  // another program makes one in between, that one is opened as it is.
  for (int attempt = 0; attempt < 2; ++attempt) {
    int descriptor = openIn(folder, name, kFlags);
    *created = descriptor < 0 && errno == ENOENT;
    if (*created) descriptor = openIn(folder, name, kFlags | O_CREAT | O_EXCL);
    if (descriptor >= 0) {
      *file = descriptor;
      return Outcome::kDone;
    }
    if (!*created || errno != EEXIST) break;
  }
  return Outcome::kCannotWriteOutput;
}

namespace {

// True when `name` in `folder`, a link not followed, is the open `file` itself; when it cannot
// tell, errno says why.
bool isNamed(FileHandle folder, const NativeName& name, FileHandle file) noexcept {
  struct stat named;
  struct stat held;
  errno = 0;
  return fstatat(descriptorOf(folder), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         fstat(descriptorOf(file), &held) == 0 && identityOf(named) == identityOf(held);
}

}  // namespace

bool stillNamed(FileHandle folder, const NativeName& name, FileHandle file) {
  const bool named = isNamed(folder, name, file);
  if (!named && errno == ENOMEM) throw std::bad_alloc();
  return named;
}

bool reaches(FileHandle folder, const NativeName& name, const FileIdentity& identity) {
  struct stat status;
  return lookUp(folder, name, 0, &status) && identityOf(status) == identity;
}

void discardCreated(FileHandle folder, const NativeName& name, FileHandle file) noexcept {
  if (isNamed(folder, name, file)) unlinkat(descriptorOf(folder), name.c_str(), 0);
  ::close(descriptorOf(file));
}

bool factsOf(FileHandle file, FileFacts* facts) {
  struct stat status;
  if (file == kNoFile || !succeeded(fstat(descriptorOf(file), &status))) return false;
  facts->identity = identityOf(status);
  facts->size = static_cast<std::uint64_t>(status.st_size);
  facts->modified = static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                    static_cast<std::uint64_t>(status.st_mtim.tv_nsec);
  facts->regular = S_ISREG(status.st_mode);
  facts->plainFile = facts->regular && status.st_nlink == 1;
  return true;
}

bool truncateFile(FileHandle file) { return succeeded(ftruncate(descriptorOf(file), 0)); }

bool rewindFile(FileHandle file) { return succeeded(lseek(descriptorOf(file), 0, SEEK_SET)); }

std::ptrdiff_t readFile(FileHandle file, char* to, std::size_t size) {
  if (file == kNoFile) return 0;
  for (;;) {
    const ssize_t got = ::read(descriptorOf(file), to, std::min(size, kMostBytesPerCall));
    if (got >= 0 || errno != EINTR) return succeeded(got) ? got : -1;
  }
}

bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored) {
  while (size > 0) {
    const ssize_t put = ::write(descriptorOf(file), bytes, std::min(size, kMostBytesPerCall));
    if (put < 0 && errno == EINTR) continue;
    if (!succeeded(put) || put == 0) return false;
    bytes += put;
    size -= static_cast<std::size_t>(put);
    *stored += static_cast<std::uint64_t>(put);
  }
  return true;
}

bool closeFile(FileHandle file) { return file == kNoFile || ::close(descriptorOf(file)) == 0; }

bool readPipedName(std::streambuf& in, NativeName* name, bool* ended) {
  NameCollector<char> collector(PathStyle::kPosix, kMostNameBytes);
  collectBytes(in, &collector, ended);
  return collector.finish(name);
}

NameInput* consoleNameInput() { return nullptr; }

void reportFailedWritesAsErrors() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace lines2svg
