// The I/O floor of a conversion: reads and writes as many bytes as lines2svg does, through the
// same file classes and buffer size, and does no work on them. Its time is what any conversion
// must spend on its files; bench/run_benchmark.sh prints lines2svg's time over it.
//
//   io_floor DRAWING VERTEX_BYTES SHAPE_BYTES SVG_BYTES
//
// It reads the drawing; writes a vertex file of VERTEX_BYTES and reads it back three times; writes
// a shape file of SHAPE_BYTES and reads it once; and writes an SVG file of SVG_BYTES. The files
// are written beside the drawing, as io_floor.dat, .trd and .svg, and removed at the end.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>

#include "driver/files.h"
#include "text/buffer_size.h"

namespace {

using lines2svg::InputFile;
using lines2svg::kIoBufferSize;
using lines2svg::NativeName;
using lines2svg::Outcome;
using lines2svg::OutputFile;
using lines2svg::TakenFiles;
using lines2svg::WrittenFile;

// Reads the whole file in buffer-sized pieces; the number of bytes, or -1 on failure.
long long readAll(const NativeName& name, char* buffer) {
  InputFile file;
  if (file.open(name) != Outcome::kDone) return -1;
  long long total = 0;
  for (std::streamsize got; (got = file.sgetn(buffer, kIoBufferSize)) > 0;) total += got;
  return total;
}

// Writes `size` bytes in buffer-sized pieces; false on failure.
bool writeBytes(const NativeName& name, std::uint64_t size, const char* buffer) {
  const TakenFiles none;
  OutputFile file(name, none);
  for (std::uint64_t left = size; left > 0;) {
    const auto piece = static_cast<std::streamsize>(left < kIoBufferSize ? left : kIoBufferSize);
    if (file.sputn(buffer, piece) != piece) return false;
    left -= static_cast<std::uint64_t>(piece);
  }
  WrittenFile written;
  return file.close(&written) == Outcome::kDone;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: io_floor DRAWING VERTEX_BYTES SHAPE_BYTES SVG_BYTES\n");
    return 2;
  }
  const std::string drawing = argv[1];
  const std::uint64_t vertexBytes = std::strtoull(argv[2], nullptr, 10);
  const std::uint64_t shapeBytes = std::strtoull(argv[3], nullptr, 10);
  const std::uint64_t svgBytes = std::strtoull(argv[4], nullptr, 10);
  const std::string stem = drawing.substr(0, drawing.find_last_of('/') + 1) + "io_floor.";
  const std::string vertices = stem + "dat";
  const std::string shapes = stem + "trd";
  const std::string svg = stem + "svg";

  // Lines of a vertex file's length, so that text-mode writing stores what the program stores.
  std::unique_ptr<char[]> buffer(new char[kIoBufferSize]);
  for (std::size_t i = 0; i < kIoBufferSize; ++i) buffer[i] = i % 24 == 23 ? '\n' : '7';
  bool ok = readAll(drawing, buffer.get()) >= 0 && writeBytes(vertices, vertexBytes, buffer.get());
  for (int pass = 0; pass < 3 && ok; ++pass) ok = readAll(vertices, buffer.get()) >= 0;
  ok = ok && writeBytes(shapes, shapeBytes, buffer.get()) && readAll(shapes, buffer.get()) >= 0;
  ok = ok && writeBytes(svg, svgBytes, buffer.get());
  for (const std::string& name : {vertices, shapes, svg}) std::remove(name.c_str());
  if (!ok) std::fprintf(stderr, "io_floor: a file could not be read or written\n");
  return ok ? 0 : 1;
}
