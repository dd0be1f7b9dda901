// The Code 39 symbology: the nine elements (bar, space, bar, ... bar) of each
// of its 44 characters, N narrow and W wide, and the numbers that follow from
// them. Row order is the order of the grammar's character rules.
#ifndef TARN_CODE39_PATTERNS_H
#define TARN_CODE39_PATTERNS_H

#include <array>

struct code39_pattern {
  char character;
  char elements[10];  // nine of 'N' and 'W', then the terminating NUL
};

inline constexpr std::array<code39_pattern, 44> code39_patterns = {{
    {'0', "NNNWWNWNN"}, {'1', "WNNWNNNNW"}, {'2', "NNWWNNNNW"},
    {'3', "WNWWNNNNN"}, {'4', "NNNWWNNNW"}, {'5', "WNNWWNNNN"},
    {'6', "NNWWWNNNN"}, {'7', "NNNWNNWNW"}, {'8', "WNNWNNWNN"},
    {'9', "NNWWNNWNN"}, {'A', "WNNNNWNNW"}, {'B', "NNWNNWNNW"},
    {'C', "WNWNNWNNN"}, {'D', "NNNNWWNNW"}, {'E', "WNNNWWNNN"},
    {'F', "NNWNWWNNN"}, {'G', "NNNNNWWNW"}, {'H', "WNNNNWWNN"},
    {'I', "NNWNNWWNN"}, {'J', "NNNNWWWNN"}, {'K', "WNNNNNNWW"},
    {'L', "NNWNNNNWW"}, {'M', "WNWNNNNWN"}, {'N', "NNNNWNNWW"},
    {'O', "WNNNWNNWN"}, {'P', "NNWNWNNWN"}, {'Q', "NNNNNNWWW"},
    {'R', "WNNNNNWWN"}, {'S', "NNWNNNWWN"}, {'T', "NNNNWNWWN"},
    {'U', "WWNNNNNNW"}, {'V', "NWWNNNNNW"}, {'W', "WWWNNNNNN"},
    {'X', "NWNNWNNNW"}, {'Y', "WWNNWNNNN"}, {'Z', "NWWNWNNNN"},
    {'-', "NWNNNNWNW"}, {'.', "WWNNNNWNN"}, {' ', "NWWNNNWNN"},
    {'*', "NWNNWNWNN"}, {'$', "NWNWNWNNN"}, {'/', "NWNWNNNWN"},
    {'+', "NWNNNWNWN"}, {'%', "NNNWNWNWN"},
}};

// The character that starts and stops every symbol.
inline constexpr char code39_start_stop = '*';

// Five bars and four spaces.
inline constexpr int code39_elements_per_character =
    sizeof code39_pattern::elements - 1;

// A symbol's edge list gives each character its elements' edges and the gap
// after it, the last character's trailing edge standing in for the gap.
inline constexpr int code39_edges_per_character =
    code39_elements_per_character + 1;

// A narrow element is one module wide, a wide one two.
constexpr int modules_of(const code39_pattern& pattern) {
  int modules = 0;
  for (int i = 0; i < code39_elements_per_character; ++i) {
    modules += pattern.elements[i] == 'W' ? 2 : 1;
  }
  return modules;
}

inline constexpr int code39_modules_per_character =
    modules_of(code39_patterns[0]);

static_assert([] {
  for (const code39_pattern& pattern : code39_patterns) {
    if (modules_of(pattern) != code39_modules_per_character) return false;
  }
  return true;
}());

#endif
