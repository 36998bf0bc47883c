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

using lines2svg::FileHandle;
using lines2svg::HeldHandle;
using lines2svg::InputFile;
using lines2svg::kIoBufferSize;
using lines2svg::NativeName;
using lines2svg::Outcome;
using lines2svg::OutputFile;

// Reads the whole of `file` in buffer-sized pieces; the number of bytes, or -1 on failure.
long long readAll(InputFile& file, char* buffer) {
  long long total = 0;
  for (std::streamsize got; (got = file.sgetn(buffer, kIoBufferSize)) > 0;) total += got;
  return total;
}

// Reads back a written file whole; -1 on failure.
long long readBack(OutputFile& written, char* buffer) {
  InputFile file;
  if (written.readBack(&file) != Outcome::kDone) return -1;
  const long long total = readAll(file, buffer);
  return file.finish() == Outcome::kDone ? total : -1;
}

// Claims `file` as `name` in `folder` and writes `size` bytes into it in buffer-sized pieces;
// false on failure.
bool writeBytes(FileHandle folder, const NativeName& name, std::uint64_t size, const char* buffer,
                OutputFile* file) {
  if (file->claim(folder, name) != Outcome::kDone) return false;
  for (std::uint64_t left = size; left > 0;) {
    const auto piece = static_cast<std::streamsize>(left < kIoBufferSize ? left : kIoBufferSize);
    if (file->sputn(buffer, piece) != piece) return false;
    left -= static_cast<std::uint64_t>(piece);
  }
  return file->endWriting() == Outcome::kDone;
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
  HeldHandle folder;
  HeldHandle drawingHandle;
  NativeName opened;
  if (lines2svg::openDrawing(drawing, &folder.handle, &drawingHandle.handle, &opened) !=
      Outcome::kDone) {
    std::fprintf(stderr, "io_floor: cannot open %s\n", drawing.c_str());
    return 1;
  }
  const std::string vertices = "io_floor.dat";
  const std::string shapes = "io_floor.trd";
  const std::string svg = "io_floor.svg";

  // Lines of a vertex file's length, so that text-mode writing stores what the program stores.
  std::unique_ptr<char[]> buffer(new char[kIoBufferSize]);
  for (std::size_t i = 0; i < kIoBufferSize; ++i) buffer[i] = i % 24 == 23 ? '\n' : '7';
  InputFile drawingFile;
  drawingFile.start(drawingHandle.handle, Outcome::kCannotReadInput);
  OutputFile vertexFile;
  OutputFile shapeFile;
  OutputFile svgFile;
  bool ok = readAll(drawingFile, buffer.get()) >= 0 &&
            writeBytes(folder.handle, vertices, vertexBytes, buffer.get(), &vertexFile);
  for (int pass = 0; pass < 3 && ok; ++pass) ok = readBack(vertexFile, buffer.get()) >= 0;
  ok = ok && writeBytes(folder.handle, shapes, shapeBytes, buffer.get(), &shapeFile) &&
       readBack(shapeFile, buffer.get()) >= 0;
  ok = ok && writeBytes(folder.handle, svg, svgBytes, buffer.get(), &svgFile);
  for (OutputFile* file : {&vertexFile, &shapeFile, &svgFile})
    ok = ok && file->close() == Outcome::kDone;
  const std::string stem = drawing.substr(0, drawing.find_last_of('/') + 1);
  for (const std::string& name : {vertices, shapes, svg}) std::remove((stem + name).c_str());
  if (!ok) std::fprintf(stderr, "io_floor: a file could not be read or written\n");
  return ok ? 0 : 1;
}
