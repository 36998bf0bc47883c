// Generating deterministic drawings for the tests and benchmarks.
//
// tests/conversion/golden_output_test.sh records SHA-256 sums of the files converted from
// drawings this generator makes: any change to the bytes it writes for a given seed, even one
// that leaves the program right, makes those sums fail and must come with new ones.
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
// positive, seven digits. On a national grid both are negative metres, the second of six or seven
// digits.
struct Walker {
  explicit Walker(bool nationalGrid) : grid(nationalGrid) {
    if (grid) second = -104321012;
  }
  bool grid;
  std::int64_t first = -74412345;
  std::int64_t second = 104321012;
  void step(std::mt19937_64& random) {
    first += static_cast<std::int64_t>(random() % 10001) - 5000;
    second += static_cast<std::int64_t>(random() % 10001) - 5000;
    if (first > -60000000 || first < -80000000) first = -70000000;
    if (grid) {
      if (second > -90000000 || second < -130000000) second = -105000000;
    } else if (second < 100000000 || second > 110000000) {
      second = 105000000;
    }
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

// Attribute tokens of a text or symbol section, as survey software writes them.
void attributes(Writer& w, std::mt19937_64& random) {
  static const char* const kWords[] = {"PARCEL", "BUILDING", "ROAD",     "FENCE",  "KN",
                                       "ZPMZ",   "KATUZE",   "VLASTNIK", "PLOCHA", "DRUH"};
  const std::uint64_t count = 8 + random() % 16;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (random() % 2 == 0) {
      w.text(" ");
      w.text(kWords[random() % 10]);
    } else {
      w.number(random() % 100000);
    }
  }
  w.endLine();
}

void drawing(Writer& w, const DrawingOptions& options) {
  std::mt19937_64 random(options.seed);
  Walker at(options.sparse);
  // In the sparse style a quarter of the sections are line objects, and the others carry many
  // attributes.
  const std::uint64_t lineShare = options.sparse ? 25 : 80;
  const std::uint64_t textShare = options.sparse ? 70 : 90;
  header(w);
  for (std::uint64_t id = 1; w.written() < options.bytes; ++id) {
    std::uint64_t kind = random() % 100;
    at.step(random);
    if (kind < lineShare) {
      std::uint64_t vertices = kind < lineShare * 7 / 10 ? 2 : 3 + random() % 58;
      w.text("&L");
      w.number(id);
      w.number(random() % 40);
      w.number(random() % 9);
      w.endLine();
      for (std::uint64_t v = 0; v < vertices; ++v) {
        vertexRecord(w, v == 0 ? "P" : "L", at);
        at.step(random);
      }
    } else if (kind < textShare) {
      w.text("&T");
      w.number(id);
      w.endLine();
      vertexRecord(w, "P", at);
      w.text("TXT PARCEL");
      w.number(random() % 5000);
      w.endLine();
      if (options.sparse) attributes(w, random);
    } else {
      w.text("&S");
      w.number(id);
      w.number(random() % 12);
      w.endLine();
      vertexRecord(w, "P", at);
      if (options.sparse) attributes(w, random);
    }
    w.text("&E");
    w.endLine();
  }
}

void polyline(Writer& w, const DrawingOptions& options) {
  std::mt19937_64 random(options.seed);
  Walker at(options.sparse);
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
