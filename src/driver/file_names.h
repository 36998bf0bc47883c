#ifndef LINES2SVG_DRIVER_FILE_NAMES_H_
#define LINES2SVG_DRIVER_FILE_NAMES_H_

#include <string>
#include <string_view>

#include "driver/native_name.h"

namespace lines2svg {

// Gives the drawing's name in its folder the three-character extension of one of the written
// files by overwriting its last three characters; nothing is searched for, so "plan" becomes
// "pdat". A name shorter than that has the extension appended instead ("ab" becomes "abdat"). A
// character is a code point: a UTF-16 surrogate pair counts as one, and so do the bytes of a UTF-8
// sequence in a narrow name that is valid UTF-8. A narrow name that is not is counted in bytes.
template <typename Char>
void setExtension(std::basic_string<Char>& name, std::string_view extension);

// True when the name's last three characters are "dat", "trd" or "svg" in any letter case: the
// drawing would then be one of the written files. Letter case is ignored on every system, since
// on a file system that ignores it (Windows, macOS) "plan.DAT" and "plan.dat" are one file.
template <typename Char>
bool hasOutputExtension(std::basic_string_view<Char> name);

// The names of the three files the program writes, in the drawing's folder.
struct OutputNames {
  NativeName vertices;
  NativeName shapes;
  NativeName svg;
};

// Makes the three written files' names from the drawing's name in its folder.
OutputNames outputNames(const NativeName& drawing);

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_FILE_NAMES_H_
