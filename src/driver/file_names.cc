// Naming the written files after the drawing.
#include "driver/file_names.h"

#include <cstddef>
#include <type_traits>

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
unsigned long unitOf(Char c) {
  return static_cast<unsigned long>(static_cast<std::make_unsigned_t<Char>>(c));
}

// True for a UTF-16 unit from `low` to `high`; never for a byte.
template <typename Char>
bool isUnitIn(Char c, unsigned long low, unsigned long high) {
  if constexpr (sizeof(Char) == 1) {
    return false;
  } else {
    const unsigned long unit = unitOf(c);
    return unit >= low && unit <= high;
  }
}

// True when name[i - 1] and name[i] are the two halves of a surrogate pair.
template <typename Char>
bool endsSurrogatePair(const std::basic_string<Char>& name, std::size_t i) {
  return i > 0 && isUnitIn(name[i], 0xDC00, 0xDFFF) && isUnitIn(name[i - 1], 0xD800, 0xDBFF);
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// True when the bytes are well-formed UTF-8: no stray or missing continuation byte, no overlong
// form, no surrogate and nothing beyond U+10FFFF.
bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the range of the byte after the lead
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if (!isContinuationByte(text[i + k])) return false;
    }
    i += length;
  }
  return true;
}

// The start of the character that ends before `end`.
template <typename Char>
std::size_t characterStart(const std::basic_string<Char>& name, std::size_t end, bool utf8) {
  std::size_t start = end - 1;
  if constexpr (sizeof(Char) == 1) {
    while (utf8 && start > 0 && isContinuationByte(name[start])) --start;
  } else {
    if (endsSurrogatePair(name, start)) --start;
  }
  return start;
}

}  // namespace

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
void dropTrailingDotsAndSpaces(std::basic_string<Char>& name, PathStyle style) {
  if (style != PathStyle::kWindows) return;
  std::size_t partStart = name.size();
  while (partStart > 0 && !isSeparator(name[partStart - 1], style)) --partStart;
  std::size_t end = name.size();
  while (end > partStart && (name[end - 1] == Char('.') || name[end - 1] == Char(' '))) --end;
  const bool onlyDots =
      name.find_first_not_of(Char('.'), partStart) == std::basic_string<Char>::npos;
  if (end > partStart || !onlyDots) name.erase(end);
}

template <typename Char>
bool hasOutputExtension(std::basic_string_view<Char> name) {
  if (name.size() < kExtensionLength) return false;
  std::string tail;
  for (Char c : name.substr(name.size() - kExtensionLength)) {
    const unsigned long unit = unitOf(c);
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
template void dropTrailingDotsAndSpaces(std::string&, PathStyle);
template void dropTrailingDotsAndSpaces(std::wstring&, PathStyle);
template bool hasOutputExtension(std::string_view);
template bool hasOutputExtension(std::wstring_view);

}  // namespace lines2svg
