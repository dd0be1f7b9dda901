// The 43 Code 39 characters and their check values 0 to 42, both ways.
#ifndef TARN_VALUE_TABLES_H
#define TARN_VALUE_TABLES_H

#include <map>

extern std::map<char, int> _code_to_value;
extern std::map<int, char> _value_to_code;

#endif
