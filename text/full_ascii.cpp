#include "text/full_ascii.h"

#include <array>

#include "text/checksum.h"
#include "text/value_tables.h"

namespace {

constexpr char kShifts[] = "$%/+";
constexpr int kShiftCount = sizeof kShifts - 1;
constexpr int kLetterCount = 26;
constexpr int kNoPair = -1;

// A shift followed by the letters first to last stands for consecutive ASCII
// codes starting at first_code.
struct PairRun {
  char shift;
  char first_letter;
  char last_letter;
  int first_code;
};

constexpr PairRun kPairRuns[] = {
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

// kNoPair where shift and letter form no pair; %X-%Z, /M, /N and /P-/Y do not.
using PairTable = std::array<std::array<int, kLetterCount>, kShiftCount>;

constexpr int shift_index(char c) {
  for (int shift = 0; shift < kShiftCount; ++shift) {
    if (kShifts[shift] == c) return shift;
  }
  return kNoPair;
}

constexpr PairTable build_pair_table() {
  PairTable table{};
  for (auto& codes : table) {
    for (int& code : codes) code = kNoPair;
  }
  for (const PairRun& run : kPairRuns) {
    auto& codes = table[shift_index(run.shift)];
    for (char letter = run.first_letter; letter <= run.last_letter; ++letter) {
      codes[letter - 'A'] = run.first_code + (letter - run.first_letter);
    }
  }
  return table;
}

constexpr PairTable kPairTable = build_pair_table();

constexpr int pair_count(const PairTable& table) {
  int count = 0;
  for (const auto& codes : table) {
    for (int code : codes) count += code != kNoPair;
  }
  return count;
}
static_assert(pair_count(kPairTable) == 89);

// shift_index of every character, by its unsigned byte.
constexpr std::array<int, 256> kShiftIndexOf = [] {
  std::array<int, 256> indices{};
  for (int c = 0; c < 256; ++c) indices[c] = shift_index(static_cast<char>(c));
  return indices;
}();

// The ASCII code that shift and letter stand for, or kNoPair.
int pair_code(char shift, char letter) {
  const int row = kShiftIndexOf[static_cast<unsigned char>(shift)];
  if (row == kNoPair || letter < 'A' || letter > 'Z') return kNoPair;
  return kPairTable[row][letter - 'A'];
}

// One greedy pass: a pair is taken wherever one starts, and pairs never
// overlap. Returns the length written to `translated`, at most that of the
// text.
std::size_t translate(const std::string& code39_text, char* translated) {
  std::size_t length = 0;
  std::size_t position = 0;
  while (position < code39_text.size()) {
    const int code =
        position + 1 < code39_text.size()
            ? pair_code(code39_text[position], code39_text[position + 1])
            : kNoPair;
    if (code == kNoPair) {
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
