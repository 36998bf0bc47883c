// The Windows rules that need no Windows: which names are devices.
#include "driver/windows_text.h"

#include <algorithm>
#include <cstddef>

namespace lines2svg {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

// True when `part` is `word` in any letter case.
bool sameLetters(std::wstring_view part, std::wstring_view word) {
  if (part.size() != word.size()) return false;
  for (std::size_t i = 0; i < part.size(); ++i) {
    if (upper(part[i]) != word[i]) return false;
  }
  return true;
}

// True when one part of a path names a DOS device: CON, PRN, AUX, NUL, COM0 to COM9 and LPT0 to
// LPT9 (also with the superscript digits 1, 2 and 3), or the console's CONIN$ and CONOUT$, in any
// letter case, also followed by an extension ("NUL.tar.gz" is NUL) or by the spaces and dots
// Windows drops.
bool isDevicePart(std::wstring_view part) {
  part = part.substr(0, part.find(L'.'));
  while (!part.empty() && part.back() == L' ') part.remove_suffix(1);
  for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
    if (sameLetters(part, device)) return true;
  }
  if (part.size() != 4 ||
      !(sameLetters(part.substr(0, 3), L"COM") || sameLetters(part.substr(0, 3), L"LPT"))) {
    return false;
  }
  const wchar_t digit = part[3];
  return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
         digit == L'\u00B3';
}

}  // namespace

bool isDeviceName(std::wstring_view name) {
  // \\.\ and \\?\ (and the NT form \??\) lead into the object namespace, where only a drive
  // (C:), a share (UNC) or a volume (Volume{...}) leads on to files; anything else there, such
  // as COM7, pipe or GLOBALROOT, is a device.
  if (name.size() >= 4 && isSeparator(name[0]) && isSeparator(name[3]) &&
      ((isSeparator(name[1]) && (name[2] == L'.' || name[2] == L'?')) ||
       (name[1] == L'?' && name[2] == L'?'))) {
    name.remove_prefix(4);
    const std::wstring_view root = name.substr(0, name.find_first_of(L"\\/"));
    const bool drive =
        root.size() == 2 && root[1] == L':' && upper(root[0]) >= L'A' && upper(root[0]) <= L'Z';
    if (!drive && !sameLetters(root, L"UNC") && !sameLetters(root.substr(0, 7), L"VOLUME{")) {
      return true;
    }
  }
  // Then every part, the folders' included, split at separators and at a drive's or a stream's
  // colon.
  for (std::size_t start = 0; start <= name.size();) {
    const std::size_t end = std::min(name.find_first_of(L"\\/:", start), name.size());
    if (isDevicePart(name.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace lines2svg
