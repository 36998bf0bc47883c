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

using lines2svg::FileFacts;
using lines2svg::Folder;
using lines2svg::HeldFile;
using lines2svg::kIoBufferSize;
using lines2svg::NativeName;
using lines2svg::Outcome;
using lines2svg::Output;
using lines2svg::PassFile;

// Reads the whole of `file` in buffer-sized pieces; the number of bytes, or -1 on failure.
long long readAll(PassFile& file, char* buffer) {
  long long total = 0;
  for (std::streamsize got; (got = file.sgetn(buffer, kIoBufferSize)) > 0;) total += got;
  return file.finish() == Outcome::kDone ? total : -1;
}

// Reads back a written file whole; -1 on failure.
long long readBack(Output& written, char* buffer) {
  PassFile file;
  return readAll(file.readBack(written), buffer);
}

// Claims `file` as `name` in `folder` and writes `size` bytes into it in buffer-sized pieces;
// false on failure.
bool writeBytes(const Folder& folder, const NativeName& name, std::uint64_t size,
                const char* buffer, Output* file) {
  FileFacts facts;
  if (folder.claim(name, file, &facts) != Outcome::kDone) return false;
  PassFile writing;
  writing.writeTo(*file);
  for (std::uint64_t left = size; left > 0;) {
    const auto piece = static_cast<std::streamsize>(left < kIoBufferSize ? left : kIoBufferSize);
    if (writing.sputn(buffer, piece) != piece) return false;
    left -= static_cast<std::uint64_t>(piece);
  }
  return writing.finish() == Outcome::kDone;
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
  // The drawing is opened as the program opens it, and the files are written in its folder.
  Folder folder;
  HeldFile drawingHandle;
  NativeName opened;
  FileFacts facts;
  if (folder.openDrawing(drawing, &drawingHandle, &opened, &facts) != Outcome::kDone) {
    std::fprintf(stderr, "io_floor: cannot open %s\n", drawing.c_str());
    return 1;
  }
  const std::string vertices = "io_floor.dat";
  const std::string shapes = "io_floor.trd";
  const std::string svg = "io_floor.svg";

  // Lines of a vertex file's length, so that text-mode writing stores what the program stores.
  std::unique_ptr<char[]> buffer(new char[kIoBufferSize]);
  for (std::size_t i = 0; i < kIoBufferSize; ++i) buffer[i] = i % 24 == 23 ? '\n' : '7';
  PassFile drawingFile;
  drawingFile.readFrom(drawingHandle);
  Output vertexFile;
  Output shapeFile;
  Output svgFile;
  bool ok = readAll(drawingFile, buffer.get()) >= 0 &&
            writeBytes(folder, vertices, vertexBytes, buffer.get(), &vertexFile);
  for (int pass = 0; pass < 3 && ok; ++pass) ok = readBack(vertexFile, buffer.get()) >= 0;
  ok = ok && writeBytes(folder, shapes, shapeBytes, buffer.get(), &shapeFile) &&
       readBack(shapeFile, buffer.get()) >= 0;
  ok = ok && writeBytes(folder, svg, svgBytes, buffer.get(), &svgFile);
  for (Output* file : {&vertexFile, &shapeFile, &svgFile}) {
    ok = ok && file->closeNamed() == Outcome::kDone;
  }
  const std::string stem = drawing.substr(0, drawing.find_last_of('/') + 1);
  for (const std::string& name : {vertices, shapes, svg}) std::remove((stem + name).c_str());
  if (!ok) std::fprintf(stderr, "io_floor: a file could not be read or written\n");
  return ok ? 0 : 1;
}
