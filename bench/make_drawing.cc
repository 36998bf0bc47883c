// Writes a deterministic drawing file for tests and benchmarks (see drawing_generator.h).
//
//   make_drawing [--sparse] --bytes N [--seed S] [--eol crlf|lf] [--out FILE]
//   make_drawing --polyline VERTICES [--seed S] [--eol crlf|lf] [--out FILE]

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "drawing_generator.h"

namespace {

bool parse(int argc, char** argv, lines2svg_bench::DrawingOptions* options, const char** out) {
  int i = 1;
  if (i < argc && std::strcmp(argv[i], "--sparse") == 0) {
    options->sparse = true;
    ++i;
  }
  for (; i + 1 < argc; i += 2) {
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
      *out = value;
    } else {
      return false;
    }
  }
  return i == argc && (options->bytes > 0) != (options->polyline > 0);
}

}  // namespace

int main(int argc, char** argv) {
  lines2svg_bench::DrawingOptions options;
  const char* out = nullptr;
  if (!parse(argc, argv, &options, &out)) {
    std::fprintf(
        stderr,
        "usage: make_drawing [--sparse] --bytes N [--seed S] [--eol crlf|lf] [--out FILE]\n"
        "       make_drawing --polyline VERTICES [--seed S] [--eol crlf|lf] [--out FILE]\n");
    return 2;
  }
  std::FILE* file = out != nullptr ? std::fopen(out, "wb") : stdout;
  if (file == nullptr) {
    std::perror(out);
    return 1;
  }
  lines2svg_bench::generateDrawing(options, [file](std::string_view piece) {
    std::fwrite(piece.data(), 1, piece.size(), file);
  });
  bool ok = std::ferror(file) == 0;
  if (file != stdout) ok = std::fclose(file) == 0 && ok;
  return ok ? 0 : 1;
}
