// The token stream: module counts of one candidate symbol, read one element at
// a time as narrow, wide or end of input.
#ifndef TARN_TOKEN_STREAM_H
#define TARN_TOKEN_STREAM_H

#include <array>
#include <cstddef>
#include <vector>

enum token_code : int { END_OF_INPUT = 0, NARROW = 258, WIDE = 259 };
static_assert(WIDE == NARROW + 1);

extern std::vector<char> _bar_thicknesses;  // the loaded module counts
extern int _index;                          // next entry to read

// Loads a copy of `counts` and rewinds the stream.
void setup_lexer(const std::vector<char>& counts);
// As setup_lexer, from `size` counts at `counts`, outside _bar_thicknesses.
void load_token_stream(const char* counts, std::size_t size);
// The next token: 0 and 1 are NARROW, 2 to 6 WIDE, anything else (read as a
// signed byte) ends the input. Past the last entry it keeps returning 0.
int yylex();

// The token of each entry, indexed by the entry read as an unsigned byte: 0
// and 1 NARROW, 2 to 6 WIDE, the rest (read as signed, the negative ones and
// those above 6) END_OF_INPUT. A table: compilers make a choice between
// NARROW and WIDE a branch, which guesses wrong on every other element.
inline constexpr std::array<int, 256> token_of_entry = [] {
  std::array<int, 256> tokens{};
  int entry = 0;
  for (int& token : tokens) {
    token = entry > 6 ? END_OF_INPUT : entry > 1 ? WIDE : NARROW;
    ++entry;
  }
  return tokens;
}();

// The token of one entry, as yylex classes it.
inline int token_of_count(char count) {
  return token_of_entry[static_cast<unsigned char>(count)];
}

#endif
