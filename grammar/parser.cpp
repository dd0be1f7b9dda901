#include "grammar/parser.h"

#include <cstdint>

#include "grammar/character_trie.h"
#include "grammar/token_stream.h"
#include "text/full_ascii.h"

namespace {

constexpr int no_lookahead = -2;
constexpr int accepted = 0;
constexpr int rejected = 1;
constexpr char no_character = '\0';
constexpr char start_stop_character = '*';

constexpr const code39_pattern& pattern_of(char character) {
  auto row = code39_patterns.begin();
  while (row->character != character) ++row;
  return *row;
}

constexpr const code39_pattern& start_pattern =
    pattern_of(start_stop_character);

// Tokens are read one at a time, each only once the previous one is used up,
// so the stream stops right after the token that decides the outcome.
int read_token() { return yychar = yylex(); }

int token_of(char pattern_element) {
  return class_of(pattern_element) == wide_element ? WIDE : NARROW;
}

// Only "*" may start a symbol; a wrong element fails it on the spot.
bool read_start_character() {
  for (int i = 0; i < code39_elements_per_character; ++i) {
    if (read_token() != token_of(start_pattern.elements[i])) return false;
  }
  return true;
}

// The gap between two characters: one element of either width.
bool read_gap() { return read_token() != END_OF_INPUT; }

// Follows one character down the trie; no_character as soon as no pattern
// begins with the elements read so far.
char read_data_character() {
  std::uint16_t node = trie_root;
  for (int i = 0; i < code39_elements_per_character; ++i) {
    const int token = read_token();
    if (token == END_OF_INPUT) return no_character;
    node =
        code39_trie[node].child[token == WIDE ? wide_element : narrow_element];
    if (node == no_child) return no_character;
  }
  return code39_trie[node].character;
}

int reject() {
  ++yynerrs;
  yyerror("syntax error");
  return rejected;
}

}  // namespace

int yychar = no_lookahead;
int yynerrs = 0;

void yyerror(const char*) {}

int yyparse() {
  yychar = no_lookahead;
  yynerrs = 0;
  if (!read_start_character() || !read_gap()) return reject();

  std::string data_text;
  do {
    const char character = read_data_character();
    if (character == no_character) return reject();
    data_text += character;
  } while (read_gap());

  // The end of input may only follow a "*" that is not the first data
  // character: that "*" is the stop character, not data.
  if (data_text.size() < 2 || data_text.back() != start_stop_character) {
    return reject();
  }
  data_text.pop_back();

  auto [text, check_character] = decode(data_text);
  decoded.first = std::move(text);
  decoded.second = std::move(check_character);
  yychar = no_lookahead;  // the end of input is consumed with the symbol
  return accepted;
}
