// The system's side of the program on Linux and other POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>

#include "driver/name_input.h"
#include "driver/platform.h"

namespace lines2svg {

namespace {

int descriptorOf(FileHandle file) { return static_cast<int>(file); }

FileIdentity identityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// A read or a write is at most this large, below every system's limit for one call.
constexpr std::size_t kMostPerCall = std::size_t{1} << 30;

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

Outcome openForReading(const NativeName& name, ReadOpening opening, FileHandle* file) {
  int flags = O_RDONLY | O_CLOEXEC;
  if (opening == ReadOpening::kOwnFile) flags |= O_NOFOLLOW | O_NONBLOCK;
  const int descriptor = ::open(name.c_str(), flags);
  if (descriptor < 0) {
    const int error = errno;
    if (error == ENOMEM) return Outcome::kOutOfMemory;
    const bool refused = error == EACCES || error == EPERM || error == EBUSY || error == ETXTBSY;
    return refused ? Outcome::kCannotReadInput : Outcome::kMissingInput;
  }
  struct stat status;
  if (fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
    ::close(descriptor);
    return Outcome::kMissingInput;
  }
  *file = descriptor;
  return Outcome::kDone;
}

Outcome openForWriting(const NativeName& name, FileHandle* file) {
  const int descriptor =
      ::open(name.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (descriptor < 0) return errno == ENOMEM ? Outcome::kOutOfMemory : Outcome::kCannotWriteOutput;
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
    const ssize_t got = ::read(descriptorOf(file), to, std::min(size, kMostPerCall));
    if (got >= 0 || errno != EINTR) return got;
  }
}

bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored) {
  while (size > 0) {
    const ssize_t put = ::write(descriptorOf(file), bytes, std::min(size, kMostPerCall));
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

OutputLookup lookUpOutput(const NativeName& name) {
  OutputLookup lookup;
  struct stat status;
  if (lstat(name.c_str(), &status) != 0) {
    lookup.exists = errno != ENOENT;
    return lookup;
  }
  lookup.plainFile = S_ISREG(status.st_mode) && status.st_nlink == 1;
  // A link is never written through, but one that reaches the drawing is told apart.
  if (S_ISLNK(status.st_mode) && stat(name.c_str(), &status) != 0) return lookup;
  lookup.reaches = true;
  lookup.identity = identityOf(status);
  return lookup;
}

NativeName longName(const NativeName& drawing) { return drawing; }

bool readPipedName(std::streambuf& in, NativeName* name, bool* ended) {
  NameCollector<char> collector(PathStyle::kPosix, maxNameBytes());
  collectBytes(in, &collector, ended);
  return collector.finish(name);
}

NameInput* consoleNameInput() { return nullptr; }

void ignoreBrokenPipes() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace lines2svg
