// The system's side of the program on Windows.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <new>
#include <string>

#include "driver/file_names.h"
#include "driver/name_input.h"
#include "driver/platform.h"
#include "driver/windows_text.h"
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

// A read or a write asks the system for at most this many bytes at once, below the limit of a
// DWORD count.
constexpr std::size_t kMostBytesPerCall = std::size_t{1} << 30;

// The common code keeps a handle as an integer; here it is turned back into one.
HANDLE handleOf(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);  // NOLINT(performance-no-int-to-ptr)
}
FileHandle fileOf(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

// A lack of memory in the system is thrown, as an allocation's is.
void throwIfOutOfMemory(DWORD error) {
  if (error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY) throw std::bad_alloc();
}

// True when a call succeeded; a lack of memory is thrown.
bool succeeded(BOOL result) {
  if (!result) throwIfOutOfMemory(GetLastError());
  return result != FALSE;
}

// True when a file, not a folder, of that name exists.
bool namesFile(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
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

// A file in the drawing's folder, opened by its name relative to the folder's handle
// (openInFolder), so that it is looked up in that folder whatever has been renamed since.
struct InFolder {
  HANDLE handle = INVALID_HANDLE_VALUE;
  // The NT status of a failed open, and the Windows error it stands for.
  NTSTATUS status = 0;
  DWORD error = ERROR_SUCCESS;
  bool created = false;
};

InFolder openInFolder(FileHandle folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                      ULONG disposition, ULONG options) {
  InFolder opened;
  // A name within the system's limit fits a UNICODE_STRING; an empty one would open the folder.
  if (name.empty() || name.size() > kMostNameLength) {
    opened.error = ERROR_FILE_NOT_FOUND;
    return opened;
  }
  UNICODE_STRING object;
  object.Buffer = const_cast<wchar_t*>(name.c_str());
  object.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  object.MaximumLength = object.Length;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &object, OBJ_CASE_INSENSITIVE, handleOf(folder), nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE handle = nullptr;
  opened.status =
      NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL,
                   share, disposition, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  if (opened.status < 0) {
    opened.error = RtlNtStatusToDosError(opened.status);
    throwIfOutOfMemory(opened.error);
    return opened;
  }
  opened.handle = handle;
  opened.created = io.Information == FILE_CREATED;
  return opened;
}

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// True when two names in a folder are the same, letter case ignored as Windows ignores it.
bool sameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The long name of the entry in `folder` that `name` matches, by its long or its 8.3 name: for a
// link its own name, for PLANOV~1.TXT planovani.txt. Empty where the system cannot tell, as in a
// folder that may be passed through but not listed. The folder is asked through a handle of its
// own, since a folder handle keeps the first name it is asked about for good.
std::wstring entryName(FileHandle folder, const std::wstring& name) {
  constexpr std::size_t kMostPartLength = 512;
  if (name.empty() || name.size() > kMostPartLength || name.find_first_of(L"*?<>\"") != name.npos) {
    return {};
  }
  const HANDLE listing = ReOpenFile(handleOf(folder), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll,
                                    FILE_FLAG_BACKUP_SEMANTICS);
  if (listing == INVALID_HANDLE_VALUE) return {};
  UNICODE_STRING pattern;
  pattern.Buffer = const_cast<wchar_t*>(name.c_str());
  pattern.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  pattern.MaximumLength = pattern.Length;
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

// The reparse tag of an open file; 0 when it is no reparse point or Windows cannot tell.
DWORD reparseTagOf(HANDLE file) {
  FILE_ATTRIBUTE_TAG_INFO info;
  if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof info)) return 0;
  return (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? info.ReparseTag : 0;
}

constexpr NTSTATUS kFileIsAFolder = static_cast<NTSTATUS>(0xC00000BA);

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
  return Outcome::kCannotReadInput;
}

// Opens the folder part of a typed name, held so that it cannot be renamed or deleted meanwhile:
// its sharing leaves out delete access, which a rename needs.
Outcome openFolder(std::wstring name, FileHandle* folder) {
  // "plan.txt" lies in the current folder, and "C:plan.txt" in drive C's current folder.
  if (name.empty() || name.back() == L':') name += L'.';
  const HANDLE handle =
      CreateFileW(name.c_str(), FILE_TRAVERSE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    throwIfOutOfMemory(error);
    return drawingOutcome(error);
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = succeeded(GetFileInformationByHandle(handle, &info));
  if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    CloseHandle(handle);
    return known ? Outcome::kMissingInput : Outcome::kCannotReadInput;
  }
  *folder = fileOf(handle);
  return Outcome::kDone;
}

constexpr wchar_t kEndOfInput = 0x1A;  // Ctrl-Z, typed at a console to end input.

// Reads the console: each read returns what has been typed, in line mode when Enter is pressed.
// Without line input, Enter gives a CR alone, which ends the line all the same.
class ConsoleNameInput : public NameInput {
 public:
  explicit ConsoleNameInput(HANDLE console) : console_(console) {}

  bool readName(NativeName* name) override {
    NameCollector<wchar_t> collector(PathStyle::kWindows, kMostNameLength);
    // Blank lines are skipped; the rest of the line that holds the name is read and dropped.
    for (bool lineDone = false; !lineDone && !ended_ && !collector.hopeless();) {
      wchar_t c = 0;
      if (!readCharacter(&c)) break;
      if (c == L'\n' && !collector.waiting()) lineDone = true;
      collector.offer(c);
    }
    return collector.finish(name);
  }

  void waitForKey() override {
    wchar_t c = 0;
    for (std::size_t skipped = 0; skipped < kMostSkippedInWait; ++skipped) {
      if (ended_ || !readCharacter(&c) || c == L'\n') return;
    }
  }

 private:
  // The next typed character, each line end as one LF; false once input has ended.
  bool readCharacter(wchar_t* c) {
    do {
      if (next_ == end_) {
        DWORD got = 0;
        if (!ReadConsoleW(console_, buffer_, kBufferSize, &got, nullptr) || got == 0) {
          ended_ = true;
          return false;
        }
        next_ = 0;
        end_ = got;
      }
      *c = buffer_[next_++];
      if (*c == kEndOfInput) ended_ = true;
    } while (!ended_ && !lineEnds_.take(c));
    return !ended_;
  }

  static constexpr DWORD kBufferSize = 4096;
  HANDLE console_;
  wchar_t buffer_[kBufferSize];
  DWORD next_ = 0;
  DWORD end_ = 0;
  bool ended_ = false;
  LineEnds lineEnds_;
};

// Reads a name piped as UTF-16 after its byte-order mark, big-endian or little-endian.
bool readUtf16Name(std::streambuf& in, bool bigEndian, NativeName* name, bool* ended) {
  NameCollector<wchar_t> collector(PathStyle::kWindows, kMostNameLength);
  while (!collector.hopeless()) {
    const int a = in.sbumpc();
    const int b = a == std::char_traits<char>::eof() ? a : in.sbumpc();
    if (b == std::char_traits<char>::eof()) {
      *ended = true;
      break;
    }
    const auto unit = static_cast<wchar_t>(
        utf16Unit(static_cast<unsigned char>(a), static_cast<unsigned char>(b), bigEndian));
    if (!collector.offer(unit)) break;
  }
  return collector.finish(name);
}

}  // namespace

