#include "grammar/token_stream.h"

#include <cstddef>
#include <iterator>

int _index = 0;

namespace {

// Token of each module count from 0 up; every other count ends the input.
constexpr int token_of_count[] = {NARROW, NARROW, WIDE, WIDE, WIDE, WIDE, WIDE};

}  // namespace

void setup_lexer(const std::vector<char>& counts) {
  _bar_thicknesses = counts;
  _index = 0;
}

int yylex() {
  if (_index >= static_cast<std::ptrdiff_t>(_bar_thicknesses.size())) {
    return END_OF_INPUT;
  }
  // Counts are signed bytes: the negative ones read as 0x80 and up here, so
  // one bound rejects both ends.
  const auto count = static_cast<unsigned char>(_bar_thicknesses[_index++]);
  return count < std::size(token_of_count) ? token_of_count[count]
                                           : END_OF_INPUT;
}
