#ifndef LINES2SVG_DRIVER_WINDOWS_TEXT_H_
#define LINES2SVG_DRIVER_WINDOWS_TEXT_H_

// The pieces of the Windows platform that its tests reach: how piped bytes become a name, which
// paths may be opened, which reparse points are links, and how the console's line ends are read.
// platform_windows.cc implements the decoding; the rest is built and tested everywhere.

#include <cstdint>
#include <string>
#include <string_view>

namespace lines2svg {

// The code pages piped bytes may be in.
struct CodePages {
  // The console's input code page, in which cmd writes `echo name | lines2svg` to a pipe.
  unsigned console = 0;
  // The ANSI code page, in which Windows programs that are not Unicode write text.
  unsigned ansi = 0;
};

// Decodes `bytes` from `codePage`. In UTF-8, bytes that are not valid UTF-8 make it fail; every
// other code page takes every byte.
bool decodeBytes(const std::string& bytes, unsigned codePage, std::wstring* text);

// The name piped bytes stand for: the first of their readings in the console's code page, the
// ANSI code page and UTF-8 that `isFile` takes for a file (not a folder), or the console's reading
// when none is.
std::wstring decodePipedName(const std::string& bytes, const CodePages& codePages,
                             bool (*isFile)(const std::wstring&));

// Decides where a full path, as GetFullPathNameW makes it, may lead. True for a file in a folder
// on a disk: a drive path (C:\...), a share other than the pipe and mailslot namespaces
// (\\server\share\...), their \\?\ and \\.\ forms, or a volume GUID path, with a last part after
// the root and every part a name a file may have: no device such as CON or COM1 (with an
// extension too), no . or .., no character Windows reserves. It is then split into `folder`, in
// the \\?\ form the system takes as it stands, and `name`, its last part. Anything else may lead
// to a device, which is never opened: a bare volume (\\.\C:), GLOBALROOT, a pipe or a mailslot.
bool splitFullPath(std::wstring_view full, std::wstring* folder, std::wstring* name);

// True when a reparse point's tag makes it a link to another name (a name surrogate: a symbolic
// link, a junction or a mount point), which an output never is. Other reparse points (a cloud
// file's placeholder, a deduplicated or compressed file) hold the file's own data.
inline bool isLinkTag(std::uint32_t tag) { return (tag & 0x20000000u) != 0; }

// Turns what a console gives into typed lines. CR LF, a CR alone and an LF alone each end a line,
// handed on as one LF: a console without line input gives Enter as a CR alone.
class LineEnds {
 public:
  // Makes `c` the character to use, or returns false when it is the LF of a CR LF, to be dropped.
  bool take(wchar_t* c) {
    const bool dropped = afterCr_ && *c == L'\n';
    afterCr_ = *c == L'\r';
    if (afterCr_) *c = L'\n';
    return !dropped;
  }

 private:
  bool afterCr_ = false;
};

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_WINDOWS_TEXT_H_
