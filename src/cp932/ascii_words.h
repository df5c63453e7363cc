#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

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

}  // namespace qdvz::detail