PathStyle hostPathStyle() { return PathStyle::kWindows; }

Outcome openDrawing(const NativeName& typed, FileHandle* folder, FileHandle* drawing,
                    NativeName* opened) {
  // Reading a device would wait on the keyboard, or raise a serial port's lines and reset the
  // instrument on it: it is never opened.
  if (isDeviceName(typed)) return Outcome::kMissingInput;
  const std::size_t split = folderPartLength<wchar_t>(typed, PathStyle::kWindows);
  std::wstring name = typed.substr(split);
  // The name is opened in the folder as Windows opens a typed name, without the dots and spaces
  // that end it, unless a \\?\ path asks for the name exactly as it stands.
  if (typed.compare(0, 4, L"\\\\?\\") != 0) dropTrailingDotsAndSpaces(name, PathStyle::kWindows);
  if (const Outcome outcome = openFolder(typed.substr(0, split), folder);
      outcome != Outcome::kDone) {
    return outcome;
  }
  // Shared for reading only: a drawing another program still has open for writing, perhaps
  // half saved, is refused rather than converted in part.
  const InFolder file = openInFolder(*folder, name, GENERIC_READ, FILE_SHARE_READ, FILE_OPEN,
                                     FILE_NON_DIRECTORY_FILE | FILE_SEQUENTIAL_ONLY);
  if (file.handle == INVALID_HANDLE_VALUE) {
    return file.status == kFileIsAFolder ? Outcome::kMissingInput : drawingOutcome(file.error);
  }
  *drawing = fileOf(file.handle);
  if (GetFileType(file.handle) != FILE_TYPE_DISK) return Outcome::kMissingInput;
  // The outputs are named after the drawing's own entry in the folder: the long name, and a
  // link's own name rather than its target's.
  *opened = entryName(*folder, name);
  if (opened->empty()) *opened = name;
  return Outcome::kDone;
}

