#include "driver/file_names.h"

#include <cstddef>

namespace lines2svg {

namespace {

constexpr std::size_t kExtensionLength = 3;

template <typename Char>
bool isSeparator(Char c, PathStyle style) {
  if (c == Char('/')) return true;
  return style == PathStyle::kWindows && (c == Char('\\') || c == Char(':'));
}

// The second half of a UTF-16 surrogate pair; never true for a byte.
template <typename Char>
bool isLowSurrogate(Char c) {
  if constexpr (sizeof(Char) == 1) {
    return false;
  } else {
    const auto unit = static_cast<unsigned long>(c);
    return unit >= 0xDC00 && unit <= 0xDFFF;
  }
}

template <typename Char>
bool isHighSurrogate(Char c) {
  if constexpr (sizeof(Char) == 1) {
    return false;
  } else {
    const auto unit = static_cast<unsigned long>(c);
    return unit >= 0xD800 && unit <= 0xDBFF;
  }
}

}  // namespace

template <typename Char>
void setExtension(std::basic_string<Char>& name, std::string_view extension, PathStyle style) {
  // Walks back over the last three characters of the file-name part.
  std::size_t start = name.size();
  std::size_t characters = 0;
  while (characters < kExtensionLength && start > 0 && !isSeparator(name[start - 1], style)) {
    --start;
    if (start > 0 && isLowSurrogate(name[start]) && isHighSurrogate(name[start - 1])) --start;
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
    const auto unit = static_cast<unsigned long>(c);
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
template bool hasOutputExtension(std::string_view);
template bool hasOutputExtension(std::wstring_view);

}  // namespace lines2svg
