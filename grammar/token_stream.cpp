#include "grammar/token_stream.h"

int _index = 0;

void setup_lexer(const std::vector<char>& counts) {
  _bar_thicknesses = counts;
  _index = 0;
}

void load_token_stream(const char* counts, std::size_t size) {
  _bar_thicknesses.assign(counts, counts + size);
  _index = 0;
}

int yylex() {
  if (_index >= static_cast<std::ptrdiff_t>(_bar_thicknesses.size())) {
    return END_OF_INPUT;
  }
  return token_of_count(_bar_thicknesses[_index++]);
}
