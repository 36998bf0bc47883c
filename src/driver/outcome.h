#ifndef LINES2SVG_DRIVER_OUTCOME_H_
#define LINES2SVG_DRIVER_OUTCOME_H_

namespace lines2svg {

// How an open, a check or a step of the conversion ended: done, or the failure the user is told.
// Every failure of the run reaches the dialogue as one of these, and nothing else.
enum class Outcome {
  kDone,
  // Nothing readable has the drawing's name: no file, a folder, or a Windows device such as CON.
  kMissingInput,
  // An output's name reaches the drawing, through a link or as another name of it.
  kInputWouldBeOverwritten,
  // An output may not be written (its name is a link, has other names, is no plain file, cannot
  // be opened for writing, or the system cannot tell), or a written file could not be written or
  // read back whole.
  kCannotWriteOutput,
  // The drawing exists but cannot be read: no permission, another program holds it, or a read
  // failed.
  kCannotReadInput,
  // Memory ran out, once the program had started.
  kOutOfMemory,
};

// The message the user is shown for a failure, in the order of Outcome; kDone has none.
inline const char* messageFor(Outcome outcome) {
  constexpr const char* kMessages[] = {
      "",
      "!!! Vstupni soubor neexistuje !!!",
      "!!! Vstupni soubor by byl prepsan !!!",
      "!!! Vystupni soubor nelze vytvorit !!!",
      "!!! Vstupni soubor nelze precist !!!",
      "!!! Nedostatek pameti !!!",
  };
  static_assert(
      sizeof kMessages / sizeof kMessages[0] == static_cast<int>(Outcome::kOutOfMemory) + 1,
      "one message for each outcome");
  return kMessages[static_cast<int>(outcome)];
}

}  // namespace lines2svg

#endif  // LINES2SVG_DRIVER_OUTCOME_H_
