#include "read/printed_character.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t counts_per_character = 10;  // nine elements and a gap
constexpr std::size_t elements_per_character = 9;
constexpr char data_characters[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
// Each data character's elements, bar first, as bits from the most
// significant: 1 wide, 0 narrow.
constexpr std::uint16_t patterns[] = {
    0x034, 0x121, 0x061, 0x160, 0x031, 0x130, 0x070, 0x025, 0x124, 0x064, 0x109,
    0x049, 0x148, 0x019, 0x118, 0x058, 0x00d, 0x10c, 0x04c, 0x01c, 0x103, 0x043,
    0x142, 0x013, 0x112, 0x052, 0x007, 0x106, 0x046, 0x016, 0x181, 0x0c1, 0x1c0,
    0x091, 0x190, 0x0d0, 0x085, 0x184, 0x0c4, 0x0a8, 0x0a2, 0x08a, 0x02a,
};
static_assert(sizeof patterns / sizeof patterns[0] ==
              sizeof data_characters - 1);

// The data character whose nine counts start at `first`, or 0 when they
// spell none.
char character_at(const std::vector<char>& counts, std::size_t first) {
  std::uint16_t pattern = 0;
  for (std::size_t i = 0; i < elements_per_character; ++i) {
    const char count = counts[first + i];
    if (count < 1) return 0;
    pattern = static_cast<std::uint16_t>(pattern << 1 | (count > 1 ? 1 : 0));
  }
  for (std::size_t c = 0; c + 1 < sizeof data_characters; ++c)
    if (patterns[c] == pattern) return data_characters[c];
  return 0;
}

// Characters in the counts, start and stop included; the last has no gap.
std::size_t character_count(const std::vector<char>& counts) {
  return (counts.size() + 1) / counts_per_character;
}

}  // namespace

std::string last_data_character(const std::vector<char>& counts) {
  const std::size_t characters = character_count(counts);
  if (characters < 3) return {};
  const char last =
      character_at(counts, (characters - 2) * counts_per_character);
  return last ? std::string(1, last) : std::string();
}

std::string printed_characters(const std::vector<char>& counts) {
  const std::size_t characters = character_count(counts);
  std::string printed;
  for (std::size_t k = 1; k + 1 < characters; ++k) {
    const char c = character_at(counts, k * counts_per_character);
    if (!c) return {};
    printed += c;
  }
  return printed;
}
