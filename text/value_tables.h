// The 43 Code 39 characters and their check values 0 to 42, both ways.
#ifndef TARN_VALUE_TABLES_H
#define TARN_VALUE_TABLES_H

#include <array>
#include <map>

extern std::map<char, int> _code_to_value;
extern std::map<int, char> _value_to_code;

// Code 39 has 43 characters, valued 0 to 42; check sums are taken modulo this.
inline constexpr int code39_character_count = 43;

// The Code 39 characters in value order: the value of code39_characters[v] is
// v.
inline constexpr char code39_characters[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
static_assert(sizeof code39_characters - 1 == code39_character_count);

inline constexpr int not_a_code39_character = -1;

// Each character's value, indexed by the character as an unsigned byte:
// what a fill leaves in _code_to_value for the 43, not_a_code39_character for
// every other character.
inline constexpr std::array<int, 256> code39_value_of = [] {
  std::array<int, 256> values{};
  for (int& value : values) value = not_a_code39_character;
  for (int value = 0; value < code39_character_count; ++value) {
    values[static_cast<unsigned char>(code39_characters[value])] = value;
  }
  return values;
}();

// Assigns the 43 rows to both tables, inserting the missing ones and restoring
// altered values. Entries for other keys are left as they are.
void fill_value_tables();

#endif
