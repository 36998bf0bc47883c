// Naming the written files after the drawing.
#include "driver/file_names.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "text/unicode.h"

namespace lines2svg {

namespace {

constexpr std::size_t kExtensionLength = 3;

template <typename Char>
bool isSeparator(Char c, PathStyle style) {
  if (c == Char('/')) return true;
  return style == PathStyle::kWindows && (c == Char('\\') || c == Char(':'));
}

// The value of a character of a name: a byte 0 to 255, or a UTF-16 unit.
template <typename Char>
std::uint32_t unitOf(Char c) {
  return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

// The start of the character that ends before `end`.
template <typename Char>
std::size_t characterStart(const std::basic_string<Char>& name, std::size_t end, bool utf8) {
  std::size_t start = end - 1;
  if constexpr (sizeof(Char) == 1) {
    while (utf8 && start > 0 && isUtf8Continuation(name[start])) --start;
  } else if (start > 0 && isLowSurrogate(unitOf(name[start])) &&
             isHighSurrogate(unitOf(name[start - 1]))) {
    --start;
  }
  return start;
}

}  // namespace

template <typename Char>
std::size_t folderPartLength(std::basic_string_view<Char> name, PathStyle style) {
  std::size_t length = name.size();
  while (length > 0 && !isSeparator(name[length - 1], style)) --length;
  return length;
}

template <typename Char>
void setExtension(std::basic_string<Char>& name, std::string_view extension, PathStyle style) {
  bool utf8 = false;
  if constexpr (sizeof(Char) == 1) utf8 = isValidUtf8(name);
  // Walks back over the last three characters of the file-name part.
  std::size_t start = name.size();
  std::size_t characters = 0;
  while (characters < kExtensionLength && start > 0 && !isSeparator(name[start - 1], style)) {
    start = characterStart(name, start, utf8);
    ++characters;
  }
  if (characters == kExtensionLength) name.erase(start);
  for (char c : extension) name.push_back(static_cast<Char>(c));
}

template <typename Char>
bool hasOutputExtension(std::basic_string_view<Char> name) {
  if (name.size() < kExtensionLength) return false;
  std::string tail;
  for (Char c : name.substr(name.size() - kExtensionLength)) {
    const std::uint32_t unit = unitOf(c);
    tail.push_back(unit >= 'A' && unit <= 'Z' ? static_cast<char>(unit - 'A' + 'a')
                                              : static_cast<char>(unit < 128 ? unit : 0));
  }
  return tail == "dat" || tail == "trd" || tail == "svg";
}

OutputNames outputNames(const NativeName& drawing, PathStyle style) {
  OutputNames names{drawing, drawing, drawing};
  setExtension(names.vertices, "dat", style);
  setExtension(names.shapes, "trd", style);
  setExtension(names.svg, "svg", style);
  return names;
}

template void setExtension(std::string&, std::string_view, PathStyle);
template void setExtension(std::wstring&, std::string_view, PathStyle);
template std::size_t folderPartLength(std::string_view, PathStyle);
template std::size_t folderPartLength(std::wstring_view, PathStyle);
template bool hasOutputExtension(std::string_view);
template bool hasOutputExtension(std::wstring_view);

}  // namespace lines2svg
