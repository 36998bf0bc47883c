#ifndef LINES2SVG_TESTS_SUPPORT_FAILING_BUFFER_H_
#define LINES2SVG_TESTS_SUPPORT_FAILING_BUFFER_H_

#include <algorithm>
#include <cstddef>
#include <ios>
#include <streambuf>
#include <string>
#include <utility>

namespace lines2svg {

// A file that fails to read at a chosen offset: its bytes up to there read as usual, and the next
// read throws, as a file stream's buffer does on a read error (a failing disk, a dropped share).
class FailingBuffer : public std::streambuf {
 public:
  FailingBuffer(std::string text, std::size_t failAt) : text_(std::move(text)), failAt_(failAt) {}

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override {
    if (offset_ >= failAt_) throw std::ios_base::failure("read error");
    const std::size_t n = std::min({static_cast<std::size_t>(count), failAt_ - offset_,
                                    text_.size() - std::min(offset_, text_.size())});
    text_.copy(to, n, offset_);
    offset_ += n;
    return static_cast<std::streamsize>(n);
  }

 private:
  std::string text_;
  std::size_t failAt_;
  std::size_t offset_ = 0;
};

}  // namespace lines2svg

#endif  // LINES2SVG_TESTS_SUPPORT_FAILING_BUFFER_H_
