// Writes a deterministic drawing file for tests and benchmarks: a header, line-object sections
// with attribute tokens (mostly two-vertex lines, some polylines of 3 to 60 vertices), text and
// symbol sections that carry records of their own, and coordinates such as -744123.45 or
// 1043210.12. The same seed and options always give the same bytes.
//
//   make_drawing --bytes N [--seed S] [--eol crlf|lf] [--out FILE]
//   make_drawing --polyline VERTICES [--eol crlf|lf] [--out FILE]

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

struct Options {
  std::uint64_t bytes = 0;
  std::uint64_t polyline = 0;
  std::uint64_t seed = 1;
  bool crlf = true;
  const char* out = nullptr;
};

bool parse(int argc, char** argv, Options* options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const char* flag = argv[i];
    const char* value = argv[i + 1];
    if (std::strcmp(flag, "--bytes") == 0) {
      options->bytes = std::strtoull(value, nullptr, 10);
    } else if (std::strcmp(flag, "--polyline") == 0) {
      options->polyline = std::strtoull(value, nullptr, 10);
    } else if (std::strcmp(flag, "--seed") == 0) {
      options->seed = std::strtoull(value, nullptr, 10);
    } else if (std::strcmp(flag, "--eol") == 0) {
      options->crlf = std::strcmp(value, "lf") != 0;
    } else if (std::strcmp(flag, "--out") == 0) {
      options->out = value;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && (options->bytes > 0) != (options->polyline > 0);
}

class Writer {
 public:
  Writer(std::FILE* file, bool crlf) : file_(file), eol_(crlf ? "\r\n" : "\n") {}
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
    std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    flushed_ += buffer_.size();
    buffer_.clear();
  }

  std::FILE* file_;
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

void drawing(Writer& w, const Options& options) {
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

void polyline(Writer& w, const Options& options) {
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

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: make_drawing --bytes N [--seed S] [--eol crlf|lf] [--out FILE]\n"
                 "       make_drawing --polyline VERTICES [--eol crlf|lf] [--out FILE]\n");
    return 2;
  }
  std::FILE* file = options.out != nullptr ? std::fopen(options.out, "wb") : stdout;
  if (file == nullptr) {
    std::perror(options.out);
    return 1;
  }
  {
    Writer w(file, options.crlf);
    if (options.polyline > 0) {
      polyline(w, options);
    } else {
      drawing(w, options);
    }
  }
  bool ok = std::ferror(file) == 0;
  if (file != stdout) ok = std::fclose(file) == 0 && ok;
  return ok ? 0 : 1;
}
