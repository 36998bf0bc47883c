#include "driver/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/held_folder.h"

namespace lines2svg {
namespace {

// A stand-in for the system: a name's first letter says what looking it up finds. "a" and "b"
// are plain files, "d" a link to the drawing, "l" a link elsewhere, "h" a file with another name,
// "n" nothing, "e" an error, "c" a device.
OutputLookup fakeLookUp(FileHandle, const NativeName& name) {
  const char letter = name.empty() ? 'n' : static_cast<char>(name[0]);
  const std::string letters = "abdlhec";
  // Whether the name holds something, a plain file, and what it reaches.
  const OutputLookup found[] = {
      {true, true, true, {1, 2}},  {true, true, true, {2, 1}},  {true, false, true, {1, 1}},
      {true, false, true, {3, 3}}, {true, false, true, {4, 4}}, {true, false, false, {}},
      {true, false, false, {}},
  };
  const std::size_t at = letters.find(letter);
  return at == std::string::npos ? OutputLookup{false, false, false, {}} : found[at];
}

TEST(CheckOutputs, RefusesUnlessItKnows) {
  const struct {
    const char* names;  // the first letters of the vertex, shape and SVG files' names
    Outcome check;
  } cases[] = {
      {"nnn", Outcome::kDone},
      {"abn", Outcome::kDone},
      {"nnd", Outcome::kInputWouldBeOverwritten},
      {"edn", Outcome::kInputWouldBeOverwritten},
      {"nen", Outcome::kCannotWriteOutput},
      {"ncn", Outcome::kCannotWriteOutput},
      {"ana", Outcome::kCannotWriteOutput},
      {"nbb", Outcome::kCannotWriteOutput},
      {"lnn", Outcome::kCannotWriteOutput},
      {"nnh", Outcome::kCannotWriteOutput},
  };
  for (const auto& c : cases) {
    auto name = [&](int i) {
      return NativeName(1, static_cast<NativeName::value_type>(c.names[i]));
    };
    const OutputNames names{name(0), name(1), name(2)};
    EXPECT_EQ(checkOutputs(Folder{}, FileIdentity{1, 1}, names, fakeLookUp), c.check) << c.names;
  }
}

std::string contentOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What an output meets when it is opened, whatever was checked before: another program may have
// put it there since. Only a plain file of its own, none of the taken files, is emptied and
// written; anything else is refused with the file met unchanged.
TEST(OutputFile, WritesOnlyAPlainFileOfItsOwn) {
  namespace fs = std::filesystem;
  HeldFolder scratch("files_test");
  ASSERT_EQ(scratch.opening, Outcome::kDone);
  const fs::path other = scratch.path / "other.txt";
  const fs::path out = scratch.path / "plan.dat";
  const Folder& held = scratch.folder;
  // What stands at the output's name when it is opened.
  enum class Planted { kNothing, kOldFile, kLink, kHardLink, kDanglingLink, kTakenFile };
  const struct {
    Planted planted;
    Outcome outcome;
    const char* written;  // what the output, or the file a link reaches, holds afterwards
  } cases[] = {
      {Planted::kNothing, Outcome::kDone, "x\n"},
      {Planted::kOldFile, Outcome::kDone, "x\n"},
      {Planted::kLink, Outcome::kCannotWriteOutput, "keep"},
      {Planted::kHardLink, Outcome::kCannotWriteOutput, "keep"},
      {Planted::kDanglingLink, Outcome::kCannotWriteOutput, "keep"},
      {Planted::kTakenFile, Outcome::kCannotWriteOutput, "keep"},
  };
  for (const auto& c : cases) {
    const int label = static_cast<int>(c.planted);
    fs::remove(out);
    std::ofstream(other) << "keep";
    TakenFiles taken;
    std::error_code error;  // set where the system cannot make such a file (Wine has no links)
    switch (c.planted) {
      case Planted::kNothing:
        break;
      case Planted::kOldFile:
        std::ofstream(out) << "older";
        break;
      case Planted::kLink:
        fs::create_symlink(other, out, error);
        break;
      case Planted::kHardLink:
        fs::create_hard_link(other, out, error);
        break;
      case Planted::kDanglingLink:
        fs::create_symlink("gone", out, error);
        break;
      case Planted::kTakenFile: {
        {
          // Closed before the rename, which Windows refuses for an open file.
          Folder otherFolder;
          InputFile file;
          NativeName otherName;
          FileFacts facts;
          ASSERT_EQ(file.openDrawing(other.native(), &otherFolder, &otherName), Outcome::kDone);
          ASSERT_TRUE(file.facts(&facts));
          taken.set(2, facts.identity);
        }
        fs::rename(other, out);
        break;
      }
    }
    if (error) continue;
    const NativeName name = out.filename().native();
    OutputFile file(held, name, &taken, 1);
    std::ostream stream(&file);
    stream << "x\n" << std::flush;
    WrittenFile written;
    EXPECT_EQ(file.close(&written), c.outcome) << label;
    const bool followsLink = fs::is_symlink(out) || !fs::exists(out);
    std::string now = followsLink ? contentOf(other) : contentOf(out);
    now.erase(std::remove(now.begin(), now.end(), '\r'), now.end());
    EXPECT_EQ(now, c.written) << label;
    EXPECT_FALSE(fs::exists(scratch.path / "gone")) << label;
    if (c.outcome == Outcome::kDone) {
      InputFile back;
      EXPECT_EQ(back.openWritten(held, name, written), Outcome::kDone) << label;
    }
  }
}

// A written file's reads, altered as another program or a faulty share could alter them: cut
// short at `cutAt` (a file truncated while it is read, or a read that wrongly gives nothing), or
// followed by `extra` bytes (a file that grew).
class AlteredReads : public InputFile {
 public:
  AlteredReads(std::size_t cutAt, std::string extra) : cutAt_(cutAt), extra_(std::move(extra)) {}

