#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// SSE2 is part of every x86-64 processor: where the compiler targets one, runs of ASCII are
// also looked at sixteen bytes at a time.
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QDVZ_HAS_SSE2 1
#endif

// Word-at-a-time tests for text that is mostly ASCII: eight bytes, or four UTF-16 units, are
// looked at with a few 64-bit operations instead of a comparison each. Each test only says
// whether a word needs a closer look; the caller then goes through that word one by one.
namespace qdvz::detail {

inline constexpr size_t kWordSize = sizeof(uint64_t);

inline uint64_t LoadWord(const void* at) {
  uint64_t word;
  std::memcpy(&word, at, kWordSize);
  return word;
}

// Every byte of the word set to byte.
constexpr uint64_t EveryByte(unsigned char byte) {
  return 0x0101010101010101ull * byte;
}

// Whether some byte of the word is zero (exact: borrows only run past a zero byte).
constexpr bool HasZeroByte(uint64_t word) {
  return ((word - EveryByte(1)) & ~word & EveryByte(0x80)) != 0;
}

// Whether some byte of the word equals byte.
constexpr bool HasByte(uint64_t word, unsigned char byte) {
  return HasZeroByte(word ^ EveryByte(byte));
}

// Whether all eight bytes are ASCII.
constexpr bool AllAsciiBytes(uint64_t word) {
  return (word & EveryByte(0x80)) == 0;
}

// Whether all four UTF-16 units of the word are ASCII.
constexpr bool AllAsciiUnits(uint64_t word) {
  return (word & 0xFF80FF80FF80FF80ull) == 0;
}

// Every unit of the word set to unit.
constexpr uint64_t EveryUnit(char16_t unit) {
  return 0x0001000100010001ull * unit;
}

// Whether some UTF-16 unit of the word equals unit.
constexpr bool HasUnit(uint64_t word, char16_t unit) {
  uint64_t x = word ^ EveryUnit(unit);
  return ((x - EveryUnit(1)) & ~x & EveryUnit(0x8000)) != 0;
}

// Widens the ASCII bytes at the start of in[0, size) to UTF-16 at out, in whole blocks (of
// sixteen bytes, then of eight); returns how many were widened. The caller goes on from there
// byte by byte: the next block holds a byte above ASCII, or is cut off by the end.
inline size_t WidenAsciiBlocks(const char* in, size_t size, char16_t* out) {
  size_t i = 0;
#ifdef QDVZ_HAS_SSE2
  const __m128i zero = _mm_setzero_si128();
  while (i + 16 <= size) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    if (_mm_movemask_epi8(block) != 0) break;  // some byte has its top bit set
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(block, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(block, zero));
    i += 16;
  }
#endif
  while (i + kWordSize <= size && AllAsciiBytes(LoadWord(in + i))) {
    for (size_t k = 0; k < kWordSize; ++k) out[i + k] = static_cast<unsigned char>(in[i + k]);
    i += kWordSize;
  }
  return i;
}

// Narrows the ASCII units at the start of in[0, size) to bytes at out, in whole blocks (of
// sixteen units, then of four); returns how many were narrowed.
inline size_t NarrowAsciiBlocks(const char16_t* in, size_t size, char* out) {
  size_t i = 0;
#ifdef QDVZ_HAS_SSE2
  const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i zero = _mm_setzero_si128();
  while (i + 16 <= size) {
    __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
    __m128i beyond = _mm_and_si128(_mm_or_si128(low, high), notAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(beyond, zero)) != 0xFFFF) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    i += 16;
  }
#endif
  constexpr size_t kUnitsPerWord = kWordSize / sizeof(char16_t);
  while (i + kUnitsPerWord <= size && AllAsciiUnits(LoadWord(in + i))) {
    for (size_t k = 0; k < kUnitsPerWord; ++k) out[i + k] = static_cast<char>(in[i + k]);
    i += kUnitsPerWord;
  }
  return i;
}

}  // namespace qdvz::detail
