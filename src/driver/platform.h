#ifndef LINES2SVG_DRIVER_PLATFORM_H_
#define LINES2SVG_DRIVER_PLATFORM_H_

// All that a run asks of the system: the drawing's folder and the files in it, and the standard
// input. platform_posix.cc and platform_windows.cc implement it; nothing else in the program knows
// which system it runs on. Every call that can fail returns its Outcome, a lack of memory in the
// system as kOutOfMemory; nothing here throws but an allocation.

#include <cstddef>
#include <cstdint>

#include "driver/name_input.h"
#include "driver/native_name.h"
#include "driver/outcome.h"

namespace lines2svg {

// What makes a file the same under any of its names: the device and file number (on Windows, the
// volume serial number and the file index).
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  bool operator==(const FileIdentity& o) const { return device == o.device && file == o.file; }
};

// What the system tells of an open file.
struct FileFacts {
  FileIdentity identity;
  std::uint64_t size = 0;
  // When its bytes last changed, in the system's own units.
  std::uint64_t modified = 0;
  // A regular file: no folder, device, FIFO or link.
  bool regular = false;
  // A regular file with this one name: no hard link, and on Windows no link's reparse point.
  bool plainFile = false;
};

// A file the run holds open, from when its folder opened it to the end of the run. Its calls fail
// with kCannotReadInput for the drawing, kCannotWriteOutput for an output.
class HeldFile {
 public:
  HeldFile() = default;
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile() { close(); }

  // What the system tells of the file.
  Outcome facts(FileFacts* facts) const;
  // Reads at most `size` bytes into `to` as the file holds them, a Windows line end's CR too (the
  // readers take it for a separator); `got` is 0 at the end of the file.
  Outcome read(char* to, std::size_t size, std::size_t* got);
  // Writes all of `bytes` as text in the platform's form: on Windows each line end as CR LF.
  Outcome write(const char* bytes, std::size_t size);
  // The bytes write() has stored, as the file holds them.
  std::uint64_t stored() const { return stored_; }
  // Moves back to the start of the file, to read it from there.
  Outcome rewind();
  // Empties the file.
  Outcome empty();
  // Closes the file: kDone unless the system reports an error, such as written bytes a network
  // share failed to store.
  Outcome close();

 private:
  friend class Folder;
  friend class Output;

  // A read or a write asks the system for at most this many bytes at once, below the limit of
  // one call on either system.
  static constexpr std::size_t kMostBytesPerCall = std::size_t{1} << 30;

  std::intptr_t handle_ = -1;
  Outcome failure_ = Outcome::kCannotReadInput;
  std::uint64_t stored_ = 0;
};

class Folder;

// One of the files a run writes, claimed under its own name in the drawing's folder. A file the
// run created and never kept is removed again when it goes, if its name still leads to it: a run
// refused before its passes leaves nothing behind.
class Output : public HeldFile {
 public:
  ~Output();

  // kDone while its name in the folder, a link not followed, leads to this very file: nobody has
  // moved, deleted or replaced it since it was claimed. kCannotWriteOutput otherwise.
  Outcome isStillNamed() const;
  // Keeps the file when the run ends, whatever happens.
  void keep() { discardable_ = false; }
  // Closes the file once the run is done with it: kDone when its name still leads to it and the
  // system reports no error.
  Outcome closeNamed() {
    const Outcome named = isStillNamed();
    const Outcome closed = close();
    return named != Outcome::kDone ? named : closed;
  }

 private:
  friend class Folder;

  const Folder* folder_ = nullptr;
  NativeName name_;
  bool discardable_ = false;
};

// The folder the drawing lies in, held open for the whole run. Every file of the run is reached
// through it, so that renaming the folder or putting another in its place sends no output astray.
class Folder {
 public:
  Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder();

  // Opens the folder that the typed name's folder part names (the current folder when it has
  // none), then the drawing in it by the last part, links followed, and tells its facts. On
  // Windows other programs may read the drawing but not write it meanwhile; elsewhere the run
  // checks the drawing once it has read it. `name` is the drawing's name in the folder, which the
  // outputs are named after: on Windows its long name (PLANOV~1.TXT gives planovani.txt), elsewhere
  // the last part as typed. kMissingInput means nothing readable of that name, a folder, or on
  // Windows a name that may lead anywhere but to a file on a disk, which is never opened.
  Outcome openDrawing(const NativeName& typed, HeldFile* drawing, NativeName* name,
                      FileFacts* facts);

  // Claims the output `name` in the folder: opens it for reading and writing as it is, never
  // through a link and never waiting on a FIFO or device, or creates it when it is absent, and
  // tells its facts. On Windows other programs may read it but neither write, move nor delete it
  // while it is held. kCannotWriteOutput when it is no plain file of its own or cannot be opened
  // (no permission, held by another program, or on Windows a short name of another file).
  Outcome claim(const NativeName& name, Output* output, FileFacts* facts) const;

  // Tells in `reaches` whether `name` in the folder, links followed, leads to the file
  // `identity`: an output refused may still be a way to the drawing.
  Outcome reachesFollowingLinks(const NativeName& name, const FileIdentity& identity,
                                bool* reaches) const {
    return leadsTo(name, identity, true, reaches);
  }

 private:
  friend class Output;

  // Tells in `leads` whether `name` in the folder, a link followed or not, is the file `identity`.
  // No access to its data is asked for, so that a file another program holds can be looked at.
  Outcome leadsTo(const NativeName& name, const FileIdentity& identity, bool followLinks,
                  bool* leads) const;

  std::intptr_t handle_ = -1;
};

inline Outcome Output::isStillNamed() const {
  FileFacts held;
  bool named = false;
  Outcome outcome = facts(&held);
  if (outcome == Outcome::kDone) outcome = folder_->leadsTo(name_, held.identity, false, &named);
  return outcome == Outcome::kDone && !named ? failure_ : outcome;
}

// The standard input: on Windows a console, read as Unicode; anything else as a PipedNameInput.
NameInput& standardNameInput();

// Makes a failed write an error the program reports rather than a signal that ends it: a console
// reader that has gone is ignored, and a file-size limit is reported like a full disk.
void reportFailedWritesAsErrors();

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_PLATFORM_H_
