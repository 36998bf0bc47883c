#ifndef LINES2SVG_TEXT_BITS_H_
#define LINES2SVG_TEXT_BITS_H_

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/token_space.h"

// The scanner and the number readers work on words of eight bytes, the first byte in the lowest
// bits, and find bits with the compiler's own instructions. This is the one header that asks the
// compiler what the processor offers: SSE2, which every x86-64 processor has, classifies 64 bytes
// at a time below, and any other processor gets the same bits a byte at a time; AVX2 and POPCNT,
// which x86-64 does not promise, are asked of the processor itself, once, before they are used.
#if !defined(__GNUC__)
#error "lines2svg builds with GCC or Clang (including MinGW-w64), which provide __builtin_ctzll"
#endif
// The exact number readers rest on double arithmetic rounding once, to double. An x87 build that
// keeps intermediates in 80 bits would round twice.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "lines2svg needs double arithmetic evaluated in double (FLT_EVAL_METHOD 0): build with SSE2"
#endif
#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "lines2svg reads bytes in words and needs a little-endian machine"
#endif

#if defined(__SSE2__)
#include <immintrin.h>
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

namespace detail {

// tokenStartsBetween's loop; with `kPopcount` it counts each word's bits with the POPCNT
// instruction, and otherwise with a sum of bit fields, where the compiler would call a library
// function.
template <bool kPopcount>
[[gnu::always_inline]] inline std::size_t tokenStartsBetween(const std::uint64_t* separators,
                                                             std::size_t from, std::size_t to) {
  std::size_t starts = 0;
  std::uint64_t before = 0;
  for (std::size_t word = from / 64; word * 64 < to; ++word) {
    const std::uint64_t bits = separators[word];
    std::uint64_t rises = ~bits & (bits << 1 | before);
    before = bits >> 63;
    if (word == from / 64) rises &= ~std::uint64_t{0} << (from % 64);
    if (to - word * 64 < 64) rises &= (std::uint64_t{1} << (to % 64)) - 1;
    if constexpr (kPopcount) {
      starts += static_cast<std::size_t>(__builtin_popcountll(rises));
    } else {
      rises -= (rises >> 1) & 0x5555555555555555;
      rises = (rises & 0x3333333333333333) + ((rises >> 2) & 0x3333333333333333);
      rises = (rises + (rises >> 4)) & 0x0F0F0F0F0F0F0F0F;
      starts += static_cast<std::size_t>((rises * 0x0101010101010101) >> 56);
    }
  }
  return starts;
}

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("popcnt")]] inline std::size_t tokenStartsBetweenWithPopcount(
    const std::uint64_t* separators, std::size_t from, std::size_t to) {
  return tokenStartsBetween<true>(separators, from, to);
}
#endif

}  // namespace detail

// The number of tokens that start after `from`, a separator's position, and before `to`, in a
// bitmap whose bit i (bit i % 64 of word i / 64) is set when byte i is a separator. On an x86
// processor with the POPCNT instruction, which the x86-64 baseline does not promise, each word
// is counted with it; the processor is asked once, __builtin_cpu_init first, whatever order the
// runtime ran its constructors in.
inline std::size_t tokenStartsBetween(const std::uint64_t* separators, std::size_t from,
                                      std::size_t to) {
#if defined(__x86_64__) || defined(__i386__)
  static const bool hasPopcount = (__builtin_cpu_init(), __builtin_cpu_supports("popcnt") != 0);
  if (hasPopcount) return detail::tokenStartsBetweenWithPopcount(separators, from, to);
#endif
  return detail::tokenStartsBetween<false>(separators, from, to);
}

// The separator bits of `count` bytes (at most 64): bit i is set when bytes[i] is one of the six
// separators. The bits past them are set too.
inline std::uint64_t separatorBits(const char* bytes, std::size_t count) {
  std::uint64_t bits = count < 64 ? ~std::uint64_t{0} << count : 0;
  for (std::size_t i = 0; i < count; ++i) {
    bits |= static_cast<std::uint64_t>(isTokenSpace(bytes[i])) << i;
  }
  return bits;
}

#if defined(__SSE2__)
// separatorBits for 64 bytes, sixteen at a time. Tab to carriage return are the bytes x with
// x - 137 below -123 as a signed byte: 137 moves '\t' to -128, the least signed byte, so that one
// signed comparison finds the five.
inline std::uint64_t separatorBits64(const char* bytes) {
  const __m128i space = _mm_set1_epi8(' ');
  const __m128i shift = _mm_set1_epi8(static_cast<char>(137));
  const __m128i pastCarriageReturn = _mm_set1_epi8(-123);
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
    const __m128i control = _mm_cmplt_epi8(_mm_sub_epi8(x, shift), pastCarriageReturn);
    const __m128i separator = _mm_or_si128(control, _mm_cmpeq_epi8(x, space));
    bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(separator)))
            << (16 * i);
  }
  return bits;
}

// Copies 32 bytes from `from` to `to` and returns their line-feed bits: bit i is set when
// from[i] is a line feed. The bytes are loaded once, for the copy and the comparison alike.
inline std::uint32_t copy32FindingLineFeeds(const char* from, char* to) {
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), low);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16), high);
  const auto lowBits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, lineFeed)));
  const auto highBits =
      static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, lineFeed)));
  return lowBits | highBits << 16;
}

#if defined(__x86_64__) || defined(__i386__)
// separatorBits64 for a processor with AVX2, 32 bytes at a time, by the same comparisons.
[[gnu::target("avx2")]] inline std::uint64_t separatorBits64WithAvx2(const char* bytes) {
  const __m256i space = _mm256_set1_epi8(' ');
  const __m256i shift = _mm256_set1_epi8(static_cast<char>(137));
  const __m256i pastCarriageReturn = _mm256_set1_epi8(-123);
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 2; ++i) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 32 * i));
    const __m256i control = _mm256_cmpgt_epi8(pastCarriageReturn, _mm256_sub_epi8(x, shift));
    const __m256i separator = _mm256_or_si256(control, _mm256_cmpeq_epi8(x, space));
    bits |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(separator)))
            << (32 * i);
  }
  return bits;
}

// separatorWords' loop, compiled for AVX2.
[[gnu::target("avx2")]] inline void separatorWordsWithAvx2(const char* bytes, std::size_t words,
                                                           std::uint64_t* separators) {
  for (std::size_t w = 0; w < words; ++w) separators[w] = separatorBits64WithAvx2(bytes + 64 * w);
}
#endif
#else
inline std::uint64_t separatorBits64(const char* bytes) { return separatorBits(bytes, 64); }

inline std::uint32_t copy32FindingLineFeeds(const char* from, char* to) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 32; ++i) bits |= static_cast<std::uint32_t>(from[i] == '\n') << i;
  std::memcpy(to, from, 32);
  return bits;
}
#endif

// The separator bits of `words` whole words of 64 bytes, from `bytes` on, into `separators`: bit
// i of word w is set when bytes[64 w + i] is a separator. On a processor with AVX2, which the
// x86-64 baseline does not promise, 32 bytes are compared at a time; the processor is asked once.
inline void separatorWords(const char* bytes, std::size_t words, std::uint64_t* separators) {
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
  static const bool hasAvx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2") != 0);
  if (hasAvx2) {
    separatorWordsWithAvx2(bytes, words, separators);
    return;
  }
#endif
  for (std::size_t w = 0; w < words; ++w) separators[w] = separatorBits64(bytes + 64 * w);
}

}  // namespace lines2svg

#endif  // LINES2SVG_TEXT_BITS_H_
