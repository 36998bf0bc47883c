#ifndef LINES2SVG_DRIVER_PLATFORM_H_
#define LINES2SVG_DRIVER_PLATFORM_H_

// All the program asks of the system: a folder held open and the files in it, the console, and
// the rules of the host's paths. platform_posix.cc and platform_windows.cc implement it; nothing
// else in the program knows which system it runs on. Where the system runs out of memory, these
// functions throw std::bad_alloc, as an allocation does, so that a lack of memory reaches the
// user by one route.

#include <cstddef>
#include <cstdint>
#include <streambuf>

#include "driver/native_name.h"
#include "driver/outcome.h"

namespace lines2svg {

class NameInput;

// The path style of the system the program runs on.
PathStyle hostPathStyle();

// The longest name the system can open, in the units of NativeName.
std::size_t maxNameLength();

// The most bytes a piped name can take.
std::size_t maxNameBytes();

// An open file or folder: a descriptor, or a Windows handle, held as an integer.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// A read or a write asks the system for at most this many bytes at once, below every system's
// limit for one call.
inline constexpr std::size_t kMostBytesPerCall = std::size_t{1} << 30;

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

// Opens the folder that the typed name's folder part names (the current folder when it has
// none), and then the drawing in it by the typed name's last part; links are followed, and other
// programs may read the drawing but not write it meanwhile. The folder is held for the whole run:
// every other file is reached through it, so that renaming the folder, or putting another in its
// place, cannot send the outputs elsewhere. `opened` is the drawing's name in the folder as the
// system opened it, which the outputs are named after: on Windows its long name, without the dots
// and spaces Windows drops, so that PLANOV~1.TXT gives planovani.txt; elsewhere the last part as
// typed. A Windows device is never opened. Returns kDone, kMissingInput or kCannotReadInput; on
// kDone both handles are open.
Outcome openDrawing(const NativeName& typed, FileHandle* folder, FileHandle* drawing,
                    NativeName* opened);

// Opens one of the program's own files in `folder` to read it back: never through a link, and
// never waiting on a FIFO. Returns kDone or kCannotWriteOutput, since a file that cannot be read
// back is one that could not be written.
Outcome openToReadBack(FileHandle folder, const NativeName& name, FileHandle* file);

// Opens an output in `folder` for writing, without following a link, without waiting on a FIFO
// or device, and without emptying it: its facts are checked before anything in it changes. With
// `create`, an absent output is created; without it, an absent output is left absent and `file`
// stays kNoFile. Returns kDone or kCannotWriteOutput (no permission, held by another program, or
// on Windows a short name of another file).
Outcome openForWriting(FileHandle folder, const NativeName& name, bool create, FileHandle* file);

// The facts of an open file; false if the system cannot tell them.
bool factsOf(FileHandle file, FileFacts* facts);

// Empties an open output; false on an error.
bool truncateFile(FileHandle file);

// Reads at most `size` bytes: the count, 0 at the end of the file, -1 on a read error.
std::ptrdiff_t readFile(FileHandle file, char* to, std::size_t size);

// Writes all of `bytes` as text in the platform's form (line ends as CR LF on Windows), adding
// the bytes stored to `stored`; false on a write error.
bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored);

// Closes an open file or folder; kNoFile is left alone.
void closeFile(FileHandle file);

// What an output's name in the drawing's folder holds before anything is written.
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

// Looks up what an output's name in `folder` holds.
OutputLookup lookUpOutput(FileHandle folder, const NativeName& name);

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

// Makes a failed write an error the program reports rather than a signal that ends it: a
// console reader that has gone is ignored, and a write cut short by a file-size limit is
// reported like a full disk.
void reportFailedWritesAsErrors();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_PLATFORM_H_
