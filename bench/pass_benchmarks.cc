// Microbenchmarks of the pieces of a conversion, so that a change in speed can be traced to the
// scanner, number reading, number formatting or one pass. All input comes from memory.
//
//   build/pass_benchmarks [--benchmark_filter=REGEX]

#include <benchmark/benchmark.h>

#include <istream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "drawing_generator.h"
#include "passes/block_reader.h"
#include "passes/passes.h"
#include "svg/svg_stream.h"
#include "svg/svg_writer.h"
#include "text/token_reader.h"

namespace {

using lines2svg::Bounds;

// Reads from a string without copying it.
class ViewBuffer : public std::streambuf {
 public:
  explicit ViewBuffer(const std::string& text) {
    char* begin = const_cast<char*>(text.data());
    setg(begin, begin, begin + text.size());
  }
};

// Swallows everything written to it.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The files of one conversion of a generated 16 MB drawing, made once.
struct Files {
  std::string drawing;
  std::string vertices;
  std::string shapes;
  Bounds bounds;

  Files() {
    lines2svg_bench::DrawingOptions options;
    options.bytes = 16000000;
    options.seed = 1;
    drawing = lines2svg_bench::drawingText(options);
    std::istringstream drawingIn(drawing);
    std::ostringstream vertexOut;
    lines2svg::extractLineObjects(drawingIn, vertexOut);
    vertices = vertexOut.str();
    std::istringstream vertexIn(vertices);
    std::ostringstream shapeOut;
    lines2svg::classifyBlocks(vertexIn, shapeOut);
    shapes = shapeOut.str();
    std::istringstream boundsIn(vertices);
    bounds = lines2svg::computeBounds(boundsIn);
  }
};

const Files& files() {
  static const Files f;
  return f;
}

void BM_Tokenise(benchmark::State& state) {
  const std::string& text = files().drawing;
  for (auto _ : state) {
    ViewBuffer buffer(text);
    std::istream in(&buffer);
    lines2svg::TokenReader reader(in);
    std::string_view token;
    std::size_t count = 0;
    while (reader.next(&token)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Tokenise)->Unit(benchmark::kMillisecond);

// Reading every vertex of the vertex file as the bounds pass does: the common form in hundredths,
// a batch at a time, and everything else through the general path.
void BM_ReadCoordinates(benchmark::State& state) {
  std::int64_t vertices = 0;
  for (auto _ : state) {
    std::istringstream in(files().vertices);
    lines2svg::BlockReader blocks(in);
    double sum = 0;
    while (blocks.nextBlock()) {
      for (;;) {
        blocks.readVerticesInHundredths([&](std::int64_t a, std::int64_t b) {
          sum += static_cast<double>(a + b);
          ++vertices;
        });
        double first = 0;
        double second = 0;
        const lines2svg::VertexRead read = blocks.readVertex(&first, &second);
        if (read == lines2svg::VertexRead::kEnd) break;
        if (read == lines2svg::VertexRead::kRead) sum += first + second;
        ++vertices;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(vertices);
}
BENCHMARK(BM_ReadCoordinates)->Unit(benchmark::kMillisecond);

void BM_FormatFixed(benchmark::State& state) {
  std::vector<double> values;
  std::mt19937_64 random(5);
  for (int i = 0; i < 100000; ++i) {
    values.push_back(
        static_cast<double>(static_cast<std::int64_t>(random() % 2000000) - 20000) / 100 + 0.004);
  }
  const int precision = static_cast<int>(state.range(0));
  for (auto _ : state) {
    char buffer[lines2svg::kFixedBufferSize];
    std::size_t total = 0;
    for (double value : values) total += lines2svg::formatFixed(value, precision, buffer);
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}
BENCHMARK(BM_FormatFixed)->Arg(2)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_ExtractLineObjects(benchmark::State& state) {
  const std::string& text = files().drawing;
  for (auto _ : state) {
    ViewBuffer buffer(text);
    std::istream in(&buffer);
    NullBuffer sink;
    std::ostream out(&sink);
    lines2svg::extractLineObjects(in, out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ExtractLineObjects)->Unit(benchmark::kMillisecond);

void BM_ClassifyBlocks(benchmark::State& state) {
  const std::string& text = files().vertices;
  for (auto _ : state) {
    ViewBuffer buffer(text);
    std::istream in(&buffer);
    NullBuffer sink;
    std::ostream out(&sink);
    lines2svg::classifyBlocks(in, out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ClassifyBlocks)->Unit(benchmark::kMillisecond);

void BM_ComputeBounds(benchmark::State& state) {
  const std::string& text = files().vertices;
  for (auto _ : state) {
    ViewBuffer buffer(text);
    std::istream in(&buffer);
    benchmark::DoNotOptimize(lines2svg::computeBounds(in));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ComputeBounds)->Unit(benchmark::kMillisecond);

void BM_WriteSvg(benchmark::State& state) {
  const Files& f = files();
  for (auto _ : state) {
    ViewBuffer vertexBuffer(f.vertices);
    ViewBuffer shapeBuffer(f.shapes);
    std::istream vertices(&vertexBuffer);
    std::istream shapes(&shapeBuffer);
    NullBuffer sink;
    std::ostream out(&sink);
    lines2svg::writeSvg(vertices, shapes, out, f.bounds, lines2svg::scaleBarLength(f.bounds));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.vertices.size()));
}
BENCHMARK(BM_WriteSvg)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
