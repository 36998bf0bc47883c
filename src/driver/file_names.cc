// Naming the written files after the drawing.
#include "driver/file_names.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "text/unicode.h"

namespace lines2svg {

namespace {

constexpr std::size_t kExtensionLength = 3;

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
void setExtension(std::basic_string<Char>& name, std::string_view extension) {
  bool utf8 = false;
  if constexpr (sizeof(Char) == 1) utf8 = isValidUtf8(name);
  std::size_t start = name.size();
  std::size_t characters = 0;
  for (; characters < kExtensionLength && start > 0; ++characters) {
    start = characterStart(name, start, utf8);
  }
  if (characters == kExtensionLength) name.erase(start);
  name.append(extension.begin(), extension.end());
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

OutputNames outputNames(const NativeName& drawing) {
  OutputNames names{drawing, drawing, drawing};
  setExtension(names.vertices, "dat");
  setExtension(names.shapes, "trd");
  setExtension(names.svg, "svg");
  return names;
}

template void setExtension(std::string&, std::string_view);
template void setExtension(std::wstring&, std::string_view);
template bool hasOutputExtension(std::string_view);
template bool hasOutputExtension(std::wstring_view);

}  // namespace lines2svg
