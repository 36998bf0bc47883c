// The Windows rules that need no Windows: which paths may be opened.
#include "driver/windows_text.h"

#include <algorithm>
#include <cstddef>

namespace lines2svg {

namespace {

wchar_t upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

// True when `part` is `word` in any letter case.
bool sameLetters(std::wstring_view part, std::wstring_view word) {
  return part.size() == word.size() &&
         std::equal(part.begin(), part.end(), word.begin(),
                    [](wchar_t a, wchar_t b) { return upper(a) == b; });
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
  const std::wstring_view digits = L"0123456789\u00B9\u00B2\u00B3";
  return part.size() == 4 && digits.find(part[3]) != digits.npos &&
         (sameLetters(part.substr(0, 3), L"COM") || sameLetters(part.substr(0, 3), L"LPT"));
}

// True when `path` starts with `prefix`, letter case ignored; `prefix` is in capitals.
bool startsWith(std::wstring_view path, std::wstring_view prefix) {
  return path.size() >= prefix.size() && sameLetters(path.substr(0, prefix.size()), prefix);
}

// A volume's name, Volume{8f2d6c1e-0000-0000-0000-100000000000}: its GUID in 36 characters.
constexpr std::size_t kVolumeNameLength = 44;

bool isVolumeName(std::wstring_view name) {
  return name.size() == kVolumeNameLength && startsWith(name, L"VOLUME{") && name.back() == L'}' &&
         name.substr(7, 36).find_first_not_of(L"0123456789abcdefABCDEF-") == name.npos;
}

// True when `part` may be the name of a file or a folder: not empty, no . or .., no device, and
// none of the characters Windows reserves in a name.
bool isPlainPart(std::wstring_view part) {
  if (part.empty() || part == L"." || part == L".." || isDevicePart(part)) return false;
  return std::none_of(part.begin(), part.end(), [](wchar_t c) {
    return c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
  });
}

// True when a share's name is that of the pipe or the mailslot namespace, which a share's server
// opens as a pipe or a mailslot, never as a folder: \\server\pipe\name.
bool isPipeOrMailslot(std::wstring_view share) {
  share = share.substr(0, share.find_last_not_of(L". ") + 1);
  return sameLetters(share, L"PIPE") || sameLetters(share, L"MAILSLOT");
}

}  // namespace

bool splitFullPath(std::wstring_view full, std::wstring* folder, std::wstring* name) {
  // \\?\ and \\.\ lead into the object namespace, where only a drive, a share or a volume leads on
  // to files.
  const bool prefixed = startsWith(full, L"\\\\?\\") || startsWith(full, L"\\\\.\\");
  std::wstring_view rest = full.substr(prefixed ? 4 : 0);
  std::wstring root = L"\\\\?\\";
  // The parts of the root after its first, for a share its server and share name.
  std::size_t shareParts = 0;
  if (rest.size() >= 2 && rest[1] == L':' && upper(rest[0]) >= L'A' && upper(rest[0]) <= L'Z') {
    root += rest.substr(0, 2);
    rest.remove_prefix(2);
  } else if (prefixed && isVolumeName(rest.substr(0, kVolumeNameLength))) {
    root += rest.substr(0, kVolumeNameLength);
    rest.remove_prefix(kVolumeNameLength);
  } else if (prefixed ? startsWith(rest, L"UNC\\") : startsWith(rest, L"\\\\")) {
    root += L"UNC";
    rest.remove_prefix(prefixed ? 3 : 1);
    shareParts = 2;
  } else {
    return false;
  }
  // What is left is a separator and the parts, the last of them the name.
  if (rest.empty() || rest[0] != L'\\') return false;
  std::size_t parts = 0;
  std::size_t last = 0;
  for (std::size_t start = 1; start <= rest.size(); ++parts) {
    const std::size_t end = std::min(rest.find(L'\\', start), rest.size());
    const std::wstring_view part = rest.substr(start, end - start);
    if (!isPlainPart(part) || (parts == 1 && shareParts > 0 && isPipeOrMailslot(part))) {
      return false;
    }
    last = start;
    start = end + 1;
  }
  if (parts <= shareParts) return false;
  *folder = root;
  folder->append(rest.substr(0, last));
  *name = rest.substr(last);
  return true;
}

}  // namespace lines2svg
