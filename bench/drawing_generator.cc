#include "drawing_generator.h"

#include <cstdio>
#include <random>
#include <string>

namespace lines2svg_bench {

namespace {

class Writer {
 public:
  Writer(const DrawingSink& sink, bool crlf) : sink_(sink), eol_(crlf ? "\r\n" : "\n") {}
  ~Writer() { drain(); }

  void text(const char* s) { buffer_ += s; }
  void endLine() {
    buffer_ += eol_;
    if (buffer_.size() > (1u << 20)) drain();
  }
  // A coordinate in hundredths, written with two decimals.
  void coordinate(std::int64_t hundredths) {
    char digits[32];
    std::int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    std::snprintf(digits, sizeof digits, " %s%lld.%02lld", hundredths < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 100), static_cast<long long>(magnitude % 100));
    buffer_ += digits;
  }
  void number(std::uint64_t n) {
    buffer_ += ' ';
    buffer_ += std::to_string(n);
  }
  std::uint64_t written() const { return flushed_ + buffer_.size(); }

 private:
  void drain() {
    sink_(buffer_);
    flushed_ += buffer_.size();
    buffer_.clear();
  }

  const DrawingSink& sink_;
  const char* eol_;
  std::string buffer_;
  std::uint64_t flushed_ = 0;
};

// A vertex wandering through a district: first coordinates negative, six digits; second ones
// positive, seven digits.
struct Walker {
  std::int64_t first = -74412345;
  std::int64_t second = 104321012;
  void step(std::mt19937_64& random) {
    first += static_cast<std::int64_t>(random() % 10001) - 5000;
    second += static_cast<std::int64_t>(random() % 10001) - 5000;
    if (first > -60000000 || first < -80000000) first = -70000000;
    if (second < 100000000 || second > 110000000) second = 105000000;
  }
};

void header(Writer& w) {
  w.text("&H DISTRICT SURVEY");
  w.endLine();
  w.text("VERSION 3 1 UNITS M");
  w.endLine();
}

void vertexRecord(Writer& w, const char* kind, const Walker& at) {
  w.text(kind);
  w.coordinate(at.first);
  w.coordinate(at.second);
  w.endLine();
}

void drawing(Writer& w, const DrawingOptions& options) {
  std::mt19937_64 random(options.seed);
  Walker at;
  header(w);
  for (std::uint64_t id = 1; w.written() < options.bytes; ++id) {
    std::uint64_t kind = random() % 100;
    at.step(random);
    if (kind < 80) {
      std::uint64_t vertices = kind < 56 ? 2 : 3 + random() % 58;
      w.text("&L");
      w.number(id);
      w.number(random() % 40);
      w.number(random() % 9);
      w.endLine();
      for (std::uint64_t v = 0; v < vertices; ++v) {
        vertexRecord(w, v == 0 ? "P" : "L", at);
        at.step(random);
      }
    } else if (kind < 90) {
      w.text("&T");
      w.number(id);
      w.endLine();
      vertexRecord(w, "P", at);
      w.text("TXT PARCEL");
      w.number(random() % 5000);
      w.endLine();
    } else {
      w.text("&S");
      w.number(id);
      w.number(random() % 12);
      w.endLine();
      vertexRecord(w, "P", at);
    }
    w.text("&E");
    w.endLine();
  }
}

void polyline(Writer& w, const DrawingOptions& options) {
  std::mt19937_64 random(options.seed);
  Walker at;
  header(w);
  w.text("&L 1 1 1");
  w.endLine();
  for (std::uint64_t v = 0; v < options.polyline; ++v) {
    vertexRecord(w, v == 0 ? "P" : "L", at);
    at.step(random);
  }
  w.text("&E");
  w.endLine();
}

}  // namespace

void generateDrawing(const DrawingOptions& options, const DrawingSink& sink) {
  Writer w(sink, options.crlf);
  if (options.polyline > 0) {
    polyline(w, options);
  } else {
    drawing(w, options);
  }
}

std::string drawingText(const DrawingOptions& options) {
  std::string text;
  generateDrawing(options, [&text](std::string_view piece) { text.append(piece); });
  return text;
}

}  // namespace lines2svg_bench
