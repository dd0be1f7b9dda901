// The Code 39 symbology: the nine elements (bar, space, bar, ... bar) of each
// of its 44 characters, N narrow and W wide. Row order is the order of the
// grammar's character rules.
#ifndef TARN_CODE39_PATTERNS_H
#define TARN_CODE39_PATTERNS_H

#include <array>

struct code39_pattern {
  char character;
  char elements[10];  // nine of 'N' and 'W', then the terminating NUL
};

inline constexpr int code39_elements_per_character = 9;

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

#endif
