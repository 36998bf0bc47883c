#ifndef LINES2SVG_TEXT_BUFFER_SIZE_H_
#define LINES2SVG_TEXT_BUFFER_SIZE_H_

#include <cstddef>

namespace lines2svg {

// The size of the buffer a file is read through, and of the one a file is written through: large
// enough that the system is asked for a file in a few big pieces, small enough to stay in cache.
inline constexpr std::size_t kIoBufferSize = std::size_t{1} << 18;

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_BUFFER_SIZE_H_
