// The system's side of the program on Linux and other POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <iostream>

#include "driver/platform.h"

namespace lines2svg {

namespace {

// The longest name the system can open, and so the most bytes a piped name can take.
#if defined(PATH_MAX)
constexpr std::size_t kMostNameBytes = PATH_MAX - 1;
#else
constexpr std::size_t kMostNameBytes = 4095;
#endif

// A folder is held only to reach the files in it: a folder the user may pass through but not
// list still serves.
#if defined(O_PATH)
constexpr int kFolderAccess = O_PATH;
#else
constexpr int kFolderAccess = O_RDONLY;
#endif

int descriptorOf(std::intptr_t handle) { return static_cast<int>(handle); }

FileIdentity identityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// The status of an open file, kept as the program keeps it.
FileFacts factsOf(const struct stat& status) {
  FileFacts facts;
  facts.identity = identityOf(status);
  facts.size = static_cast<std::uint64_t>(status.st_size);
  facts.modified = static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                   static_cast<std::uint64_t>(status.st_mtim.tv_nsec);
  facts.regular = S_ISREG(status.st_mode);
  facts.plainFile = facts.regular && status.st_nlink == 1;
  return facts;
}

// The outcome of a call that returned `result`: kDone, or after errno, kOutOfMemory or `failure`.
Outcome outcomeOf(long result, Outcome failure) {
  if (result >= 0) return Outcome::kDone;
  return errno == ENOMEM ? Outcome::kOutOfMemory : failure;
}

// The outcome of opening the drawing or its folder, failed with errno: only a name that leads to
// nothing readable is a missing drawing. Any other refusal (no permission, no descriptors left, a
// failing disk) is one of a drawing that exists.
Outcome drawingOutcome() {
  const int error = errno;
  const bool missing = error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG ||
                       error == ELOOP || error == ENXIO || error == ENODEV || error == EISDIR;
  return missing ? Outcome::kMissingInput : outcomeOf(-1, Outcome::kCannotReadInput);
}

// Opens `name` in the folder `folder`: the descriptor, or -1 with errno set.
int openIn(std::intptr_t folder, const NativeName& name, int flags) {
  return ::openat(descriptorOf(folder), name.c_str(), flags | O_CLOEXEC, 0666);
}

}  // namespace

Outcome HeldFile::facts(FileFacts* facts) const {
  struct stat status;
  const Outcome outcome = outcomeOf(fstat(descriptorOf(handle_), &status), failure_);
  if (outcome == Outcome::kDone) *facts = factsOf(status);
  return outcome;
}

Outcome HeldFile::read(char* to, std::size_t size, std::size_t* got) {
  for (;;) {
    const ssize_t read = ::read(descriptorOf(handle_), to, std::min(size, kMostBytesPerCall));
    if (read >= 0 || errno != EINTR) {
      *got = read > 0 ? static_cast<std::size_t>(read) : 0;
      return outcomeOf(read, failure_);
    }
  }
}

Outcome HeldFile::write(const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t put = ::write(descriptorOf(handle_), bytes, std::min(size, kMostBytesPerCall));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return put < 0 ? outcomeOf(put, failure_) : failure_;
    bytes += put;
    size -= static_cast<std::size_t>(put);
    stored_ += static_cast<std::uint64_t>(put);
  }
  return Outcome::kDone;
}

Outcome HeldFile::rewind() {
  return outcomeOf(lseek(descriptorOf(handle_), 0, SEEK_SET), failure_);
}

Outcome HeldFile::empty() { return outcomeOf(ftruncate(descriptorOf(handle_), 0), failure_); }

Outcome HeldFile::close() {
  if (handle_ < 0) return failure_;
  const int result = ::close(descriptorOf(handle_));
  handle_ = -1;
  return outcomeOf(result, failure_);
}

Output::~Output() {
  // Removed only while the name still leads to the file the run created.
  if (discardable_ && isStillNamed() == Outcome::kDone) {
    unlinkat(descriptorOf(folder_->handle_), name_.c_str(), 0);
  }
}

Folder::~Folder() {
  if (handle_ >= 0) ::close(descriptorOf(handle_));
}

Outcome Folder::openDrawing(const NativeName& typed, HeldFile* drawing, NativeName* name,
                            FileFacts* facts) {
  const std::size_t split = typed.rfind('/') + 1;
  *name = typed.substr(split);
  // "plan.txt" lies in the current folder, "/plan.txt" in the root.
  const NativeName folderName = split == 0 ? NativeName(".") : typed.substr(0, split);
  handle_ = ::open(folderName.c_str(), kFolderAccess | O_DIRECTORY | O_CLOEXEC);
  if (handle_ < 0) return drawingOutcome();
  if (name->empty()) return Outcome::kMissingInput;
  drawing->failure_ = Outcome::kCannotReadInput;
  drawing->handle_ = openIn(handle_, *name, O_RDONLY);
  if (drawing->handle_ < 0) return drawingOutcome();
  struct stat status;
  const Outcome outcome =
      outcomeOf(fstat(descriptorOf(drawing->handle_), &status), Outcome::kCannotReadInput);
  if (outcome != Outcome::kDone) return outcome;
  *facts = factsOf(status);
  return S_ISDIR(status.st_mode) ? Outcome::kMissingInput : Outcome::kDone;
}

Outcome Folder::claim(const NativeName& name, Output* output, FileFacts* facts) const {
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
  output->folder_ = this;
  output->name_ = name;
  output->failure_ = Outcome::kCannotWriteOutput;
  // An absent output is created exclusively, so that the run knows it made the file; if another
  // program makes one in between, that one is opened as it is.
  for (int attempt = 0; attempt < 2; ++attempt) {
    output->handle_ = openIn(handle_, name, kFlags);
    const bool absent = output->handle_ < 0 && errno == ENOENT;
    if (absent) output->handle_ = openIn(handle_, name, kFlags | O_CREAT | O_EXCL);
    output->discardable_ = absent && output->handle_ >= 0;
    if (output->handle_ >= 0 || !absent || errno != EEXIST) break;
  }
  Outcome outcome = outcomeOf(output->handle_, Outcome::kCannotWriteOutput);
  if (outcome == Outcome::kDone) outcome = output->facts(facts);
  return outcome == Outcome::kDone && !facts->plainFile ? Outcome::kCannotWriteOutput : outcome;
}

Outcome Folder::leadsTo(const NativeName& name, const FileIdentity& identity, bool followLinks,
                        bool* leads) const {
  struct stat status;
  const int flags = followLinks ? 0 : AT_SYMLINK_NOFOLLOW;
  const int result = fstatat(descriptorOf(handle_), name.c_str(), &status, flags);
  *leads = result == 0 && identityOf(status) == identity;
  return outcomeOf(result, Outcome::kDone);
}

NameInput& standardNameInput() {
  static PipedNameInput input(*std::cin.rdbuf());
  return input;
}

bool PipedNameInput::readName(NativeName* name) {
  NameCollector<char> collector(PathStyle::kPosix, kMostNameBytes);
  return collectName(*this, &collector, name);
}

void reportFailedWritesAsErrors() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace lines2svg
