#ifndef LINES2SVG_TESTS_SUPPORT_FAILING_BUFFER_H_
#define LINES2SVG_TESTS_SUPPORT_FAILING_BUFFER_H_

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "driver/files.h"

namespace lines2svg {

// A file that fails to read at a chosen offset, as a failing disk or a dropped share does: its
// bytes up to there read as usual, and the next read fails.
class FailingBuffer : public PassFile {
 public:
  FailingBuffer(std::string text, std::size_t failAt) : text_(std::move(text)), failAt_(failAt) {}

 protected:
  Outcome readSome(char* to, std::size_t size, std::size_t* got) override {
    if (offset_ >= failAt_) return Outcome::kCannotReadInput;
    *got = std::min({size, failAt_ - offset_, text_.size() - std::min(offset_, text_.size())});
    text_.copy(to, *got, offset_);
    offset_ += *got;
    return Outcome::kDone;
  }

 private:
  std::string text_;
  std::size_t failAt_;
  std::size_t offset_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_TESTS_SUPPORT_FAILING_BUFFER_H_
