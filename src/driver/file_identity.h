#ifndef LINES2SVG_DRIVER_FILE_IDENTITY_H_
#define LINES2SVG_DRIVER_FILE_IDENTITY_H_

#include <cstdint>

#include "driver/file_names.h"

namespace lines2svg {

// What makes a file the same file under any of its names: the device and file number (on
// Windows, the volume serial number and the file index).
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;

  bool operator==(const FileIdentity& other) const {
    return device == other.device && file == other.file;
  }
};

// What looking up a name's file found.
enum class Lookup {
  // The name holds a file (of any type), whose identity was filled in.
  kFound,
  // No file of that name exists, so nothing will be lost by creating it.
  kAbsent,
  // The name is a Windows device (CON, AUX, COM1…), which is no file to read or write.
  kDevice,
  // The system could not tell (an I/O error, a folder that cannot be searched, a dangling link).
  kUnknown,
};

// Looks up the file a name stands for, following links.
Lookup lookUpIdentity(const NativeName& name, FileIdentity* identity);

// True when Windows takes the name for a device rather than a file (GetFullPathNameW makes it
// \\.\NAME); never on other systems, where special files are legitimate inputs and outputs.
bool isDeviceName(const NativeName& name);

// What may be done with the three files to be written.
enum class OutputCheck {
  // None exists, or each is a file of its own that is not the drawing.
  kSafe,
  // One of them is the drawing itself, under another name.
  kWouldOverwriteInput,
  // Two of them are one file, one is a device, or the system could not tell.
  kCannotWrite,
};

// Decides, before anything is written, whether writing the outputs could lose the drawing or one
// output's content to another. It compares identities, not names, and refuses when in doubt.
// `lookUp` is lookUpIdentity, or a stand-in in tests.
OutputCheck checkOutputs(const FileIdentity& drawing, const OutputNames& names,
                         Lookup (*lookUp)(const NativeName&, FileIdentity*) = lookUpIdentity);

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_FILE_IDENTITY_H_
