// The 43 Code 39 characters and their check values 0 to 42, both ways.
#ifndef TARN_VALUE_TABLES_H
#define TARN_VALUE_TABLES_H

#include <array>
#include <map>

extern std::map<char, int> _code_to_value;
extern std::map<int, char> _value_to_code;

// Code 39 has 43 characters, valued 0 to 42; check sums are taken modulo this.
inline constexpr int kCode39CharacterCount = 43;

// The Code 39 characters in value order: the value of kCode39Characters[v] is
// v.
inline constexpr char kCode39Characters[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
static_assert(sizeof kCode39Characters - 1 == kCode39CharacterCount);

inline constexpr int kNotACode39Character = -1;

// Each character's value, indexed by the character as an unsigned byte:
// what a fill leaves in _code_to_value for the 43, kNotACode39Character for
// every other character.
inline constexpr std::array<int, 256> kCode39ValueOf = [] {
  std::array<int, 256> values{};
  for (int& value : values) value = kNotACode39Character;
  for (int value = 0; value < kCode39CharacterCount; ++value) {
    values[static_cast<unsigned char>(kCode39Characters[value])] = value;
  }
  return values;
}();

// Assigns the 43 rows to both tables, inserting the missing ones and restoring
// altered values. Entries for other keys are left as they are.
void fill_value_tables();

#endif
