#include "text/full_ascii.h"

#include <array>
#include <string_view>

#include "text/checksum.h"
#include "text/value_tables.h"

namespace {

constexpr std::string_view shifts = "$%/+";
constexpr int letter_count = 26;
constexpr int no_pair = -1;

// A shift followed by the letters first to last stands for consecutive ASCII
// codes starting at first_code.
struct pair_run {
  char shift;
  char first_letter;
  char last_letter;
  int first_code;
};

constexpr pair_run pair_runs[] = {
    {'$', 'A', 'Z', 1},    // control characters SOH to SUB
    {'%', 'A', 'E', 27},   // ESC FS GS RS US
    {'%', 'F', 'J', 59},   // ; < = > ?
    {'%', 'K', 'O', 91},   // [ \ ] ^ _
    {'%', 'P', 'T', 123},  // { | } ~ DEL
    {'%', 'U', 'U', 0},    // NUL
    {'%', 'V', 'V', 64},   // @
    {'%', 'W', 'W', 96},   // `
    {'/', 'A', 'L', 33},   // ! " # $ % & ' ( ) * + ,
    {'/', 'O', 'O', 47},   // /
    {'/', 'Z', 'Z', 58},   // :
    {'+', 'A', 'Z', 97},   // a to z
};

constexpr int shift_index(char c) {
  const std::size_t shift = shifts.find(c);
  return shift == std::string_view::npos ? no_pair : static_cast<int>(shift);
}

// The code of each shift and letter, no_pair where they form none: %X-%Z,
// /M, /N and /P-/Y.
using pair_table = std::array<std::array<int, letter_count>, shifts.size()>;

constexpr pair_table pair_codes = [] {
  pair_table table{};
  for (auto& codes : table) {
    for (int& code : codes) code = no_pair;
  }
  for (const pair_run& run : pair_runs) {
    auto& codes = table[shift_index(run.shift)];
    for (char letter = run.first_letter; letter <= run.last_letter; ++letter) {
      codes[letter - 'A'] = run.first_code + (letter - run.first_letter);
    }
  }
  return table;
}();

static_assert([] {
  int pairs = 0;
  for (const auto& codes : pair_codes) {
    for (int code : codes) pairs += code != no_pair;
  }
  return pairs == 89;
}());

// The ASCII code that shift and letter stand for, or no_pair.
int pair_code(char shift, char letter) {
  const int row = shift_index(shift);
  if (row == no_pair || letter < 'A' || letter > 'Z') return no_pair;
  return pair_codes[row][letter - 'A'];
}

// One greedy pass: a pair is taken wherever one starts, and pairs never
// overlap. Returns the length written to `translated`, at most that of the
// text.
std::size_t translate(const std::string& code39_text, char* translated) {
  std::size_t length = 0;
  std::size_t position = 0;
  while (position < code39_text.size()) {
    // After the last character comes the string's null, which is no letter.
    const int code =
        pair_code(code39_text[position], code39_text[position + 1]);
    if (code == no_pair) {
      translated[length++] = code39_text[position];
      position += 1;
    } else {
      translated[length++] = static_cast<char>(code);
      position += 2;
    }
  }
  return length;
}

}  // namespace

void decode_into(const std::string& code39_text,
                 std::pair<std::string, std::string>& result) {
  fill_value_tables();
  const char check = check_character_of(code39_text);
  // Every step that can throw comes before the result changes: the
  // translation is never longer than its input.
  std::string& translated = result.first;
  translated.resize(code39_text.size());
  translated.resize(translate(code39_text, translated.data()));
  result.second.assign(1, check);
}

std::pair<std::string, std::string> decode(const std::string& code39_text) {
  std::pair<std::string, std::string> result;
  decode_into(code39_text, result);
  return result;
}
