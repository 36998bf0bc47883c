// The system's side of the program on Windows.
#include <windows.h>

#include <algorithm>
#include <string>

#include "driver/name_input.h"
#include "driver/platform.h"

namespace lines2svg {

namespace {

// The common code keeps a handle as an integer; here it is turned back into one.
HANDLE handleOf(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);  // NOLINT(performance-no-int-to-ptr)
}
FileHandle fileOf(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

bool isMemoryError(DWORD error) {
  return error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY;
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

// The long form of an existing file's name, each short (8.3) part made long; the name itself if
// Windows cannot tell.
std::wstring longPathOf(const std::wstring& name) {
  const DWORD size = GetLongPathNameW(name.c_str(), nullptr, 0);
  if (size == 0) return name;
  std::wstring full(size, L'\0');
  const DWORD length = GetLongPathNameW(name.c_str(), full.data(), size);
  if (length == 0 || length >= size) return name;
  full.resize(length);
  return full;
}

// The last part of a path.
std::wstring lastPart(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/:");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// True when an existing file's name is one of its other names, such as PLANOV~1.DAT for
// planovani.data: writing there would replace a file the user knows by another name.
bool isAlias(const std::wstring& name) {
  const std::wstring typed = lastPart(name);
  const std::wstring found = lastPart(longPathOf(name));
  return CompareStringOrdinal(typed.c_str(), static_cast<int>(typed.size()), found.c_str(),
                              static_cast<int>(found.size()), TRUE) != CSTR_EQUAL;
}

// Opens a name only to look at it: no access is asked for, so a file another program holds can
// still be looked at, and a folder opens too. With `own`, a reparse point (a link) is opened
// itself rather than followed.
HANDLE openToLookAt(const std::wstring& name, bool own) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (own ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  return CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, flags, nullptr);
}

constexpr wchar_t kEndOfInput = 0x1A;  // Ctrl-Z, typed at a console to end input.

// Reads the console: each read returns what has been typed, in line mode when Enter is pressed.
// Without line input, Enter gives a CR alone, which ends the line all the same.
class ConsoleNameInput : public NameInput {
 public:
  explicit ConsoleNameInput(HANDLE console) : console_(console) {}

  bool readName(NativeName* name) override {
    NameCollector<wchar_t> collector(PathStyle::kWindows, maxNameLength());
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
    // As for a piped name: no further than a name could reach.
    wchar_t c = 0;
    for (std::size_t skipped = 0; skipped < maxNameLength(); ++skipped) {
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
  NameCollector<wchar_t> collector(PathStyle::kWindows, maxNameLength());
  while (!collector.hopeless()) {
    const int a = in.sbumpc();
    const int b = a == std::char_traits<char>::eof() ? a : in.sbumpc();
    if (b == std::char_traits<char>::eof()) {
      *ended = true;
      break;
    }
    const auto unit = static_cast<wchar_t>(bigEndian ? a << 8 | b : b << 8 | a);
    if (!collector.offer(unit)) break;
  }
  return collector.finish(name);
}

}  // namespace

PathStyle hostPathStyle() { return PathStyle::kWindows; }

std::size_t maxNameLength() { return 32767; }

// A Windows code page takes at most four bytes for a UTF-16 unit.
std::size_t maxNameBytes() { return 4 * maxNameLength(); }

bool isDeviceName(const std::wstring& name) {
  // Windows makes a device name \\.\NAME. A \\.\ path that goes on into folders, such as
  // \\.\C:\plan.txt, names a file, and is opened to be sure.
  const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return false;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(name.c_str(), size, full.data(), nullptr);
  return length > 0 && length < size && full.compare(0, 4, L"\\\\.\\") == 0 &&
         full.find(L'\\', 4) >= length;
}

Outcome openForReading(const NativeName& name, ReadOpening opening, FileHandle* file) {
  // Reading a device would wait on the keyboard or a serial port: it is never opened.
  if (isDeviceName(name)) return Outcome::kMissingInput;
  DWORD flags = FILE_FLAG_SEQUENTIAL_SCAN;
  if (opening == ReadOpening::kOwnFile) flags |= FILE_FLAG_OPEN_REPARSE_POINT;
  // Shared for reading only: a drawing another program still has open for writing, perhaps
  // half saved, is refused rather than converted in part.
  const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (isMemoryError(error)) return Outcome::kOutOfMemory;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      return Outcome::kCannotReadInput;
    }
    // A folder is refused with the same error as a file without permission.
    return error == ERROR_ACCESS_DENIED && namesFile(name) ? Outcome::kCannotReadInput
                                                           : Outcome::kMissingInput;
  }
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return Outcome::kMissingInput;
  }
  *file = fileOf(handle);
  return Outcome::kDone;
}

Outcome openForWriting(const NativeName& name, FileHandle* file) {
  if (isDeviceName(name)) return Outcome::kCannotWriteOutput;
  const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return isMemoryError(GetLastError()) ? Outcome::kOutOfMemory : Outcome::kCannotWriteOutput;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS && isAlias(name)) {
    CloseHandle(handle);
    return Outcome::kCannotWriteOutput;
  }
  *file = fileOf(handle);
  return Outcome::kDone;
}

