#ifndef LINES2SVG_DRIVER_NATIVE_NAME_H_
#define LINES2SVG_DRIVER_NATIVE_NAME_H_

#include <filesystem>

namespace lines2svg {

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

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_NATIVE_NAME_H_
