// The system's side of the program on Windows.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "driver/platform.h"
#include "driver/windows_text.h"
#include "text/buffer_size.h"
#include "text/line_feeds.h"
#include "text/unicode.h"

// ntdll's query of a folder's entries, which MinGW's winternl.h leaves out.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(  // NOLINT(readability-identifier-naming)
    HANDLE folder, HANDLE event, PIO_APC_ROUTINE apc, PVOID apcContext, PIO_STATUS_BLOCK io,
    PVOID information, ULONG length, FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
    PUNICODE_STRING name, BOOLEAN restart);

namespace lines2svg {

namespace {

// The longest name the system can open, in UTF-16 units, and the most bytes a piped name can take:
// a Windows code page takes at most four bytes for a unit.
constexpr std::size_t kMostNameLength = 32767;
constexpr std::size_t kMostNameBytes = 4 * kMostNameLength;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr NTSTATUS kFileIsAFolder = static_cast<NTSTATUS>(0xC00000BA);
constexpr wchar_t kEndOfInput = 0x1A;  // Ctrl-Z, typed at a console to end input.

// The common code keeps a handle as an integer; here it is turned back into one.
HANDLE handleOf(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);  // NOLINT(performance-no-int-to-ptr)
}
std::intptr_t heldAs(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

// The outcome of a call that failed with `error`: a lack of memory, or `failure`.
Outcome outcomeOf(DWORD error, Outcome failure) {
  const bool noMemory = error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY;
  return noMemory ? Outcome::kOutOfMemory : failure;
}

Outcome outcomeOfCall(BOOL result, Outcome failure) {
  return result ? Outcome::kDone : outcomeOf(GetLastError(), failure);
}

// The outcome of opening the drawing or its folder after `error`: only a name that leads to
// nothing readable is a missing drawing. Any other refusal (no permission, another program
// holding it, no handles left, a failing disk) is one of a drawing that exists.
Outcome drawingOutcome(DWORD error) {
  for (const DWORD missing :
       {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_BAD_PATHNAME,
        ERROR_FILENAME_EXCED_RANGE, ERROR_DIRECTORY, ERROR_INVALID_DRIVE, ERROR_NOT_READY,
        ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME}) {
    if (error == missing) return Outcome::kMissingInput;
  }
  return outcomeOf(error, Outcome::kCannotReadInput);
}

// The reparse tag of an open file; 0 when it is no reparse point or Windows cannot tell.
DWORD reparseTagOf(HANDLE file) {
  FILE_ATTRIBUTE_TAG_INFO info;
  if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof info)) return 0;
  return (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? info.ReparseTag : 0;
}

// The facts of an open file or folder.
Outcome factsOf(HANDLE file, Outcome failure, FileFacts* facts) {
  BY_HANDLE_FILE_INFORMATION info;
  const Outcome outcome = outcomeOfCall(GetFileInformationByHandle(file, &info), failure);
  if (outcome != Outcome::kDone) return outcome;
  facts->identity.device = info.dwVolumeSerialNumber;
  facts->identity.file = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
  facts->size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
  facts->modified =
      std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 | info.ftLastWriteTime.dwLowDateTime;
  facts->regular = GetFileType(file) == FILE_TYPE_DISK &&
                   (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  // Only a link's reparse point keeps a file from being plain; any other reparse point (a cloud
  // placeholder, a deduplicated or compressed file) holds the file's own data.
  facts->plainFile = facts->regular && info.nNumberOfLinks == 1 &&
                     ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
                      !isLinkTag(reparseTagOf(file)));
  return Outcome::kDone;
}

// A name as ntdll takes it; it must be at most kMostNameLength units long.
UNICODE_STRING unicodeOf(const std::wstring& name) {
  const auto bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  return {bytes, bytes, const_cast<wchar_t*>(name.c_str())};
}

// A file in the drawing's folder, opened by its name relative to the folder's handle
// (openInFolder), so that it is looked up in that folder whatever has been renamed since.
struct InFolder {
  HANDLE handle = INVALID_HANDLE_VALUE;
  // The Windows error of a failed open; ERROR_DIRECTORY when the name is a folder's.
  DWORD error = ERROR_SUCCESS;
  bool created = false;
};

InFolder openInFolder(std::intptr_t folder, const std::wstring& name, ACCESS_MASK access,
                      ULONG share, ULONG disposition, ULONG options) {
  InFolder opened;
  // A name within the system's limit fits a UNICODE_STRING; an empty one would open the folder.
  if (name.empty() || name.size() > kMostNameLength) {
    opened.error = ERROR_FILE_NOT_FOUND;
    return opened;
  }
  UNICODE_STRING object = unicodeOf(name);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &object, OBJ_CASE_INSENSITIVE, handleOf(folder), nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE handle = nullptr;
  const NTSTATUS status =
      NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL,
                   share, disposition, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  if (status < 0) {
    opened.error = status == kFileIsAFolder ? ERROR_DIRECTORY : RtlNtStatusToDosError(status);
    return opened;
  }
  opened.handle = handle;
  opened.created = io.Information == FILE_CREATED;
  return opened;
}

// Tells in `leads` whether `name` in `folder` opens as the file `identity`, a link followed or
// not; with `remove` that file is then deleted. No access to the data is asked for, so a file
// another program holds, or the run itself, can still be looked at.
Outcome leadsTo(std::intptr_t folder, const std::wstring& name, bool followLinks,
                const FileIdentity& identity, bool* leads, bool remove = false) {
  *leads = false;
  const InFolder found =
      openInFolder(folder, name, FILE_READ_ATTRIBUTES | (remove ? DELETE : 0), kShareAll, FILE_OPEN,
                   followLinks ? 0 : FILE_OPEN_REPARSE_POINT);
  if (found.handle == INVALID_HANDLE_VALUE) return outcomeOf(found.error, Outcome::kDone);
  FileFacts facts;
  const Outcome outcome = factsOf(found.handle, Outcome::kDone, &facts);
  *leads = outcome == Outcome::kDone && facts.identity == identity;
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (*leads && remove) {
    SetFileInformationByHandle(found.handle, FileDispositionInfo, &disposition, sizeof disposition);
  }
  CloseHandle(found.handle);
  return outcome;
}

// True when two names in a folder are the same, letter case ignored as Windows ignores it.
bool sameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The long name of the entry in `folder` that `name` matches, by its long or its 8.3 name: for a
// link its own name, for PLANOV~1.TXT planovani.txt. Empty where the system cannot tell, as in a
// folder that may be passed through but not listed. The folder is asked through a handle of its
// own, since a folder handle keeps the first name it is asked about for good.
std::wstring entryName(std::intptr_t folder, const std::wstring& name) {
  constexpr std::size_t kMostPartLength = 512;
  if (name.empty() || name.size() > kMostPartLength || name.find_first_of(L"*?<>\"") != name.npos) {
    return {};
  }
  const HANDLE listing = ReOpenFile(handleOf(folder), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll,
                                    FILE_FLAG_BACKUP_SEMANTICS);
  if (listing == INVALID_HANDLE_VALUE) return {};
  UNICODE_STRING pattern = unicodeOf(name);
  union {
    FILE_BOTH_DIR_INFORMATION entry;
    char bytes[sizeof(FILE_BOTH_DIR_INFORMATION) + kMostPartLength * sizeof(wchar_t)];
  } found;
  IO_STATUS_BLOCK io{};
  const NTSTATUS status =
      NtQueryDirectoryFile(listing, nullptr, nullptr, nullptr, &io, &found, sizeof found,
                           FileBothDirectoryInformation, TRUE, &pattern, TRUE);
  CloseHandle(listing);
  if (status < 0) return {};
  return std::wstring(found.entry.FileName, found.entry.FileNameLength / sizeof(wchar_t));
}

// Decides where a typed name leads, once and before anything is asked of the system: its full
// path as GetFullPathNameW makes it, with . and .. collapsed as the system itself collapses them
// and the dots and spaces that end a name dropped, split by splitFullPath into the folder, in its
// \\?\ form, and the last part. kMissingInput for anything but a file in a folder on a disk.
Outcome resolve(const std::wstring& typed, std::wstring* folder, std::wstring* name) {
  const DWORD size = GetFullPathNameW(typed.c_str(), 0, nullptr, nullptr);
  if (size == 0) return outcomeOf(GetLastError(), Outcome::kMissingInput);
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(typed.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return Outcome::kMissingInput;
  full.resize(length);
  return splitFullPath(full, folder, name) ? Outcome::kDone : Outcome::kMissingInput;
}

// True when a reading of a piped name leads to a file, not a folder. Only a name that resolve()
// passes is asked about, in its \\?\ form, since asking about a device may open it.
bool namesFile(const std::wstring& text) {
  std::wstring folder;
  std::wstring name;
  if (resolve(text, &folder, &name) != Outcome::kDone) return false;
  const DWORD attributes = GetFileAttributesW((folder + name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The console's input code page, or the OEM code page when there is no console, and the ANSI
// code page.
CodePages pipeCodePages() {
  CodePages pages;
  pages.console = GetConsoleCP();
  if (pages.console == 0) pages.console = GetOEMCP();
  pages.ansi = GetACP();
  return pages;
}

// The console, read as Unicode: each read returns what has been typed, in line mode when Enter
// is pressed. Without line input, Enter gives a CR alone, which ends the line all the same.
class ConsoleNameInput : public NameInput {
 public:
  explicit ConsoleNameInput(HANDLE console) : console_(console) {}

  bool readName(NativeName* name) override {
    NameCollector<wchar_t> collector(PathStyle::kWindows, kMostNameLength);
    return collectName(*this, &collector, name);
  }

  void waitForKey() override { waitForKeyFrom<wchar_t>(*this); }

  // The next typed character, each line end as one LF, left unread; false once input has ended.
  bool peek(wchar_t* c) {
    while (!held_ && !ended_) {
      if (next_ == end_) {
        next_ = 0;
        ended_ = !ReadConsoleW(console_, buffer_, kBufferSize, &end_, nullptr) || end_ == 0;
        if (ended_) break;
      }
      c_ = buffer_[next_++];
      ended_ = c_ == kEndOfInput;
      held_ = !ended_ && lineEnds_.take(&c_);
    }
    *c = c_;
    return held_;
  }

  void take() { held_ = false; }

 private:
  static constexpr DWORD kBufferSize = 4096;
  HANDLE console_;
  wchar_t buffer_[kBufferSize];
  DWORD next_ = 0;
  DWORD end_ = 0;
  wchar_t c_ = 0;
  bool held_ = false;
  bool ended_ = false;
  LineEnds lineEnds_;
};

// The units of a name piped as UTF-16 after its byte-order mark, big-endian or little-endian.
class Utf16Units {
 public:
  Utf16Units(PipedNameInput& bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

  bool peek(wchar_t* c) {
    char a = 0;
    char b = 0;
    if (!held_ && bytes_.peek(&a) && (bytes_.take(), bytes_.peek(&b))) {
      bytes_.take();
      unit_ = static_cast<wchar_t>(
          utf16Unit(static_cast<unsigned char>(a), static_cast<unsigned char>(b), bigEndian_));
      held_ = true;
    }
    *c = unit_;
    return held_;
  }

  void take() { held_ = false; }

 private:
  PipedNameInput& bytes_;
  bool bigEndian_;
  wchar_t unit_ = 0;
  bool held_ = false;
};

}  // namespace

Outcome HeldFile::facts(FileFacts* facts) const {
  return factsOf(handleOf(handle_), failure_, facts);
}

Outcome HeldFile::read(char* to, std::size_t size, std::size_t* got) {
  DWORD read = 0;
  const auto want = static_cast<DWORD>(std::min(size, kMostBytesPerCall));
  const BOOL done = ReadFile(handleOf(handle_), to, want, &read, nullptr);
  *got = read;
  return done || GetLastError() == ERROR_HANDLE_EOF ? Outcome::kDone
                                                    : outcomeOf(GetLastError(), failure_);
}

Outcome HeldFile::write(const char* bytes, std::size_t size) {
  // Text as Windows stores it, each line end as CR LF, expanded into a chunk twice the size of a
  // pass's output buffer, so that each buffer the pass hands on is one call to the system. It
  // needs no allocation, and the program runs on one thread.
  constexpr std::size_t kSlice = kIoBufferSize;
  static char chunk[2 * kSlice + 32];
  for (std::size_t done = 0; done < size;) {
    const std::size_t slice = std::min(size - done, kSlice);
    const auto want = static_cast<DWORD>(expandLineFeeds(bytes + done, slice, chunk));
    DWORD written = 0;
    const Outcome outcome =
        outcomeOfCall(WriteFile(handleOf(handle_), chunk, want, &written, nullptr), failure_);
    if (outcome != Outcome::kDone || written != want) {
      return outcome != Outcome::kDone ? outcome : failure_;
    }
    stored_ += written;
    done += slice;
  }
  return Outcome::kDone;
}

Outcome HeldFile::rewind() {
  LARGE_INTEGER start;
  start.QuadPart = 0;
  return outcomeOfCall(SetFilePointerEx(handleOf(handle_), start, nullptr, FILE_BEGIN), failure_);
}

Outcome HeldFile::empty() {
  const Outcome outcome = rewind();
  return outcome != Outcome::kDone ? outcome
                                   : outcomeOfCall(SetEndOfFile(handleOf(handle_)), failure_);
}

Outcome HeldFile::close() {
  if (handle_ == -1) return failure_;
  const BOOL closed = CloseHandle(handleOf(handle_));
  handle_ = -1;
  return outcomeOfCall(closed, failure_);
}

Output::~Output() {
  // The held handle shares no delete access: it is closed first, and the name opened again to be
  // deleted only if it still leads to the same file.
  FileFacts held;
  if (!discardable_ || facts(&held) != Outcome::kDone) return;
  close();
  bool removed = false;
  lines2svg::leadsTo(folder_->handle_, name_, false, held.identity, &removed, true);
}

Folder::~Folder() {
  if (handle_ != -1) CloseHandle(handleOf(handle_));
}

Outcome Folder::openDrawing(const NativeName& typed, HeldFile* drawing, NativeName* name,
                            FileFacts* facts) {
  std::wstring folderPath;
  std::wstring part;
  if (const Outcome outcome = resolve(typed, &folderPath, &part); outcome != Outcome::kDone) {
    return outcome;
  }
  // The folder is held so that it cannot be renamed or deleted meanwhile: its sharing leaves out
  // delete access, which a rename needs. Nothing is opened through it unless it is a folder on a
  // disk.
  const HANDLE folder = CreateFileW(folderPath.c_str(), FILE_TRAVERSE | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return drawingOutcome(GetLastError());
  handle_ = heldAs(folder);
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(folder) != FILE_TYPE_DISK) return Outcome::kMissingInput;
  if (const Outcome outcome =
          outcomeOfCall(GetFileInformationByHandle(folder, &info), Outcome::kCannotReadInput);
      outcome != Outcome::kDone) {
    return outcome;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return Outcome::kMissingInput;
  // Shared for reading only: a drawing another program still has open for writing, perhaps
  // half saved, is refused rather than converted in part.
  const InFolder file = openInFolder(handle_, part, GENERIC_READ, FILE_SHARE_READ, FILE_OPEN,
                                     FILE_NON_DIRECTORY_FILE | FILE_SEQUENTIAL_ONLY);
  if (file.handle == INVALID_HANDLE_VALUE) return drawingOutcome(file.error);
  drawing->handle_ = heldAs(file.handle);
  drawing->failure_ = Outcome::kCannotReadInput;
  if (GetFileType(file.handle) != FILE_TYPE_DISK) return Outcome::kMissingInput;
  if (const Outcome outcome = drawing->facts(facts); outcome != Outcome::kDone) return outcome;
  // The outputs are named after the drawing's own entry in the folder: the long name, and a
  // link's own name rather than its target's.
  *name = entryName(handle_, part);
  if (name->empty()) *name = part;
  return Outcome::kDone;
}

Outcome Folder::claim(const NativeName& name, Output* output, FileFacts* facts) const {
  output->folder_ = this;
  output->name_ = name;
  output->failure_ = Outcome::kCannotWriteOutput;
  // Shared for reading only: while the run holds it, no other program writes, moves or deletes it.
  // The name's own entry is opened, a link not followed.
  constexpr ACCESS_MASK kAccess = GENERIC_READ | GENERIC_WRITE;
  InFolder opened = openInFolder(handle_, name, kAccess, FILE_SHARE_READ, FILE_OPEN_IF,
                                 FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
  if (opened.handle == INVALID_HANDLE_VALUE) {
    return outcomeOf(opened.error, Outcome::kCannotWriteOutput);
  }
  output->handle_ = heldAs(opened.handle);
  output->discardable_ = opened.created;
  Outcome outcome = output->facts(facts);
  const DWORD tag = opened.created ? 0 : reparseTagOf(opened.handle);
  if (outcome == Outcome::kDone && tag != 0 && !isLinkTag(tag)) {
    // A reparse point that is no link (a cloud file's placeholder, a deduplicated or compressed
    // file) holds its data through its filter, which an open of the reparse point itself goes
    // around: it is opened again through the filter, and must still be the file met.
    const FileIdentity met = facts->identity;
    output->close();
    opened =
        openInFolder(handle_, name, kAccess, FILE_SHARE_READ, FILE_OPEN, FILE_NON_DIRECTORY_FILE);
    if (opened.handle == INVALID_HANDLE_VALUE) {
      return outcomeOf(opened.error, Outcome::kCannotWriteOutput);
    }
    output->handle_ = heldAs(opened.handle);
    outcome = output->facts(facts);
    if (outcome == Outcome::kDone && !(facts->identity == met)) return Outcome::kCannotWriteOutput;
  }
  if (outcome != Outcome::kDone) return outcome;
  // An existing output reached through another name of a file, such as PLANOV~1.DAT for
  // planovani.data, would replace a file the user knows by that other name. Only a name the
  // folder gives can tell it; where it gives none, nothing is refused for it.
  const std::wstring entry = opened.created ? name : entryName(handle_, name);
  const bool ownName = entry.empty() || sameName(entry, name);
  return facts->plainFile && ownName ? Outcome::kDone : Outcome::kCannotWriteOutput;
}

Outcome Folder::leadsTo(const NativeName& name, const FileIdentity& identity, bool followLinks,
                        bool* leads) const {
  return lines2svg::leadsTo(handle_, name, followLinks, identity, leads);
}

bool decodeBytes(const std::string& bytes, unsigned codePage, std::wstring* text) {
  text->clear();
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  // Only UTF-8 is asked to refuse bad sequences: a wrong guess at it must not pass for a name.
  const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (length <= 0) return false;
  text->resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(codePage, flags, bytes.data(), size, text->data(), length) == length;
}

std::wstring decodePipedName(const std::string& bytes, const CodePages& codePages,
                             bool (*isFile)(const std::wstring&)) {
  std::wstring first;
  decodeBytes(bytes, codePages.console, &first);
  if (isFile(first)) return first;
  std::wstring other;
  if (decodeBytes(bytes, codePages.ansi, &other) && isFile(other)) return other;
  if (decodeBytes(bytes, CP_UTF8, &other) && isFile(other)) return other;
  return first;
}

bool PipedNameInput::readName(NativeName* name) {
  NameCollector<char> collector(PathStyle::kWindows, kMostNameBytes);
  // A name list saved as UTF-16 (Notepad's "UTF-16 LE", PowerShell 5's >) starts with its mark.
  char first = 0;
  char second = 0;
  const auto byte = [](char c) { return static_cast<unsigned char>(c); };
  if (peek(&first) && (byte(first) == kUtf16LittleMarkStart || byte(first) == kUtf16BigMarkStart)) {
    take();
    if (peek(&second) && isUtf16Mark(byte(first), byte(second))) {
      take();
      Utf16Units units(*this, byte(first) == kUtf16BigMarkStart);
      NameCollector<wchar_t> wide(PathStyle::kWindows, kMostNameLength);
      return collectName(units, &wide, name);
    }
    collector.offer(first);
  }
  std::string bytes;
  if (!collectName(*this, &collector, &bytes)) return false;
  *name = decodePipedName(bytes, pipeCodePages(), namesFile);
  return name->size() <= kMostNameLength;
}

NameInput& standardNameInput() {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (in != INVALID_HANDLE_VALUE && in != nullptr && GetConsoleMode(in, &mode)) {
    static ConsoleNameInput console(in);
    return console;
  }
  static PipedNameInput piped(*std::cin.rdbuf());
  return piped;
}

// Windows has no signals for a broken pipe or a file-size limit: a failed write is reported.
void reportFailedWritesAsErrors() {}

}  // namespace lines2svg