Outcome openOutput(FileHandle folder, const NativeName& name, FileHandle* file, bool* created) {
  // Shared for reading only: while the run holds it, no other program writes, moves or deletes it.
  // The name's own entry is opened, a link not followed.
  constexpr ACCESS_MASK kAccess = GENERIC_READ | GENERIC_WRITE;
  InFolder opened = openInFolder(folder, name, kAccess, FILE_SHARE_READ, FILE_OPEN_IF,
                                 FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
  if (opened.handle == INVALID_HANDLE_VALUE) return Outcome::kCannotWriteOutput;
  const DWORD tag = opened.created ? 0 : reparseTagOf(opened.handle);
  if (tag != 0 && !isLinkTag(tag)) {
    // A reparse point that is no link (a cloud file's placeholder, a deduplicated or compressed
    // file) holds its data through its filter, which an open of the reparse point itself goes
    // around: it is opened again through the filter, and must still be the file met.
    FileFacts met;
    FileFacts again;
    const bool known = factsOf(fileOf(opened.handle), &met);
    CloseHandle(opened.handle);
    opened =
        openInFolder(folder, name, kAccess, FILE_SHARE_READ, FILE_OPEN, FILE_NON_DIRECTORY_FILE);
    if (opened.handle == INVALID_HANDLE_VALUE) return Outcome::kCannotWriteOutput;
    if (!known || !factsOf(fileOf(opened.handle), &again) || !(again.identity == met.identity)) {
      CloseHandle(opened.handle);
      return Outcome::kCannotWriteOutput;
    }
  }
  *file = fileOf(opened.handle);
  *created = opened.created;
  // An existing output reached through another name of a file, such as PLANOV~1.DAT for
  // planovani.data, would replace a file the user knows by that other name. Only a name the
  // folder gives can tell it; where it gives none, nothing is refused for it.
  const std::wstring entry = opened.created ? name : entryName(folder, name);
  return entry.empty() || sameName(entry, name) ? Outcome::kDone : Outcome::kCannotWriteOutput;
}

namespace {

// True when `name` in `folder` opens as the file `identity` names; `own` opens a link itself, and
// with `remove` that file is then deleted. No access to the data is asked for, so a file another
// program holds, or the run itself, can still be looked at.
bool leadsTo(FileHandle folder, const NativeName& name, bool own, const FileIdentity& identity,
             bool remove = false) {
  const InFolder found = openInFolder(folder, name, FILE_READ_ATTRIBUTES | (remove ? DELETE : 0),
                                      kShareAll, FILE_OPEN, own ? FILE_OPEN_REPARSE_POINT : 0);
  if (found.handle == INVALID_HANDLE_VALUE) return false;
  FileFacts facts;
  FILE_DISPOSITION_INFO disposition{TRUE};
  const bool same = factsOf(fileOf(found.handle), &facts) && facts.identity == identity;
  if (same && remove) {
    SetFileInformationByHandle(found.handle, FileDispositionInfo, &disposition, sizeof disposition);
  }
  CloseHandle(found.handle);
  return same;
}

}  // namespace

bool stillNamed(FileHandle folder, const NativeName& name, FileHandle file) {
  FileFacts held;
  return factsOf(file, &held) && leadsTo(folder, name, true, held.identity);
}

bool reaches(FileHandle folder, const NativeName& name, const FileIdentity& identity) {
  return leadsTo(folder, name, false, identity);
}

void discardCreated(FileHandle folder, const NativeName& name, FileHandle file) noexcept {
  // The held handle shares no delete access: it is closed first, and the name opened again to be
  // deleted only if it still leads to the same file.
  FileFacts held;
  bool known = false;
  try {
    known = factsOf(file, &held);
  } catch (const std::bad_alloc&) {
  }
  CloseHandle(handleOf(file));
  try {
    if (known) leadsTo(folder, name, true, held.identity, true);
  } catch (const std::bad_alloc&) {
  }
}

bool factsOf(FileHandle file, FileFacts* facts) {
  BY_HANDLE_FILE_INFORMATION info;
  if (file == kNoFile || !succeeded(GetFileInformationByHandle(handleOf(file), &info))) {
    return false;
  }
  facts->identity.device = info.dwVolumeSerialNumber;
  facts->identity.file = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
  facts->size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
  facts->modified =
      std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 | info.ftLastWriteTime.dwLowDateTime;
  facts->regular = GetFileType(handleOf(file)) == FILE_TYPE_DISK &&
                   (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  // Only a link's reparse point keeps a file from being plain; any other reparse point (a cloud
  // placeholder, a deduplicated or compressed file) holds the file's own data.
  facts->plainFile = facts->regular && info.nNumberOfLinks == 1 &&
                     ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
                      !isLinkTag(reparseTagOf(handleOf(file))));
  return true;
}

bool rewindFile(FileHandle file) {
  LARGE_INTEGER start;
  start.QuadPart = 0;
  return succeeded(SetFilePointerEx(handleOf(file), start, nullptr, FILE_BEGIN));
}

bool truncateFile(FileHandle file) {
  return rewindFile(file) && succeeded(SetEndOfFile(handleOf(file)));
}

std::ptrdiff_t readFile(FileHandle file, char* to, std::size_t size) {
  if (file == kNoFile) return 0;
  DWORD got = 0;
  const auto want = static_cast<DWORD>(std::min(size, kMostBytesPerCall));
  if (!ReadFile(handleOf(file), to, want, &got, nullptr)) {
    const DWORD error = GetLastError();
    throwIfOutOfMemory(error);
    return error == ERROR_HANDLE_EOF ? 0 : -1;
  }
  return static_cast<std::ptrdiff_t>(got);
}

bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored) {
  // Text as Windows stores it, each line end as CR LF: a slice at a time into a chunk twice its
  // size.
  constexpr std::size_t kSlice = std::size_t{1} << 15;
  char chunk[2 * kSlice];
  for (std::size_t done = 0; done < size;) {
    const std::size_t slice = std::min(size - done, kSlice);
    const auto want = static_cast<DWORD>(expandLineFeeds(bytes + done, slice, chunk));
    DWORD written = 0;
    if (!succeeded(WriteFile(handleOf(file), chunk, want, &written, nullptr)) || written != want) {
      return false;
    }
    *stored += written;
    done += slice;
  }
  return true;
}

