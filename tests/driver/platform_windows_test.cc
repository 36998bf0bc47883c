#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver/driver.h"
#include "driver/windows_text.h"
#include "support/held_folder.h"

namespace lines2svg {
namespace {

const std::wstring kTrebic = L"T\u0159eb\u00ed\u010d.txt";

TEST(DecodeBytes, CzechCodePagesAndUtf8) {
  const struct {
    std::string bytes;
    unsigned codePage;
    bool decodes;
    std::wstring text;
  } cases[] = {
      {"T\xFD"
       "eb\xA1\x9F.txt",
       852, true, kTrebic},
      {"T\xF8"
       "eb\xED\xE8.txt",
       1250, true, kTrebic},
      {"T\xC5\x99"
       "eb\xC3\xAD\xC4\x8D.txt",
       65001, true, kTrebic},
      {"T\xFD"
       "eb.txt",
       65001, false, L""},
      {"plan.txt", 852, true, L"plan.txt"},
  };
  for (const auto& c : cases) {
    std::wstring text;
    EXPECT_EQ(decodeBytes(c.bytes, c.codePage, &text), c.decodes) << c.bytes;
    if (c.decodes) {
      EXPECT_EQ(text, c.text) << c.bytes;
    }
  }
}

// Only the Czech name counts as an existing file.
bool trebicExists(const std::wstring& name) { return name == kTrebic; }

TEST(DecodePipedName, ConsoleCodePageThenAnsiThenUtf8) {
  const CodePages czech{852, 1250};
  const struct {
    std::string bytes;
    std::wstring name;
  } cases[] = {
      {"T\xFD"
       "eb\xA1\x9F.txt",
       kTrebic},
      {"T\xF8"
       "eb\xED\xE8.txt",
       kTrebic},
      {"T\xC5\x99"
       "eb\xC3\xAD\xC4\x8D.txt",
       kTrebic},
      // Nothing exists: the console's code page is taken.
      {"\xF8.txt", L"\u00b0.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(decodePipedName(c.bytes, czech, trebicExists), c.name);
}

// While a run holds the drawing's folder and an output, neither can be renamed, and what the run
// writes lands in the folder.
TEST(Folder, HeldFolderAndOutputCannotBeRenamed) {
  ScratchFolder base("folder_test");
  std::filesystem::create_directories(base.path / "sub");
  std::ofstream(base.path / "sub" / "plan.txt") << "drawing";
  std::ofstream(base.path / "sub" / "plan.svg") << "old";
  {
    PassFile drawing;
    lines2svg::Run run(drawing);
    ASSERT_EQ(run.open((base.path / "sub" / "plan.txt").native()), Outcome::kDone);
    ASSERT_EQ(run.claimOutputs(), Outcome::kDone);
    EXPECT_FALSE(MoveFileW((base.path / "sub").c_str(), (base.path / "moved").c_str()));
    EXPECT_FALSE(
        MoveFileW((base.path / "sub" / "plan.svg").c_str(), (base.path / "plan-old.svg").c_str()));
    EXPECT_EQ(run.convert(), Outcome::kDone);
  }
  EXPECT_TRUE(std::filesystem::exists(base.path / "sub" / "plan.dat"));
  EXPECT_FALSE(std::filesystem::exists(base.path / "plan-old.svg"));
}

}  // namespace
}  // namespace lines2svg
