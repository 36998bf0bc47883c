#ifndef LINES2SVG_TEXT_BITS_H_
#define LINES2SVG_TEXT_BITS_H_

#include <cstddef>
#include <cstdint>

// The scanner and the number readers work on words of eight bytes, the first byte in the lowest
// bits, and find bits with the compiler's own instructions.
#if !defined(__GNUC__)
#error "lines2svg builds with GCC or Clang (including MinGW-w64), which provide __builtin_ctzll"
#endif
#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "lines2svg reads bytes in words and needs a little-endian machine"
#endif

namespace lines2svg {

// The index of the lowest set bit of `bits`, which must not be 0.
inline std::size_t lowestSetBit(std::uint64_t bits) {
  return static_cast<std::size_t>(__builtin_ctzll(bits));
}

// The index of the highest set bit of `bits`, which must not be 0.
inline std::size_t highestSetBit(std::uint64_t bits) {
  return 63 - static_cast<std::size_t>(__builtin_clzll(bits));
}

// The number of set bits in `bits`. Without the POPCNT instruction the compiler would call a
// library function for it; the same sum of bit fields is written out here instead.
inline std::size_t setBitCount(std::uint64_t bits) {
#if defined(__POPCNT__)
  return static_cast<std::size_t>(__builtin_popcountll(bits));
#else
  bits -= (bits >> 1) & 0x5555555555555555;
  bits = (bits & 0x3333333333333333) + ((bits >> 2) & 0x3333333333333333);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0F;
  return static_cast<std::size_t>((bits * 0x0101010101010101) >> 56);
#endif
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_BITS_H_
