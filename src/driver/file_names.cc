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

// True for a UTF-16 unit from `low` to `high`; never for a byte.
template <typename Char>
bool isUnitIn(Char c, unsigned long low, unsigned long high) {
  if constexpr (sizeof(Char) == 1) {
    return false;
  } else {
    const auto unit = static_cast<unsigned long>(c);
    return unit >= low && unit <= high;
  }
}

// True when name[i - 1] and name[i] are the two halves of a surrogate pair.
template <typename Char>
bool endsSurrogatePair(const std::basic_string<Char>& name, std::size_t i) {
  return i > 0 && isUnitIn(name[i], 0xDC00, 0xDFFF) && isUnitIn(name[i - 1], 0xD800, 0xDBFF);
}

}  // namespace

template <typename Char>
void setExtension(std::basic_string<Char>& name, std::string_view extension, PathStyle style) {
  // Walks back over the last three characters of the file-name part.
  std::size_t start = name.size();
  std::size_t characters = 0;
  while (characters < kExtensionLength && start > 0 && !isSeparator(name[start - 1], style)) {
    --start;
    if (endsSurrogatePair(name, start)) --start;
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