bool factsOf(FileHandle file, FileFacts* facts) {
  BY_HANDLE_FILE_INFORMATION info;
  if (file == kNoFile || !GetFileInformationByHandle(handleOf(file), &info)) return false;
  facts->identity.device = info.dwVolumeSerialNumber;
  facts->identity.file = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
  facts->size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
  const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  facts->plainFile = GetFileType(handleOf(file)) == FILE_TYPE_DISK &&
                     (info.dwFileAttributes & notPlain) == 0 && info.nNumberOfLinks == 1;
  return true;
}

bool truncateFile(FileHandle file) {
  LARGE_INTEGER start;
  start.QuadPart = 0;
  return SetFilePointerEx(handleOf(file), start, nullptr, FILE_BEGIN) &&
         SetEndOfFile(handleOf(file));
}

std::ptrdiff_t readFile(FileHandle file, char* to, std::size_t size) {
  if (file == kNoFile) return 0;
  DWORD got = 0;
  const auto want = static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
  if (!ReadFile(handleOf(file), to, want, &got, nullptr)) {
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  }
  return static_cast<std::ptrdiff_t>(got);
}

bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored) {
  // Text as Windows stores it: each line end as CR LF.
  char chunk[std::size_t{1} << 14];
  std::size_t used = 0;
  const auto put = [&] {
    DWORD written = 0;
    const auto want = static_cast<DWORD>(used);
    if (!WriteFile(handleOf(file), chunk, want, &written, nullptr) || written != want) {
      return false;
    }
    *stored += written;
    used = 0;
    return true;
  };
  for (std::size_t i = 0; i < size; ++i) {
    if (used + 2 > sizeof chunk && !put()) return false;
    if (bytes[i] == '\n') chunk[used++] = '\r';
    chunk[used++] = bytes[i];
  }
  return used == 0 || put();
}

void closeFile(FileHandle file) {
  if (file != kNoFile) CloseHandle(handleOf(file));
}

OutputLookup lookUpOutput(const NativeName& name) {
  OutputLookup lookup;
  if (isDeviceName(name)) return lookup;
  const HANDLE own = openToLookAt(name, true);
  if (own == INVALID_HANDLE_VALUE) {
    lookup.exists = GetLastError() != ERROR_FILE_NOT_FOUND;
    return lookup;
  }
  FileFacts facts;
  lookup.plainFile = factsOf(fileOf(own), &facts) && facts.plainFile && !isAlias(name);
  CloseHandle(own);
  // A link is never written through, but one that reaches the drawing is told apart.
  const HANDLE reached = openToLookAt(name, false);
  if (reached == INVALID_HANDLE_VALUE) return lookup;
  lookup.reaches = GetFileType(reached) == FILE_TYPE_DISK && factsOf(fileOf(reached), &facts);
  lookup.identity = facts.identity;
  CloseHandle(reached);
  return lookup;
}

NativeName longName(const NativeName& drawing) { return longPathOf(drawing); }

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

bool readPipedName(std::streambuf& in, NativeName* name, bool* ended) {
  using Traits = std::char_traits<char>;
  NameCollector<char> collector(PathStyle::kWindows, maxNameBytes());
  // A name list saved as UTF-16 (Notepad's "UTF-16 LE", PowerShell 5's >) starts with its mark.
  const int first = in.sgetc();
  if (first == 0xFF || first == 0xFE) {
    in.sbumpc();
    const int second = in.sgetc();
    if (second == (first ^ 0x01)) {
      in.sbumpc();
      return readUtf16Name(in, first == 0xFE, name, ended);
    }
    collector.offer(Traits::to_char_type(first));
  }
  collectBytes(in, &collector, ended);
  std::string bytes;
  if (!collector.finish(&bytes)) return false;
  *name = decodePipedName(bytes, pipeCodePages(), namesFile);
  return name->size() <= maxNameLength();
}

NameInput* consoleNameInput() {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (in == INVALID_HANDLE_VALUE || in == nullptr || !GetConsoleMode(in, &mode)) return nullptr;
  static ConsoleNameInput console(in);
  return &console;
}

// Windows has no signals for a broken pipe or a file-size limit: a failed write is reported.
void ignoreBrokenPipes() {}

}  // namespace lines2svg
