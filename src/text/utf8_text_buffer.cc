// Reading a text file with a byte-order mark as plain UTF-8.
#include "text/utf8_text_buffer.h"

#include <algorithm>
#include <cstring>

#include "text/unicode.h"

namespace lines2svg {

Utf8TextBuffer::Utf8TextBuffer(std::streambuf* source, std::size_t bufferSize)
    : source_(source), bufferSize_(std::max<std::size_t>(bufferSize, 1)) {
  setg(head_, head_, head_);
}

void Utf8TextBuffer::detect() {
  const std::streamsize got = source_ != nullptr ? source_->sgetn(head_, sizeof head_) : 0;
  const auto at = [this](int i) { return static_cast<unsigned char>(head_[i]); };
  encoding_ = Encoding::kBytes;
  std::streamsize skip = 0;
  if (got == 3 && at(0) == kUtf8Mark[0] && at(1) == kUtf8Mark[1] && at(2) == kUtf8Mark[2]) {
    skip = 3;
  } else if (got >= 2 && isUtf16Mark(at(0), at(1))) {
    encoding_ = at(0) == kUtf16LittleMarkStart ? Encoding::kUtf16Little : Encoding::kUtf16Big;
    if (got == 3) pendingByte_ = at(2);
    skip = got;
  }
  setg(head_, head_ + std::max<std::streamsize>(skip, 0),
       head_ + std::max<std::streamsize>(got, 0));
}

std::streamsize Utf8TextBuffer::xsgetn(char* to, std::streamsize count) {
  if (encoding_ == Encoding::kUnknown) detect();
  if (encoding_ != Encoding::kBytes) return std::streambuf::xsgetn(to, count);
  // Plain bytes: what is left of the head, then straight from the source.
  const std::streamsize held = std::min<std::streamsize>(egptr() - gptr(), count);
  std::memcpy(to, gptr(), static_cast<std::size_t>(std::max<std::streamsize>(held, 0)));
  gbump(static_cast<int>(held));
  if (held == count || source_ == nullptr) return held;
  return held + source_->sgetn(to + held, count - held);
}

Utf8TextBuffer::int_type Utf8TextBuffer::underflow() {
  if (encoding_ == Encoding::kUnknown) detect();
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (encoding_ == Encoding::kBytes) {
    const std::streamsize got = source_ != nullptr ? source_->sgetn(head_, sizeof head_) : 0;
    if (got <= 0) return traits_type::eof();
    setg(head_, head_, head_ + got);
    return traits_type::to_int_type(*gptr());
  }
  while (decodeMore()) {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  }
  return traits_type::eof();
}

bool Utf8TextBuffer::decodeMore() {
  if (sourceEnded_) return false;
  if (!raw_) {
    raw_.reset(new char[bufferSize_]);
    // At most three bytes a unit, and one replacement held over from the fill before.
    decoded_.reset(new char[3 * (bufferSize_ / 2 + 2) + 4]);
  }
  const std::streamsize got = source_->sgetn(raw_.get(), static_cast<std::streamsize>(bufferSize_));
  char* const start = decoded_.get();
  char* out = start;
  if (got <= 0) {
    // The end: a high surrogate without its low half is replaced, an odd last byte dropped.
    sourceEnded_ = true;
    if (highSurrogate_ != 0) out = encodeUtf8(kReplacementCharacter, out);
    highSurrogate_ = 0;
    setg(start, start, out);
    return out != start;
  }
  const bool big = encoding_ == Encoding::kUtf16Big;
  const auto unitOf = [big](unsigned char a, unsigned char b) { return utf16Unit(a, b, big); };
  const auto* raw = reinterpret_cast<const unsigned char*>(raw_.get());
  const auto size = static_cast<std::size_t>(got);
  std::size_t i = 0;
  if (pendingByte_ >= 0) {
    out = putUnit(unitOf(static_cast<unsigned char>(pendingByte_), raw[0]), out);
    pendingByte_ = -1;
    i = 1;
  }
  for (; i + 1 < size; i += 2) out = putUnit(unitOf(raw[i], raw[i + 1]), out);
  if (i < size) pendingByte_ = raw[i];
  setg(start, start, out);
  return true;
}

char* Utf8TextBuffer::putUnit(std::uint32_t unit, char* out) {
  if (highSurrogate_ != 0) {
    const std::uint32_t high = highSurrogate_;
    highSurrogate_ = 0;
    if (isLowSurrogate(unit)) return encodeUtf8(fromSurrogates(high, unit), out);
    out = encodeUtf8(kReplacementCharacter, out);
  }
  if (isHighSurrogate(unit)) {
    highSurrogate_ = unit;
    return out;
  }
  return encodeUtf8(isLowSurrogate(unit) ? kReplacementCharacter : unit, out);
}

}  // namespace lines2svg
