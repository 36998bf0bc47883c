// Second pass: one shape line per vertex-file block.
#include <cstdint>
#include <string_view>

#include "passes/block_reader.h"
#include "passes/passes.h"
#include "text/output_buffer.h"

namespace lines2svg {

void classifyBlocks(std::istream& vertices, std::ostream& shapes) {
  BlockReader blocks(vertices);
  OutputBuffer out(shapes);
  while (blocks.nextBlock()) {
    const auto count = static_cast<std::int64_t>(blocks.countRestOfBlock());
    if (count == 2) {
      out.write("P\n");
    } else if (count == 4) {
      out.write("L\n");
    } else if (count > 4) {
      out.write("M ");
      out.writeInteger(count / 2);
      out.put('\n');
    }
  }
  out.flush();
}

}  // namespace lines2svg
