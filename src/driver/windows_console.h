#ifndef LINES2SVG_DRIVER_WINDOWS_CONSOLE_H_
#define LINES2SVG_DRIVER_WINDOWS_CONSOLE_H_

// Windows only: reading a typed name as Unicode, from the console or from a pipe.

#include <memory>
#include <string>

#include "driver/name_input.h"

namespace lines2svg {

// The code pages piped bytes may be in.
struct CodePages {
  // The console's input code page, in which cmd writes `echo name | lines2svg` to a pipe.
  unsigned console = 0;
  // The ANSI code page, in which Windows programs that are not Unicode write text.
  unsigned ansi = 0;
};

// The console's input code page, or the OEM code page when there is no console, and the ANSI
// code page.
CodePages pipeCodePages();

// True when a file, not a folder, of that name exists.
bool namesFile(const std::wstring& name);

// Decodes `bytes` from `codePage` into `text`. In UTF-8, bytes that are not valid UTF-8 make it
// fail; every other code page takes every byte.
bool decodeBytes(const std::string& bytes, unsigned codePage, std::wstring* text);

// The name that piped bytes stand for: decoded from the console's code page; if that names no
// file (a folder does not count), from the ANSI code page; failing that, as UTF-8 if the bytes are
// valid UTF-8. When no decoding names a file, the first one is returned. ASCII reads the same in
// all.
std::wstring decodePipedName(const std::string& bytes, const CodePages& codePages,
                             bool (*isFile)(const std::wstring&));

// The Windows console, read with its wide-character input so that letters arrive as typed,
// whatever code page the console is set to; null when standard input is not a console.
std::unique_ptr<NameInput> consoleNameInput();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_WINDOWS_CONSOLE_H_
