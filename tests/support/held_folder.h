#ifndef LINES2SVG_TESTS_SUPPORT_HELD_FOLDER_H_
#define LINES2SVG_TESTS_SUPPORT_HELD_FOLDER_H_

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "driver/platform.h"

namespace lines2svg {

// A scratch folder of its own, removed with everything in it when the test ends.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& label)
      : path(std::filesystem::temp_directory_path() /
             ("lines2svg_" + label + "_" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    std::filesystem::create_directories(path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }

  std::filesystem::path path;
};

// A scratch folder held as a run holds the drawing's: through the drawing plan.txt, opened in it.
// The handles close before the folder is removed, which Windows needs.
struct HeldFolder : ScratchFolder {
  explicit HeldFolder(const std::string& label, const std::string& text = "drawing")
      : ScratchFolder(label) {
    std::ofstream(path / "plan.txt", std::ios::binary) << text;
    opening = folder.openDrawing((path / "plan.txt").native(), &drawing, &drawingName, &facts);
  }

  Folder folder;
  HeldFile drawing;
  NativeName drawingName;
  FileFacts facts;
  // kDone once the drawing and its folder are open.
  Outcome opening = Outcome::kDone;
};

}  // namespace lines2svg

#endif  // LINES2SVG_TESTS_SUPPORT_HELD_FOLDER_H_
