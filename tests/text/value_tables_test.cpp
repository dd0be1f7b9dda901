// The process-wide character value tables: when they are filled, what they
// hold, and what lookups and later fills do to them.
#include "text/value_tables.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>

#include "text/checksum.h"
#include "text/full_ascii.h"

namespace {

// Taken while the test program starts, after the library's globals are
// constructed and before any test translates a text.
const bool tables_empty_at_start =
    _code_to_value.empty() && _value_to_code.empty();

// The Code 39 check values: digits, capital letters, then seven symbols.
std::map<char, int> expected_code_to_value() {
  std::map<char, int> values;
  for (int digit = 0; digit < 10; ++digit) values['0' + digit] = digit;
  for (int letter = 0; letter < 26; ++letter)
    values['A' + letter] = 10 + letter;
  values.insert({{'-', 36},
                 {'.', 37},
                 {' ', 38},
                 {'$', 39},
                 {'/', 40},
                 {'+', 41},
                 {'%', 42}});
  return values;
}

std::map<int, char> expected_value_to_code() {
  std::map<int, char> codes;
  for (const auto& [character, value] : expected_code_to_value()) {
    codes[value] = character;
  }
  return codes;
}

void clear_tables() {
  _code_to_value.clear();
  _value_to_code.clear();
}

TEST(ValueTables, AreEmptyUntilTheFirstTranslation) {
  EXPECT_TRUE(tables_empty_at_start);
}

TEST(ValueTables, ATranslationFillsExactlyTheFortyThreeRows) {
  for (const char* text : {"", "CODE39W"}) {
    clear_tables();
    decode(text);
    EXPECT_EQ(_code_to_value, expected_code_to_value()) << text;
    EXPECT_EQ(_value_to_code, expected_value_to_code()) << text;
  }
}

TEST(ValueTables, EveryTranslationRestoresAlteredRows) {
  clear_tables();
  decode("");
  _code_to_value.erase('7');
  _code_to_value['A'] = 99;
  _code_to_value.erase(_code_to_value.begin());
  _value_to_code.erase(40);
  _value_to_code[5] = 'x';
  _value_to_code.erase(std::prev(_value_to_code.end()));
  // CODE39 sums to W only with the restored values.
  EXPECT_EQ(decode("CODE39W").second, "W");
  EXPECT_EQ(_code_to_value, expected_code_to_value());
  EXPECT_EQ(_value_to_code, expected_value_to_code());
}

TEST(ValueTables, AFillLeavesOtherKeysAlone) {
  clear_tables();
  _code_to_value['a'] = 5;
  _value_to_code[99] = '?';
  _value_to_code[-1] = '!';
  decode("");
  EXPECT_EQ(_code_to_value.size(), 44u);
  EXPECT_EQ(_code_to_value['a'], 5);
  EXPECT_EQ(_value_to_code.size(), 45u);
  EXPECT_EQ(_value_to_code[99], '?');
  EXPECT_EQ(_value_to_code[-1], '!');
}

// Once filled, the tables are read rather than written; what a host did to
// them in between must still be undone, and only that.
TEST(ValueTables, AFillAfterTheFirstUndoesWhatAHostChanged) {
  const struct {
    const char* what;
    void (*change)();
    std::map<char, int> extra_codes;
    std::map<int, char> extra_values;
  } cases[] = {
      {"nothing", [] {}, {}, {}},
      {"rows altered at both ends and in the middle",
       [] {
         _code_to_value[' '] = 1;
         _code_to_value['M'] = 0;
         _code_to_value['Z'] = -35;
         _value_to_code[0] = '1';
         _value_to_code[20] = 'K';
         _value_to_code[42] = '\0';
       },
       {},
       {}},
      {"rows erased",
       [] {
         _code_to_value.erase('%');
         _value_to_code.erase(0);
       },
       {},
       {}},
      {"keys added before, between and after the rows",
       [] {
         _code_to_value['\x80'] = 3;
         _code_to_value['!'] = 4;
         _code_to_value['*'] = 5;
         _code_to_value['a'] = 6;
         _value_to_code[-1] = '?';
         _value_to_code[43] = '!';
       },
       {{'\x80', 3}, {'!', 4}, {'*', 5}, {'a', 6}},
       {{-1, '?'}, {43, '!'}}},
      {"keys added and rows altered next to them",
       [] {
         _code_to_value['!'] = 4;
         _code_to_value['$'] = 0;
         _code_to_value[' '] = 0;
         _value_to_code[43] = '!';
         _value_to_code[42] = 'x';
       },
       {{'!', 4}},
       {{43, '!'}}},
  };
  for (const auto& c : cases) {
    clear_tables();
    decode("");
    c.change();
    decode("CODE39W");
    std::map<char, int> codes = expected_code_to_value();
    codes.insert(c.extra_codes.begin(), c.extra_codes.end());
    std::map<int, char> values = expected_value_to_code();
    values.insert(c.extra_values.begin(), c.extra_values.end());
    EXPECT_EQ(_code_to_value, codes) << c.what;
    EXPECT_EQ(_value_to_code, values) << c.what;
  }
}

TEST(ValueTables, LookingUpAnUnknownCharacterEntersItWithValueZero) {
  clear_tables();
  decode("");
  const char unknown[] = {'*', 'a', '\0', '\x7f', '\x80'};
  for (char c : unknown) EXPECT_EQ(add_up_checksum(3, c), 3);
  decode("");
  EXPECT_EQ(_code_to_value.size(), 43u + sizeof unknown);
  for (char c : unknown) {
    ASSERT_EQ(_code_to_value.count(c), 1u);
    EXPECT_EQ(_code_to_value.at(c), 0);
  }
}

// The last character stands where a check character would and is not summed,
// so it is not looked up either.
TEST(ValueTables, ATranslationLooksUpAllButTheLastCharacter) {
  clear_tables();
  decode("a*b");
  EXPECT_EQ(_code_to_value.count('a'), 1u);
  EXPECT_EQ(_code_to_value.count('*'), 1u);
  EXPECT_EQ(_code_to_value.count('b'), 0u);
  EXPECT_EQ(_code_to_value.size(), 45u);
}

}  // namespace
