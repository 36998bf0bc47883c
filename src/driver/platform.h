#ifndef LINES2SVG_DRIVER_PLATFORM_H_
#define LINES2SVG_DRIVER_PLATFORM_H_

// All that a run asks of the system: a folder held open and the files in it, the console, and
// the style of the host's paths. platform_posix.cc and platform_windows.cc implement it; nothing
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

// An open file or folder: a descriptor, or a Windows handle, held as an integer.
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
  // When its bytes last changed, in the system's own units.
  std::uint64_t modified = 0;
  // A regular file: no folder, device, FIFO or link.
  bool regular = false;
  // A regular file with this one name: no hard link, and on Windows no reparse point.
  bool plainFile = false;
};

// Opens the folder that the typed name's folder part names (the current folder when it has
// none), and then the drawing in it by the typed name's last part, links followed. The folder is
// held for the whole run: every other file is reached through it, so that renaming the folder, or
// putting another in its place, cannot send the outputs elsewhere. On Windows other programs may
// read the drawing but not write it meanwhile; elsewhere nothing stops them, and the run checks
// the drawing once it has read it. `opened` is the drawing's name in the folder, which the
// outputs are named after: on Windows its long name, without the dots and spaces Windows drops,
// so that PLANOV~1.TXT gives planovani.txt; elsewhere the last part as typed. A Windows device
// is never opened. Returns kDone, kMissingInput or kCannotReadInput; whatever it returns, the
// handles it set are the caller's to close.
Outcome openDrawing(const NativeName& typed, FileHandle* folder, FileHandle* drawing,
                    NativeName* opened);

// Opens an output in `folder` for reading and writing, never through a link and never waiting on
// a FIFO or device. An output that exists is opened as it is, not emptied; an absent one is
// created, and `created` says so. On Windows other programs may read it but neither write, move
// nor delete it while it is open. Returns kDone or kCannotWriteOutput (no permission, held by
// another program, or on Windows a short name of another file).
Outcome openOutput(FileHandle folder, const NativeName& name, FileHandle* file, bool* created);

// True when `name` in `folder`, a link not followed, is still the open `file` itself: nobody has
// moved, deleted or replaced it since it was opened.
bool stillNamed(FileHandle folder, const NativeName& name, FileHandle file);

// True when `name` in `folder`, links followed, reaches the file `identity` names.
bool reaches(FileHandle folder, const NativeName& name, const FileIdentity& identity);

// Closes `file`, which the run created as `name` in `folder`, and removes it if the name still
// leads to it. It never throws.
void discardCreated(FileHandle folder, const NativeName& name, FileHandle file) noexcept;

// The facts of an open file; false if the system cannot tell them.
bool factsOf(FileHandle file, FileFacts* facts);

// Empties an open output; false on an error.
bool truncateFile(FileHandle file);

// Moves back to the start of an open file, to read it from there; false on an error.
bool rewindFile(FileHandle file);

// Reads at most `size` bytes: the count, 0 at the end of the file, -1 on a read error.
std::ptrdiff_t readFile(FileHandle file, char* to, std::size_t size);

// Writes all of `bytes` as text in the platform's form (line ends as CR LF on Windows), adding
// the bytes stored to `stored`; false on a write error.
bool writeFile(FileHandle file, const char* bytes, std::size_t size, std::uint64_t* stored);

// Closes an open file or folder, kNoFile left alone; false when the system reports an error,
// such as written bytes a network share failed to store.
bool closeFile(FileHandle file);

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
