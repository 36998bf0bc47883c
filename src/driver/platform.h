#ifndef LINES2SVG_DRIVER_PLATFORM_H_
#define LINES2SVG_DRIVER_PLATFORM_H_

// All the program asks of the system: files by name and by handle, the console, and the rules of
// the host's paths. platform_posix.cc and platform_windows.cc implement it; nothing else in the
// program knows which system it runs on.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <streambuf>
#include <string>

namespace lines2svg {

class NameInput;

// A file name as the system's file functions take it: UTF-16 on Windows, bytes elsewhere.
using NativeName = std::filesystem::path::string_type;

// The two ways of writing a path that typed names are read and split by.
enum class PathStyle {
  // Only '/' separates folders, and a typed name is one whitespace-separated word.
  kPosix,
  // '\', '/' and a drive's ':' separate folders, and a typed name in double quotes may hold
  // spaces.
  kWindows,
};

// The path style of the system the program runs on.
PathStyle hostPathStyle();

// The longest name the system can open, in the units of NativeName.
std::size_t maxNameLength();

// The most bytes a piped name can take.
std::size_t maxNameBytes();

// An open file: a descriptor, or a Windows handle, held as an integer.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// What makes a file the same under any of its names: the device and file number (on Windows, the
// volume serial number and the file index).
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;

  bool operator==(const FileIdentity& other) const {
    return device == other.device && file == other.file;
  }
};

// What the system tells of an open file.
struct FileFacts {
  FileIdentity identity;
  std::uint64_t size = 0;
  // A regular file with this one name: no folder, device, FIFO or link, and no hard link.
  bool plainFile = false;
};

// How an open, a check or a step of the conversion ended: done, or the failure the user is told.
enum class Outcome {
  kDone,
  // Nothing readable has the drawing's name: no file, a folder, or a Windows device such as CON.
  kMissingInput,
  // An output's name reaches the drawing, through a link or as another name of it.
  kInputWouldBeOverwritten,
  // An output may not be written (its name is a link, has other names, is no plain file, or the
  // system cannot tell), or a written file could not be written or read back whole.
  kCannotWriteOutput,
  // The drawing exists but cannot be read: no permission, another program holds it, or a read
  // failed.
  kCannotReadInput,
  // Memory ran out.
  kOutOfMemory,
};

// Which file is opened for reading.
enum class ReadOpening {
  // The drawing: links are followed, and other programs may read it but not write it meanwhile.
  kDrawing,
  // One of the program's own files: never through a link, and never waiting on a FIFO.
  kOwnFile,
};

// Opens a file for reading, in binary; a Windows device is never opened. Returns kDone,
// kMissingInput, kCannotReadInput or kOutOfMemory.
Outcome openForReading(const NativeName& name, ReadOpening opening, FileHandle* file);

// Opens an output for writing, creating it if absent, without following a link in the last part
// of its name, without waiting on a FIFO or device, and without emptying it: its facts are
// checked before anything in it changes. Returns kDone, kCannotWriteOutput or kOutOfMemory.
Outcome openForWriting(const NativeName& name, FileHandle* file);

// The facts of an open file; false if the system cannot tell them.
bool factsOf(FileHandle file, FileFacts* facts);

// Empties an open output; false on an error.
bool truncateFile(FileHandle file);

// Reads at most `size` bytes: the count, 0 at the end of the file, -1 on a read error.
std::ptrdiff_t readFile(FileHandle file, char* to, std::size_t size);

// Writes all of `bytes` as text in the platform's form (line ends as CR LF on Windows), adding
// the bytes stored to `stored`; false on a write error.
bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored);

// Closes an open file; kNoFile is left alone.
void closeFile(FileHandle file);

// What an output's name holds before anything is written.
struct OutputLookup {
  // Something has the name, or the system cannot tell.
  bool exists = true;
  // A plain file (see FileFacts), which may be replaced; never a link, a file with other names, a
  // folder, a device or a Windows short name of another file.
  bool plainFile = false;
  // The identity of the file the name reaches, links followed; set when `reaches` is true.
  bool reaches = false;
  FileIdentity identity;
};

// Looks up what an output's name holds.
OutputLookup lookUpOutput(const NativeName& name);

// The name the outputs are named after: on Windows the drawing's name with each short (8.3) part
// made long, so that PLANOV~1.TXT gives planovani.dat; elsewhere the name itself.
NativeName longName(const NativeName& drawing);

// Reads the drawing's name from a byte stream (a pipe, a file or a terminal), one byte at a time,
// as NameCollector gathers it; false if there is none. On Linux the name is its bytes. On
// Windows, input that starts with a UTF-16 byte-order mark is read as UTF-16; other bytes are
// decoded from the console's input code page, as a console writes them to a pipe, or if no file
// of that name exists, from the ANSI code page, or failing that as UTF-8. `ended` tells whether
// the input has ended.
bool readPipedName(std::streambuf& in, NativeName* name, bool* ended);

// The Windows console, read as Unicode whatever its code page; null when standard input is no
// console, and always elsewhere. It needs no memory of its own.
NameInput* consoleNameInput();

// Makes a console reader that has gone, or a file-size limit, harmless: a failed console write
// is ignored, and a cut-short file write is reported like a full disk.
void ignoreBrokenPipes();

// Windows only, declared here for its tests: the code pages piped bytes may be in.
struct CodePages {
  // The console's input code page, in which cmd writes `echo name | lines2svg` to a pipe.
  unsigned console = 0;
  // The ANSI code page, in which Windows programs that are not Unicode write text.
  unsigned ansi = 0;
};

// Windows only: decodes `bytes` from `codePage`. In UTF-8, bytes that are not valid UTF-8 make it
// fail; every other code page takes every byte.
bool decodeBytes(const std::string& bytes, unsigned codePage, std::wstring* text);

// Windows only: the name piped bytes stand for, as readPipedName decodes them. When no decoding
// names a file (a folder does not count), the console's is returned.
std::wstring decodePipedName(const std::string& bytes, const CodePages& codePages,
                             bool (*isFile)(const std::wstring&));

// Windows only: true when Windows opens the name as a device: CON, AUX, COM1 and the other device
// names in any folder, or a \\.\ path to a device such as \\.\C:.
bool isDeviceName(const std::wstring& name);

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_PLATFORM_H_
