#include "grammar/parser.h"

#include <cstddef>
#include <cstdint>

#include "grammar/character_trie.h"
#include "grammar/pattern_table.h"
#include "grammar/token_stream.h"
#include "text/full_ascii.h"

namespace {

constexpr int no_lookahead = -2;
constexpr int accepted = 0;
constexpr int rejected = 1;
constexpr char start_stop_character = '*';

constexpr const code39_pattern& pattern_of(char character) {
  auto row = code39_patterns.begin();
  while (row->character != character) ++row;
  return *row;
}

constexpr const code39_pattern& start_pattern =
    pattern_of(start_stop_character);

// Reads the loaded counts from _index on, classing them as yylex does; the
// parser keeps the position and writes it back to _index when it is done.
class count_reader {
 public:
  count_reader(const std::vector<char>& counts, int position)
      : counts_(counts.data()),
        size_(static_cast<std::ptrdiff_t>(counts.size())),
        position_(position) {}

  // One token, held in yychar as the lookahead. A position outside the
  // counts reads as the end of input.
  int next_token() {
    if (position_ < 0 || position_ >= size_) return yychar = END_OF_INPUT;
    return yychar = token_of_count(counts_[position_++]);
  }

  // The pattern bits of the next character when all its nine counts are
  // there and narrow or wide, else kNoPattern. Reads nothing.
  int peek_pattern() const {
    if (position_ < 0 || size_ - position_ < code39_elements_per_character) {
      return kNoPattern;
    }
    return pattern_of_counts(counts_ + position_);
  }

  // Steps over the character that peek_pattern read.
  void skip_character() { position_ += code39_elements_per_character; }

  int position() const { return static_cast<int>(position_); }

 private:
  const char* counts_;
  std::ptrdiff_t size_;
  std::ptrdiff_t position_;
};

int token_of(char pattern_element) {
  return class_of(pattern_element) == wide_element ? WIDE : NARROW;
}

// Only "*" may start a symbol. Token by token, a wrong element fails it on
// the spot.
bool read_start_character(count_reader& reader) {
  if (reader.peek_pattern() == pattern_bits(start_pattern)) {
    reader.skip_character();
    return true;
  }
  for (int i = 0; i < code39_elements_per_character; ++i) {
    if (reader.next_token() != token_of(start_pattern.elements[i])) {
      return false;
    }
  }
  return true;
}

// The gap between two characters: one element of either width.
bool read_gap(count_reader& reader) {
  return reader.next_token() != END_OF_INPUT;
}

// Follows one character down the trie, token by token, to kNoCharacter as
// soon as no pattern begins with the elements read so far.
char read_data_character_slowly(count_reader& reader) {
  std::uint16_t node = trie_root;
  for (int i = 0; i < code39_elements_per_character; ++i) {
    const int token = reader.next_token();
    if (token == END_OF_INPUT) return kNoCharacter;
    node =
        code39_trie[node].child[token == WIDE ? wide_element : narrow_element];
    if (node == no_child) return kNoCharacter;
  }
  return code39_trie[node].character;
}

// A whole character of counts at once; token by token only where it does not
// read, to stop right behind the token that decides that.
char read_data_character(count_reader& reader) {
  const int bits = reader.peek_pattern();
  if (bits != kNoPattern && character_of_pattern[bits] != kNoCharacter) {
    reader.skip_character();
    return character_of_pattern[bits];
  }
  return read_data_character_slowly(reader);
}

// The characters between start and stop, or false as soon as the counts
// cannot be a symbol.
bool read_symbol(count_reader& reader, std::string& data_text) {
  data_text.clear();
  if (!read_start_character(reader) || !read_gap(reader)) return false;
  do {
    const char character = read_data_character(reader);
    if (character == kNoCharacter) return false;
    data_text += character;
  } while (read_gap(reader));

  // The end of input may only follow a "*" that is not the first data
  // character: that "*" is the stop character, not data.
  if (data_text.size() < 2 || data_text.back() != start_stop_character) {
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

int yychar = no_lookahead;
int yynerrs = 0;

void yyerror(const char*) {}

int yyparse() {
  yychar = no_lookahead;
  yynerrs = 0;
  count_reader reader(_bar_thicknesses, _index);
  std::string& data_text = data_text_buffer();
  const bool symbol = read_symbol(reader, data_text);
  _index = reader.position();
  if (!symbol) return reject();

  decode_into(data_text, decoded);
  yychar = no_lookahead;  // the end of input is consumed with the symbol
  return accepted;
}
