// The token stream: module counts of one candidate symbol, read one element at
// a time as narrow, wide or end of input.
#ifndef TARN_TOKEN_STREAM_H
#define TARN_TOKEN_STREAM_H

#include <cstddef>
#include <vector>

enum token_code : int { END_OF_INPUT = 0, NARROW = 258, WIDE = 259 };

extern std::vector<char> _bar_thicknesses;  // the loaded module counts
extern int _index;                          // next entry to read

// Loads a copy of `counts` and rewinds the stream.
void setup_lexer(const std::vector<char>& counts);
// As setup_lexer, from `size` counts at `counts`, outside _bar_thicknesses.
void load_token_stream(const char* counts, std::size_t size);
// The next token: 0 and 1 are NARROW, 2 to 6 WIDE, anything else (read as a
// signed byte) ends the input. Past the last entry it keeps returning 0.
int yylex();

// The token of one entry, as yylex classes it.
inline int token_of_count(char count) {
  // Read unsigned, the negative counts come after 6, so one bound rejects
  // both ends.
  const auto unsigned_count = static_cast<unsigned char>(count);
  if (unsigned_count > 6) return END_OF_INPUT;
  return unsigned_count <= 1 ? NARROW : WIDE;
}

#endif