 protected:
  std::ptrdiff_t readSome(char* to, std::size_t size) override {
    if (offset_ >= cutAt_) return 0;
    std::ptrdiff_t got = InputFile::readSome(to, std::min(size, cutAt_ - offset_));
    if (got == 0 && !extra_.empty()) {
      got = static_cast<std::ptrdiff_t>(extra_.copy(to, std::min(size, extra_.size())));
      extra_.clear();
    }
    offset_ += static_cast<std::size_t>(got);
    return got;
  }

 private:
  std::size_t cutAt_;
  std::string extra_;
  std::size_t offset_ = 0;
};

TEST(InputFile, ReadsBackExactlyTheBytesWritten) {
  namespace fs = std::filesystem;
  HeldFolder scratch("read_back_test");
  ASSERT_EQ(scratch.opening, Outcome::kDone);
  const Folder& held = scratch.folder;
  const NativeName name = fs::path("plan.dat").native();
  TakenFiles taken;
  OutputFile out(held, name, &taken, 1);
  std::ostream(&out) << "x\n1 2\n3 4\n" << std::flush;
  WrittenFile written;
  ASSERT_EQ(out.close(&written), Outcome::kDone);
  const struct {
    const char* label;
    std::size_t cutAt;
    const char* extra;
    bool readByPass;  // false: the pass stops at once, and the rest is read when it ends
    Outcome outcome;
  } cases[] = {
      {"whole", std::string::npos, "", true, Outcome::kDone},
      {"whole, read at the end", std::string::npos, "", false, Outcome::kDone},
      {"cut short", 5, "", true, Outcome::kCannotWriteOutput},
      {"nothing at the first read", 0, "", true, Outcome::kCannotWriteOutput},
      {"cut short, read at the end", 5, "", false, Outcome::kCannotWriteOutput},
      {"grown", std::string::npos, "5 6\n", true, Outcome::kCannotWriteOutput},
  };
  for (const auto& c : cases) {
    AlteredReads back(c.cutAt, c.extra);
    ASSERT_EQ(back.openWritten(held, name, written), Outcome::kDone) << c.label;
    char piece[3];
    while (c.readByPass && back.sgetn(piece, sizeof piece) > 0) {
    }
    EXPECT_EQ(back.readBackOutcome(), c.outcome) << c.label;
  }
}

}  // namespace
}  // namespace lines2svg
