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

std::string contentOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What an output meets when it is claimed, and what another program does to it between the claim
// and the pass: only a plain file of its own that its name still leads to is emptied and written;
// anything else is refused with the file met unchanged, wherever it now lies.
TEST(PassFile, WritesOnlyAPlainFileItsNameStillLeadsTo) {
  namespace fs = std::filesystem;
  HeldFolder scratch("files_test");
  ASSERT_EQ(scratch.opening, Outcome::kDone);
  const fs::path other = scratch.path / "other.txt";
  const fs::path out = scratch.path / "plan.dat";
  const fs::path moved = scratch.path / "moved.dat";
  // What stands at the output's name when it is claimed, and what happens to it afterwards.
  enum class Planted { kNothing, kOldFile, kLink, kHardLink, kDanglingLink };
  enum class Then { kNothing, kMoved, kReplaced, kDeleted, kHardLinked, kMovedAfterItsPass };
  const struct {
    Planted planted;
    Then then;
    Outcome claim;
    Outcome written;    // as told when the pass ends, or when the run closes it
    const char* holds;  // what the file first met (a link's target) holds afterwards
  } cases[] = {
      {Planted::kNothing, Then::kNothing, Outcome::kDone, Outcome::kDone, "x\n"},
      {Planted::kOldFile, Then::kNothing, Outcome::kDone, Outcome::kDone, "x\n"},
      {Planted::kLink, Then::kNothing, Outcome::kCannotWriteOutput, {}, "keep"},
      {Planted::kHardLink, Then::kNothing, Outcome::kCannotWriteOutput, {}, "keep"},
      {Planted::kDanglingLink, Then::kNothing, Outcome::kCannotWriteOutput, {}, "keep"},
      {Planted::kOldFile, Then::kMoved, Outcome::kDone, Outcome::kCannotWriteOutput, "older"},
      {Planted::kOldFile, Then::kReplaced, Outcome::kDone, Outcome::kCannotWriteOutput, "older"},
      {Planted::kOldFile, Then::kDeleted, Outcome::kDone, Outcome::kCannotWriteOutput, ""},
      {Planted::kOldFile, Then::kHardLinked, Outcome::kDone, Outcome::kCannotWriteOutput, "older"},
      {Planted::kOldFile, Then::kMovedAfterItsPass, Outcome::kDone, Outcome::kCannotWriteOutput,
       "x\n"},
  };
  for (const auto& c : cases) {
    const std::string label = std::to_string(static_cast<int>(c.planted)) + "/" +
                              std::to_string(static_cast<int>(c.then));
    for (const fs::path& path : {out, moved}) fs::remove(path);
    std::ofstream(other) << "keep";
    std::error_code error;  // set where the system refuses (Wine has no links; Windows no moves)
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
    }
    if (error) continue;
    Output file;
    FileFacts facts;
    ASSERT_EQ(scratch.folder.claim(out.filename().native(), &file, &facts), c.claim) << label;
    fs::path first = fs::is_symlink(out) || !fs::exists(out) ? other : out;
    if (c.claim == Outcome::kDone) {
      switch (c.then) {
        case Then::kMoved:
          fs::rename(out, moved, error);
          first = moved;
          break;
        case Then::kReplaced:
          fs::rename(out, moved, error);
          std::ofstream(out) << "new";
          first = moved;
          break;
        case Then::kDeleted:
          fs::remove(out, error);
          break;
        case Then::kHardLinked:
          fs::create_hard_link(out, moved, error);
          break;
        default:
          break;
      }
      // On Windows the held file cannot be moved or deleted, and is written as usual.
      bool refused = static_cast<bool>(error);
      PassFile pass;
      pass.writeTo(file);
      std::ostream(&pass) << "x\n" << std::flush;
      const Outcome ended = pass.finish();
      if (c.then == Then::kMovedAfterItsPass) {
        fs::rename(out, moved, error);
        refused = static_cast<bool>(error);
        first = moved;
      }
      const Outcome closed = file.closeNamed();
      EXPECT_EQ(ended != Outcome::kDone ? ended : closed, refused ? Outcome::kDone : c.written)
          << label;
      if (refused) continue;
    }
    std::string now = fs::exists(first) ? contentOf(first) : "";
    now.erase(std::remove(now.begin(), now.end(), '\r'), now.end());
    EXPECT_EQ(now, c.holds) << label;
    EXPECT_FALSE(fs::exists(scratch.path / "gone")) << label;
  }
}

// A written file's reads, altered as another program or a faulty share could alter them: cut
// short at `cutAt` (a file truncated while it is read, or a read that wrongly gives nothing, or
// a read that fails there with `failure`), or followed by `extra` bytes (a file that grew).
class AlteredReads : public PassFile {
 public:
  AlteredReads(std::size_t cutAt, std::string extra, Outcome failure)
      : cutAt_(cutAt), extra_(std::move(extra)), failure_(failure) {}

 protected:
  Outcome readSome(char* to, std::size_t size, std::size_t* got) override {
    *got = 0;
    if (offset_ >= cutAt_) return failure_;
    const Outcome outcome = PassFile::readSome(to, std::min(size, cutAt_ - offset_), got);
    if (*got == 0 && !extra_.empty()) {
      *got = extra_.copy(to, std::min(size, extra_.size()));
      extra_.clear();
    }
    offset_ += *got;
    return outcome;
  }

 private:
  std::size_t cutAt_;
  std::string extra_;
  Outcome failure_;
  std::size_t offset_ = 0;
};

TEST(PassFile, ReadsBackExactlyTheBytesWritten) {
  namespace fs = std::filesystem;
  HeldFolder scratch("read_back_test");
  ASSERT_EQ(scratch.opening, Outcome::kDone);
  Output out;
  FileFacts facts;
  ASSERT_EQ(scratch.folder.claim(fs::path("plan.dat").native(), &out, &facts), Outcome::kDone);
  PassFile writing;
  writing.writeTo(out);
  std::ostream(&writing) << "x\n1 2\n3 4\n" << std::flush;
  ASSERT_EQ(writing.finish(), Outcome::kDone);
  const struct {
    const char* label;
    std::size_t cutAt;
    const char* extra;
    bool readByPass;  // false: the pass stops at once, and the rest is read when it ends
    Outcome failure;  // of the read at the cut
    Outcome outcome;
  } cases[] = {
      {"whole", std::string::npos, "", true, Outcome::kDone, Outcome::kDone},
      {"whole, read at the end", std::string::npos, "", false, Outcome::kDone, Outcome::kDone},
      {"cut short", 5, "", true, Outcome::kDone, Outcome::kCannotWriteOutput},
      {"nothing at the first read", 0, "", true, Outcome::kDone, Outcome::kCannotWriteOutput},
      {"cut short, read at the end", 5, "", false, Outcome::kDone, Outcome::kCannotWriteOutput},
      {"grown", std::string::npos, "5 6\n", true, Outcome::kDone, Outcome::kCannotWriteOutput},
      // The failure of the read itself is told, not the shortfall it leaves.
      {"no memory for a read", 5, "", true, Outcome::kOutOfMemory, Outcome::kOutOfMemory},
  };
  for (const auto& c : cases) {
    AlteredReads back(c.cutAt, c.extra, c.failure);
    ASSERT_EQ(back.readBack(out).failure(), Outcome::kDone) << c.label;
    char piece[3];
    while (c.readByPass && back.sgetn(piece, sizeof piece) > 0) {
    }
    EXPECT_EQ(back.finish(), c.outcome) << c.label;
  }
}

}  // namespace
}  // namespace lines2svg
