#ifndef LINES2SVG_DRIVER_FILE_NAMES_H_
#define LINES2SVG_DRIVER_FILE_NAMES_H_

#include <string>
#include <string_view>

namespace lines2svg {

// Gives a file name the three-character extension of one of the written files by overwriting its
// last three characters; nothing is searched for, so "plan" becomes "pdat". A name shorter than
// three characters gets the extension appended instead ("ab" becomes "abdat").
void setExtension(std::string& name, std::string_view extension);

// True when the name's last three characters are "dat", "trd" or "svg" in any letter case: the
// drawing would then be overwritten by one of the written files, on Windows even when the cases
// differ.
bool hasOutputExtension(std::string_view name);

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_FILE_NAMES_H_
