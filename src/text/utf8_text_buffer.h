#ifndef LINES2SVG_TEXT_UTF8_TEXT_BUFFER_H_
#define LINES2SVG_TEXT_UTF8_TEXT_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <streambuf>

namespace lines2svg {

// Reads a text file as Windows editors save it and hands out its bytes as UTF-8 without a
// byte-order mark. A UTF-8 mark (EF BB BF) at the very start is dropped. A UTF-16 mark (FF FE
// little-endian, FE FF big-endian) at the very start makes the rest be read as UTF-16 and turned
// into UTF-8: a surrogate pair gives one four-byte character, a lone surrogate U+FFFD and an odd
// last byte nothing. Any other file, UTF-16 without a mark included, is handed out unchanged, read
// straight into the reader's buffer, so that ordinary files cost one call per fill and no copy.
// A source that fails to read ends the bytes, and tells its owner so itself.
class Utf8TextBuffer : public std::streambuf {
 public:
  explicit Utf8TextBuffer(std::streambuf* source, std::size_t bufferSize = std::size_t{1} << 16);

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override;
  int_type underflow() override;

 private:
  enum class Encoding { kUnknown, kBytes, kUtf16Little, kUtf16Big };

  // Reads the first bytes and decides the encoding; the bytes after a mark are kept for reading.
  void detect();
  // Decodes the next fill of UTF-16 into the get area; false at the end of the source.
  bool decodeMore();
  // Appends one UTF-16 unit, pairing surrogates across calls.
  char* putUnit(std::uint32_t unit, char* out);

  std::streambuf* source_;
  std::size_t bufferSize_;
  Encoding encoding_ = Encoding::kUnknown;
  // The first bytes of the file, read to find a mark; what follows the mark is handed out first.
  char head_[3] = {};
  // UTF-16 only: the undecoded bytes, and the decoded text handed out from the get area.
  std::unique_ptr<char[]> raw_;
  std::unique_ptr<char[]> decoded_;
  // A byte of a unit whose other byte has not come yet, or -1.
  int pendingByte_ = -1;
  // A high surrogate waiting for its low half, or 0.
  std::uint32_t highSurrogate_ = 0;
  bool sourceEnded_ = false;
};

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_UTF8_TEXT_BUFFER_H_
