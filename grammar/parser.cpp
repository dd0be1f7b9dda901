#include "grammar/parser.h"

#include <array>
#include <cstddef>

#include "grammar/code39_patterns.h"
#include "grammar/token_stream.h"
#include "text/full_ascii.h"

namespace {

constexpr int no_lookahead = -2;
constexpr int accepted = 0;
constexpr int rejected = 1;

constexpr char no_character = '\0';

// The patterns as a binary trie in heap order: node 1 is the root, and the
// children of node n are 2n (a narrow element) and 2n + 1 (a wide one), so
// the nodes nine levels down are the 512 sequences of nine elements. Each
// node holds the first character whose pattern begins with the elements on
// its path, no_character where none does.
constexpr int trie_root = 1;
constexpr std::size_t trie_size = 2 << code39_elements_per_character;

constexpr std::array<char, trie_size> pattern_trie = [] {
  std::array<char, trie_size> trie{};
  for (const code39_pattern& pattern : code39_patterns) {
    int node = trie_root;
    for (int i = 0; i < code39_elements_per_character; ++i) {
      node = 2 * node + (pattern.elements[i] == 'W' ? 1 : 0);
      if (trie[node] == no_character) trie[node] = pattern.character;
    }
  }
  return trie;
}();

constexpr const code39_pattern& pattern_of(char character) {
  auto row = code39_patterns.begin();
  while (row->character != character) ++row;
  return *row;
}

constexpr const code39_pattern& start_pattern = pattern_of(code39_start_stop);

// Reads the loaded counts from _index on, a token at a time as yylex does,
// each into yychar; the parser writes the position back to _index when it is
// done. (yylex itself, reading and writing the globals each time, is slower.)
class token_reader {
 public:
  token_reader(const std::vector<char>& counts, int position)
      : counts_(counts.data()),
        size_(static_cast<std::ptrdiff_t>(counts.size())),
        position_(position) {}

  // A position outside the counts reads as the end of input.
  int next_token() {
    if (position_ < 0 || position_ >= size_) return yychar = END_OF_INPUT;
    return yychar = token_of_count(counts_[position_++]);
  }

  int position() const { return static_cast<int>(position_); }

 private:
  const char* counts_;
  std::ptrdiff_t size_;
  std::ptrdiff_t position_;
};

// The token of each element of "*".
int start_token(int element) {
  return start_pattern.elements[element] == 'W' ? WIDE : NARROW;
}

// Only "*" may start a symbol; a wrong element fails it on the spot.
bool read_start_character(token_reader& reader) {
  for (int i = 0; i < code39_elements_per_character; ++i) {
    if (reader.next_token() != start_token(i)) return false;
  }
  return true;
}

// Follows one character down the trie, to no_character as soon as no pattern
// begins with the elements read so far.
char read_data_character(token_reader& reader) {
  int node = trie_root;
  for (int i = 0; i < code39_elements_per_character; ++i) {
    const int token = reader.next_token();
    if (token == END_OF_INPUT) return no_character;
    node = 2 * node + (token - NARROW);
    if (pattern_trie[node] == no_character) return no_character;
  }
  return pattern_trie[node];
}

// The gap between two characters: one element of either width.
bool read_gap(token_reader& reader) {
  return reader.next_token() != END_OF_INPUT;
}

// The characters between start and stop, or false as soon as the counts
// cannot be a symbol.
bool read_symbol(token_reader& reader, std::string& data_text) {
  data_text.clear();
  if (!read_start_character(reader) || !read_gap(reader)) return false;
  do {
    const char character = read_data_character(reader);
    if (character == no_character) return false;
    data_text += character;
  } while (read_gap(reader));

  // The end of input may only follow a "*" that is not the first data
  // character: that "*" is the stop character, not data.
  if (data_text.size() < 2 || data_text.back() != code39_start_stop) {
    return false;
  }
  data_text.pop_back();
  return true;
}

// Parses run one at a time in the process, so one text serves them all and
// keeps its capacity from one parse to the next.
std::string& data_text_buffer() {
  static std::string data_text;
  return data_text;
}

int reject() {
  ++yynerrs;
  yyerror("syntax error");
  return rejected;
}

}  // namespace

bool reads_as_start_character(const char* counts) {
  for (int i = 0; i < code39_elements_per_character; ++i) {
    if (token_of_count(counts[i]) != start_token(i)) return false;
  }
  return true;
}

int yychar = no_lookahead;
int yynerrs = 0;

void yyerror(const char*) {}

int yyparse() {
  yychar = no_lookahead;
  yynerrs = 0;
  token_reader reader(_bar_thicknesses, _index);
  std::string& data_text = data_text_buffer();
  const bool symbol = read_symbol(reader, data_text);
  _index = reader.position();
  if (!symbol) return reject();

  decode_into(data_text, decoded);
  yychar = no_lookahead;  // the end of input is consumed with the symbol
  return accepted;
}
