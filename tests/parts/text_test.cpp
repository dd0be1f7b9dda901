// The text layer: full-ASCII translation and the check character against the
// published chart and values, do_checksum's rule, and the value tables as a
// host that reads or alters them sees them.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

namespace {

// Taken while the program starts, before any text is translated.
const bool tables_empty_at_start = _code_to_value.empty();

// One greedy pass: a charted shift pair where one starts, else the character.
std::string translated(const std::string& code) {
  std::string text;
  for (std::size_t i = 0; i < code.size(); ++i) {
    int pair = 0;
    while (pair < 128 && code39::full_ascii(pair) != code.substr(i, 2)) ++pair;
    text += pair < 128 ? static_cast<char>(pair) : code[i];
    i += pair < 128;
  }
  return text;
}

TEST(FullAscii, TranslatesGreedilyAndChecksAllButTheLastCharacter) {
  std::mt19937 random(3);
  const std::string alphabet = code39::characters + "$$$%%%///+++ax";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int i = 0; i < 3000; ++i) {
    std::string code(i % 12, ' ');
    for (char& c : code) c = alphabet[pick(random)];
    const std::string body = code.substr(0, code.empty() ? 0 : code.size() - 1);
    EXPECT_EQ(decode(code),
              std::make_pair(translated(code),
                             std::string(1, code39::check_character(body))));
  }
}

TEST(DoChecksum, VerifiesOrStripsTheWholeTail) {
  const struct {
    std::string text, check;
    int flags;
    std::string expected;
  } cases[] = {
      {"ABC", "XC", 1, ""},  {"ABC", "AC", 2, ""}, {"ABC", "ABC", 2, ""},
      {"ABC", "", 2, "ABC"}, {"AB", "W", 3, "AB"}, {"AB", "ABC", 0, "AB"},
  };
  for (const auto& c : cases) {
    std::string check = c.check;
    const auto flags = static_cast<TARN_CHECKSUMFLAGS>(c.flags);
    EXPECT_EQ(do_checksum(c.text, check, flags), c.expected) << c.check;
    EXPECT_EQ(check, c.check);
  }
}

TEST(ValueTables, EveryTranslationRestoresTheRowsAndKeepsOtherKeys) {
  EXPECT_TRUE(tables_empty_at_start);
  // What a host may have done to the filled tables: rows altered at both ends
  // and in the middle; then also other keys added; then also rows erased.
  for (int pass = 0; pass < 3; ++pass) {
    _code_to_value = {}, _value_to_code = {};
    decode("");
    std::map<char, int> values;
    std::map<int, char> codes;
    _code_to_value[" MZ"[pass]] = 1, _value_to_code[20 * pass] = 'x';
    if (pass > 0) {
      _code_to_value['a'] = values['a'] = 5;
      _code_to_value['*'] = values['*'] = -1;
      _value_to_code[43] = codes[43] = '!';
      _value_to_code[-1] = codes[-1] = '?';
    }
    if (pass > 1) _code_to_value.erase('%'), _value_to_code.erase(0);
    for (int v = 0; v < 43; ++v)
      values[code39::characters[v]] = v, codes[v] = code39::characters[v];
    EXPECT_EQ(decode("CODE39W").second, "W");
    EXPECT_EQ(_code_to_value, values);
    EXPECT_EQ(_value_to_code, codes);
  }
  // A lookup enters an unknown character with value 0; the last character
  // of a translated text is not looked up.
  decode("b?c");
  EXPECT_EQ(_code_to_value.count('b') + _code_to_value.count('?'), 2u);
  EXPECT_EQ(_code_to_value.count('c'), 0u);
  EXPECT_EQ(add_up_checksum(3, 'd'), 3);
  EXPECT_EQ(_code_to_value.at('d'), 0);
}

}  // namespace
