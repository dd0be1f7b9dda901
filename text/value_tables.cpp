#include "text/value_tables.h"

#include <algorithm>
#include <cstddef>

namespace {

template <class Key, class Value>
struct row {
  Key key;
  Value value;
};

using code_row = row<char, int>;
using value_row = row<int, char>;

// The rows of _code_to_value in its key order. All 43 characters are ASCII,
// so counting up from 0 gives std::less<char> order whatever char's sign.
constexpr std::array<code_row, kCode39CharacterCount> kCodeRows = [] {
  std::array<code_row, kCode39CharacterCount> rows{};
  std::size_t next = 0;
  for (int c = 0; c < 128; ++c) {
    if (kCode39ValueOf[c] != kNotACode39Character) {
      rows[next++] = {static_cast<char>(c), kCode39ValueOf[c]};
    }
  }
  return rows;
}();

// The rows of _value_to_code, whose key order is value order.
constexpr std::array<value_row, kCode39CharacterCount> kValueRows = [] {
  std::array<value_row, kCode39CharacterCount> rows{};
  for (int value = 0; value < kCode39CharacterCount; ++value) {
    rows[value] = {value, kCode39Characters[value]};
  }
  return rows;
}();

// Whether `table` holds every row, with the row's value. Both are in key
// order, so one pass over the table suffices, stepping over other keys.
template <class Map, class Row, std::size_t N>
bool holds_rows(const Map& table, const std::array<Row, N>& rows) {
  if (table.size() == N) {  // the common case: no other keys
    return std::equal(rows.begin(), rows.end(), table.begin(),
                      [](const Row& row, const auto& entry) {
                        return entry.first == row.key &&
                               entry.second == row.value;
                      });
  }
  auto row = rows.begin();
  for (auto entry = table.begin(); entry != table.end() && row != rows.end();
       ++entry) {
    if (entry->first == row->key) {
      if (entry->second != row->value) return false;
      ++row;
    } else if (row->key < entry->first) {
      return false;  // the row's key is missing
    }
  }
  return row == rows.end();
}

void assign_rows() {
  for (int value = 0; value < kCode39CharacterCount; ++value) {
    _code_to_value[kCode39Characters[value]] = value;
  }
  for (int value = 0; value < kCode39CharacterCount; ++value) {
    _value_to_code[value] = kCode39Characters[value];
  }
}

}  // namespace

// After the first fill the tables nearly always hold the rows already, and
// reading them takes half the time that assigning them by subscript does.
// Otherwise every row is assigned in the usual order, so that even an
// allocation failure midway leaves the tables as that order does.
void fill_value_tables() {
  if (holds_rows(_code_to_value, kCodeRows) &&
      holds_rows(_value_to_code, kValueRows)) {
    return;
  }
  assign_rows();
}
