// Module counts of Code 39 symbols for the grammar tests, from the
// symbology's bar/space table as published: for each character, which of its
// five bars and four spaces are wide.
#ifndef TARN_TESTS_CODE39_REFERENCE_H
#define TARN_TESTS_CODE39_REFERENCE_H

#include <array>
#include <string>
#include <vector>

namespace code39_reference {

struct row {
  char character;
  const char* wide_bars;    // "1" marks a wide bar
  const char* wide_spaces;  // "1" marks a wide space
};

inline constexpr std::array<row, 44> table = {{
    {'0', "00110", "0100"}, {'1', "10001", "0100"}, {'2', "01001", "0100"},
    {'3', "11000", "0100"}, {'4', "00101", "0100"}, {'5', "10100", "0100"},
    {'6', "01100", "0100"}, {'7', "00011", "0100"}, {'8', "10010", "0100"},
    {'9', "01010", "0100"}, {'A', "10001", "0010"}, {'B', "01001", "0010"},
    {'C', "11000", "0010"}, {'D', "00101", "0010"}, {'E', "10100", "0010"},
    {'F', "01100", "0010"}, {'G', "00011", "0010"}, {'H', "10010", "0010"},
    {'I', "01010", "0010"}, {'J', "00110", "0010"}, {'K', "10001", "0001"},
    {'L', "01001", "0001"}, {'M', "11000", "0001"}, {'N', "00101", "0001"},
    {'O', "10100", "0001"}, {'P', "01100", "0001"}, {'Q', "00011", "0001"},
    {'R', "10010", "0001"}, {'S', "01010", "0001"}, {'T', "00110", "0001"},
    {'U', "10001", "1000"}, {'V', "01001", "1000"}, {'W', "11000", "1000"},
    {'X', "00101", "1000"}, {'Y', "10100", "1000"}, {'Z', "01100", "1000"},
    {'-', "00011", "1000"}, {'.', "10010", "1000"}, {' ', "01010", "1000"},
    {'*', "00110", "1000"}, {'$', "00000", "1110"}, {'/', "00000", "1101"},
    {'+', "00000", "1011"}, {'%', "00000", "0111"},
}};

// Module counts used for the elements of a symbol.
struct widths {
  char narrow = 1;
  char wide = 3;
  char gap = 1;
};

// The nine counts of one character: bar, space, bar, ... bar.
inline std::vector<char> character_counts(char character, widths w = {}) {
  for (const row& r : table) {
    if (r.character != character) continue;
    std::vector<char> counts;
    for (int bar = 0; bar < 5; ++bar) {
      counts.push_back(r.wide_bars[bar] == '1' ? w.wide : w.narrow);
      if (bar < 4)
        counts.push_back(r.wide_spaces[bar] == '1' ? w.wide : w.narrow);
    }
    return counts;
  }
  return {};
}

// The counts of the characters in order, one gap between each two.
inline std::vector<char> symbol_counts(const std::string& characters,
                                       widths w = {}) {
  std::vector<char> counts;
  for (char character : characters) {
    if (!counts.empty()) counts.push_back(w.gap);
    const std::vector<char> elements = character_counts(character, w);
    counts.insert(counts.end(), elements.begin(), elements.end());
  }
  return counts;
}

}  // namespace code39_reference

#endif
