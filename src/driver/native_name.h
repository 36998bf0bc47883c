#ifndef LINES2SVG_DRIVER_NATIVE_NAME_H_
#define LINES2SVG_DRIVER_NATIVE_NAME_H_

#include <filesystem>

namespace lines2svg {

// A file name as the system's file functions take it: UTF-16 on Windows, bytes elsewhere.
using NativeName = std::filesystem::path::string_type;

// How a typed name is read: as one whitespace-separated word, and on Windows also as a path in
// double quotes, which may hold spaces.
enum class PathStyle { kPosix, kWindows };

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_NATIVE_NAME_H_
