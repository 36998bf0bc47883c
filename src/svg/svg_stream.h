#ifndef LINES2SVG_SVG_SVG_STREAM_H_
#define LINES2SVG_SVG_SVG_STREAM_H_

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "text/fixed_format.h"
#include "text/output_buffer.h"

namespace lines2svg {

// The SVG file as the writer sees it: text and real numbers in fixed notation at the current
// precision, collected in one large buffer.
class SvgStream {
 public:
  explicit SvgStream(std::ostream& out) : out_(out) {}

  // Appends text as it stands.
  void text(std::string_view piece) { out_.write(piece); }

  // Appends a real number with the current number of decimals.
  void number(double value) {
    out_.commit(formatFixed(value, precision_, out_.reserve(kFixedBufferSize)));
  }

  // Appends a whole number of hundredths with two decimals, whatever the current precision.
  void hundredths(std::int64_t value) {
    out_.commit(formatHundredths(value, out_.reserve(kFixedBufferSize)));
  }

  // Appends " a b" for two whole numbers of hundredths, as two hundredths() after spaces would.
  void hundredthsPair(std::int64_t a, std::int64_t b) {
    char* const p = out_.reserve(2 * kFixedBufferSize + 1);
    *p = ' ';
    out_.commit(1 + formatHundredthsPair(a, b, p + 1));
  }

  // Sets the number of decimals for the numbers that follow.
  void setPrecision(int precision) { precision_ = precision; }

  // Hands everything to the file; a failure shows in the file's stream.
  void flush() { out_.flush(); }

 private:
  OutputBuffer out_;
  int precision_ = 2;
};

}  // namespace lines2svg

#endif  // LINES2SVG_SVG_SVG_STREAM_H_
