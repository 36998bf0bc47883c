// Telling files apart by identity, and the guard that keeps outputs off the drawing and each other.
#include "driver/file_identity.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>

#include <cerrno>
#endif

namespace lines2svg {

#if defined(_WIN32)

bool isDeviceName(const NativeName& name) {
  const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return false;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(name.c_str(), size, full.data(), nullptr);
  return length > 0 && length < size && full.compare(0, 4, L"\\\\.\\") == 0;
}

Lookup lookUpIdentity(const NativeName& name, FileIdentity* identity) {
  if (isDeviceName(name)) return Lookup::kDevice;
  // No access is asked for, so a file another program holds locked can still be looked at.
  const HANDLE file =
      CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_FILE_NOT_FOUND ? Lookup::kAbsent : Lookup::kUnknown;
  }
  Lookup result = Lookup::kUnknown;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    result = Lookup::kDevice;
  } else if (GetFileInformationByHandle(file, &info)) {
    identity->device = info.dwVolumeSerialNumber;
    identity->file = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    result = Lookup::kFound;
  }
  CloseHandle(file);
  return result;
}

#else

bool isDeviceName(const NativeName&) { return false; }

Lookup lookUpIdentity(const NativeName& name, FileIdentity* identity) {
  struct stat status;
  if (stat(name.c_str(), &status) == 0) {
    identity->device = static_cast<std::uint64_t>(status.st_dev);
    identity->file = static_cast<std::uint64_t>(status.st_ino);
    return Lookup::kFound;
  }
  if (errno != ENOENT) return Lookup::kUnknown;
  // A link to nowhere would create a file that the name does not tell: perhaps another output.
  return lstat(name.c_str(), &status) == 0 ? Lookup::kUnknown : Lookup::kAbsent;
}

#endif

OutputCheck checkOutputs(const FileIdentity& drawing, const OutputNames& names,
                         Lookup (*lookUp)(const NativeName&, FileIdentity*)) {
  FileIdentity found[3];
  std::size_t count = 0;
  bool overwrite = false;
  bool cannot = false;
  for (const NativeName* name : {&names.vertices, &names.shapes, &names.svg}) {
    FileIdentity identity;
    const Lookup lookup = lookUp(*name, &identity);
    if (lookup == Lookup::kAbsent) continue;
    if (lookup != Lookup::kFound) {
      cannot = true;
      continue;
    }
    if (identity == drawing) overwrite = true;
    for (std::size_t i = 0; i < count; ++i) cannot = cannot || identity == found[i];
    found[count++] = identity;
  }
  if (overwrite) return OutputCheck::kWouldOverwriteInput;
  return cannot ? OutputCheck::kCannotWrite : OutputCheck::kSafe;
}

}  // namespace lines2svg