bool closeFile(FileHandle file) { return file == kNoFile || CloseHandle(handleOf(file)) != FALSE; }

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
  // Asking about a device name, such as a pipe's, may open the device: such a decoding is never
  // asked about.
  const auto names = [&](const std::wstring& text) { return !isDeviceName(text) && isFile(text); };
  std::wstring first;
  decodeBytes(bytes, codePages.console, &first);
  if (names(first)) return first;
  std::wstring other;
  if (decodeBytes(bytes, codePages.ansi, &other) && names(other)) return other;
  if (decodeBytes(bytes, CP_UTF8, &other) && names(other)) return other;
  return first;
}

bool readPipedName(std::streambuf& in, NativeName* name, bool* ended) {
  using Traits = std::char_traits<char>;
  NameCollector<char> collector(PathStyle::kWindows, kMostNameBytes);
  // A name list saved as UTF-16 (Notepad's "UTF-16 LE", PowerShell 5's >) starts with its mark.
  const int first = in.sgetc();
  if (first == kUtf16LittleMarkStart || first == kUtf16BigMarkStart) {
    in.sbumpc();
    const int second = in.sgetc();
    if (isUtf16Mark(first, second)) {
      in.sbumpc();
      return readUtf16Name(in, first == kUtf16BigMarkStart, name, ended);
    }
    collector.offer(Traits::to_char_type(first));
  }
  collectBytes(in, &collector, ended);
  std::string bytes;
  if (!collector.finish(&bytes)) return false;
  *name = decodePipedName(bytes, pipeCodePages(), namesFile);
  return name->size() <= kMostNameLength;
}

NameInput* consoleNameInput() {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (in == INVALID_HANDLE_VALUE || in == nullptr || !GetConsoleMode(in, &mode)) return nullptr;
  static ConsoleNameInput console(in);
  return &console;
}

// Windows has no signals for a broken pipe or a file-size limit: a failed write is reported.
void reportFailedWritesAsErrors() {}

}  // namespace lines2svg
