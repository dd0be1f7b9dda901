// The 43 Code 39 characters and their check values 0 to 42, both ways.
#ifndef TARN_VALUE_TABLES_H
#define TARN_VALUE_TABLES_H

#include <map>

extern std::map<char, int> _code_to_value;
extern std::map<int, char> _value_to_code;

// Code 39 has 43 characters, valued 0 to 42; check sums are taken modulo this.
inline constexpr int kCode39CharacterCount = 43;

// Assigns the 43 rows to both tables, inserting the missing ones and restoring
// altered values. Entries for other keys are left as they are.
void fill_value_tables();

#endif
