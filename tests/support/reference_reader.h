// Plain readings of what the library must do, for differential tests and
// fuzz targets: the Code 39 grammar over module counts, and a whole decode
// call's reading of edge positions.
#ifndef TARN_TESTS_REFERENCE_READER_H
#define TARN_TESTS_REFERENCE_READER_H

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

namespace reference {

// Counts are signed bytes: 0 and 1 narrow, 2 to 6 wide, any other the end.
inline int token_of(char count) {
  if (count < 0 || count > 6) return token::end;
  return count <= 1 ? token::narrow : token::wide;
}

struct parse_result {
  bool accepted = false;
  int next_entry = 0;          // _index afterwards
  int lookahead = token::end;  // yychar afterwards
  std::string data_text;       // the characters between start and stop
};

// "*", a gap, then characters separated by gaps, the last a "*" followed by
// the end of input. Tokens are read one at a time, an out-of-range count
// consumed as the end; the parse stops right behind the first token that no
// symbol continues with.
inline parse_result parse(const std::vector<char>& counts) {
  parse_result result;
  int& position = result.next_entry;
  const auto next = [&] {
    const bool end = position >= static_cast<int>(counts.size());
    return result.lookahead = end ? token::end : token_of(counts[position++]);
  };
  // The one of `candidates` whose pattern the next nine tokens spell, or 0.
  const auto character = [&](std::string candidates) {
    for (int element = 0; element < 9 && !candidates.empty(); ++element) {
      const int read = next();
      std::string left;
      for (char c : candidates) {
        const bool wide = code39::pattern(c)[element] == 'W';
        if (read != token::end && wide == (read == token::wide)) left += c;
      }
      candidates = left;
    }
    return candidates.empty() ? '\0' : candidates[0];
  };
  if (character("*") != '*' || next() == token::end) return result;
  std::string read;
  char c;
  do {
    if ((c = character(code39::characters)) == '\0') return result;
    read += c;
  } while (next() != token::end);
  if (read.size() < 2 || c != '*') return result;
  return {true, position, token::none, read.substr(0, read.size() - 1)};
}

struct read_result {
  bool read = false;
  bool reversed = false;
  std::vector<char> counts;  // the element list of the last attempt parsed
  std::string data_text;
  bool parsed = false;      // whether any attempt reached the parser
  parse_result last_parse;  // the parser's globals after the last attempt
};

// 20 + 10k edges (1 <= k <= 98), read as listed and, failing that, reversed.
// Only where the module widths of all characters but the last in list order
// agree (a population variance below 0.25 squared units) is a parse tried.
inline read_result read(const std::vector<double>& edges) {
  const int characters = static_cast<int>(edges.size() / 10);
  read_result result;
  if (edges.size() % 10 != 0 || characters < 3 || characters > 100)
    return result;
  for (bool reversed : {false, true}) {
    const std::vector<double> list = reversed ? code39::reversed(edges) : edges;
    double sum = 0.0, sum_of_squares = 0.0;
    for (int c = 0; c + 1 < characters; ++c) {
      const double width = 1.0 / (12.0 / (list[10 * c + 9] - list[10 * c]));
      sum += width;
      sum_of_squares += width * width;
    }
    const double mean = sum / (characters - 1);
    if (!(sum_of_squares / (characters - 1) - mean * mean < 0.25)) continue;
    const std::vector<char> counts = code39::element_list(list);
    result.parsed = true, result.counts = counts;
    result.last_parse = parse(counts);
    if (result.last_parse.accepted) {
      result.read = true, result.reversed = reversed;
      result.data_text = result.last_parse.data_text;
      return result;
    }
  }
  return result;
}

}  // namespace reference

#endif
