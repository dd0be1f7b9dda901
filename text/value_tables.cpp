#include "text/value_tables.h"

namespace {

// The 43 characters in the key order of _code_to_value. All are ASCII, so
// counting up from 0 gives std::less<char> order whatever char's sign.
constexpr std::array<char, code39_character_count> characters_in_key_order =
    [] {
      std::array<char, code39_character_count> characters{};
      int next = 0;
      for (int c = 0; c < 128; ++c) {
        if (code39_value_of[c] != not_a_code39_character) {
          characters[next++] = static_cast<char>(c);
        }
      }
      return characters;
    }();

// Steps `entry` over the keys below `key`; whether it then stands at `key`
// with `value`.
template <class Map>
bool holds_row(const Map& table, typename Map::const_iterator& entry,
               typename Map::key_type key, typename Map::mapped_type value) {
  while (entry != table.end() && entry->first < key) ++entry;
  return entry != table.end() && entry->first == key && entry->second == value;
}

// Whether both tables hold every row with its value: one pass over each in
// key order, the two side by side, since each step waits on the memory of
// the last.
bool tables_hold_rows() {
  auto code = _code_to_value.cbegin();
  auto value = _value_to_code.cbegin();
  for (int row = 0; row < code39_character_count; ++row) {
    const char character = characters_in_key_order[row];
    const int character_value =
        code39_value_of[static_cast<unsigned char>(character)];
    if (!holds_row(_code_to_value, code, character, character_value) ||
        !holds_row(_value_to_code, value, row, code39_characters[row])) {
      return false;
    }
    ++code;
    ++value;
  }
  return true;
}

}  // namespace

// After the first fill the tables nearly always hold the rows already, and
// reading them takes half the time that assigning them by subscript does.
// Otherwise every row is assigned in the usual order, so that even an
// allocation failure midway leaves the tables as that order does.
void fill_value_tables() {
  if (tables_hold_rows()) return;
  for (int value = 0; value < code39_character_count; ++value) {
    _code_to_value[code39_characters[value]] = value;
  }
  for (int value = 0; value < code39_character_count; ++value) {
    _value_to_code[value] = code39_characters[value];
  }
}
