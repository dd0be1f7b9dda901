// The Code 39 patterns as nine-bit numbers, bit i set where element i is wide,
// the character of each such number, built at compile time, and the number
// that nine module counts spell: one lookup reads a character whose nine
// elements are all narrow or wide.
#ifndef TARN_PATTERN_TABLE_H
#define TARN_PATTERN_TABLE_H

#include <array>
#include <cstdint>

#include "grammar/code39_patterns.h"

inline constexpr int kPatternValues = 1 << code39_elements_per_character;
inline constexpr char kNoCharacter = '\0';
inline constexpr int kNoPattern = -1;

constexpr int pattern_bits(const code39_pattern& pattern) {
  int bits = 0;
  for (int i = 0; i < code39_elements_per_character; ++i) {
    if (pattern.elements[i] == 'W') bits |= 1 << i;
  }
  return bits;
}

// The character whose pattern is the index, kNoCharacter where none is.
inline constexpr std::array<char, kPatternValues> character_of_pattern = [] {
  std::array<char, kPatternValues> characters{};
  for (const code39_pattern& pattern : code39_patterns) {
    characters[pattern_bits(pattern)] = pattern.character;
  }
  return characters;
}();

// Eight counts as one word, count i in byte i; compilers make this one load.
inline std::uint64_t eight_counts(const char* counts) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(counts);
  return std::uint64_t{bytes[0]} | std::uint64_t{bytes[1]} << 8 |
         std::uint64_t{bytes[2]} << 16 | std::uint64_t{bytes[3]} << 24 |
         std::uint64_t{bytes[4]} << 32 | std::uint64_t{bytes[5]} << 40 |
         std::uint64_t{bytes[6]} << 48 | std::uint64_t{bytes[7]} << 56;
}

// The pattern bits of nine counts, or kNoPattern when one is not narrow or
// wide (0 to 6). The first eight are classed together, a byte each: a parse
// spends most of its time here.
inline int pattern_of_counts(const char* counts) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080;
  constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7F;
  const std::uint64_t word = eight_counts(counts);
  const std::uint64_t low = word & kLowBits;  // no carry crosses a byte
  // The high bit of each byte that holds a count read unsigned as above 6,
  // and of each that holds one above 1.
  const std::uint64_t above_six =
      (word | (low + 0x7979797979797979)) & kHighBits;
  const std::uint64_t above_one = (low + 0x7E7E7E7E7E7E7E7E) & kHighBits;
  const auto ninth = static_cast<unsigned char>(counts[8]);
  if (above_six != 0 || ninth > 6) return kNoPattern;
  // Moves bit 8i to bit 56 + i; the other products are distinct powers of
  // two, so nothing carries into the top byte.
  const auto first_eight =
      static_cast<int>(((above_one >> 7) * 0x0102040810204080) >> 56);
  return first_eight | (ninth > 1) << 8;
}

#endif
