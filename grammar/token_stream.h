// The token stream: module counts of one candidate symbol, read one element at
// a time as narrow, wide or end of input.
#ifndef TARN_TOKEN_STREAM_H
#define TARN_TOKEN_STREAM_H

#include <vector>

enum token_code : int { END_OF_INPUT = 0, NARROW = 258, WIDE = 259 };

extern std::vector<char> _bar_thicknesses;  // the loaded module counts
extern int _index;                          // next entry to read

// Loads a copy of `counts` and rewinds the stream.
void setup_lexer(const std::vector<char>& counts);
// The next token: 0 and 1 are NARROW, 2 to 6 WIDE, anything else (read as a
// signed byte) ends the input. Past the last entry it keeps returning 0.
int yylex();

#endif
