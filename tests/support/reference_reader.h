// Plain readings of what the library must do, for differential tests and
// fuzz targets: the Code 39 grammar over module counts, and a whole decode
// call's reading of edge positions.
#ifndef TARN_TESTS_REFERENCE_READER_H
#define TARN_TESTS_REFERENCE_READER_H

#include <string>
#include <vector>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

namespace reference {

// Counts are signed bytes: 0 and 1 narrow, 2 to 6 wide, any other the end.
inline int token_of(char count) {
  const int value = static_cast<signed char>(count);
  if (value < 0 || value > 6) return token::end;
  return value <= 1 ? token::narrow : token::wide;
}

struct parse_result {
  bool accepted = false;
  int next_entry = 0;          // _index afterwards
  int lookahead = token::end;  // yychar afterwards
  std::string data_text;       // the characters between start and stop
};

// "*", a gap, then characters separated by gaps, the last a "*" followed by
// the end of input. Tokens are read one at a time, an out-of-range count
// consumed as the end. The parse stops right behind the first token that no
// symbol continues with.
inline parse_result parse(const std::vector<char>& counts) {
  parse_result result;
  std::size_t position = 0;
  const auto next = [&] {
    if (position >= counts.size()) return result.lookahead = token::end;
    return result.lookahead = token_of(counts[position++]);
  };
  // The one of `candidates` whose pattern the next nine tokens spell, or 0.
  static const std::vector<std::string> patterns = [] {
    std::vector<std::string> all;
    for (char c : code39::characters) all.push_back(code39::pattern(c));
    return all;
  }();
  const auto character = [&](std::string candidates) {
    for (int element = 0; element < 9; ++element) {
      const int read = next();
      std::string left;
      for (char c : candidates) {
        const char wanted = read == token::wide ? 'W' : 'N';
        if (read != token::end &&
            patterns[code39::characters.find(c)][element] == wanted)
          left += c;
      }
      if (left.empty()) return '\0';
      candidates = left;
    }
    return candidates[0];
  };
  const auto decided = [&](bool accepted) {
    result.accepted = accepted;
    result.next_entry = static_cast<int>(position);
    if (accepted) result.lookahead = token::none;
    return result;
  };
  if (character("*") != '*' || next() == token::end) return decided(false);
  std::string read;
  for (;;) {
    const char c = character(code39::characters);
    if (c == '\0') return decided(false);
    read += c;
    if (next() != token::end) continue;
    if (read.size() < 2 || c != '*') return decided(false);
    result.data_text = read.substr(0, read.size() - 1);
    return decided(true);
  }
}

struct read_result {
  bool read = false;
  bool reversed = false;
  std::vector<char> counts;  // the element list of the attempt that read
  std::string data_text;
};

// Whether the module widths of the first n characters agree: a population
// variance below 0.25 squared length units.
inline bool widths_agree(const std::vector<double>& edges, int n) {
  double sum = 0.0, sum_of_squares = 0.0;
  for (int c = 0; c < n; ++c) {
    const double width = 1.0 / (12.0 / (edges[10 * c + 9] - edges[10 * c]));
    sum += width;
    sum_of_squares += width * width;
  }
  const double mean = sum / n;
  return sum_of_squares / n - mean * mean < 0.25;
}

// 20 + 10k edges (1 <= k <= 98), read as listed and, failing that, reversed.
// The widths of all characters but the last in list order must agree.
inline read_result read(const std::vector<double>& edges) {
  const std::size_t n = edges.size();
  if (n < 30 || n > 1000 || n % 10 != 0) return {};
  for (bool reversed : {false, true}) {
    const std::vector<double> list = reversed ? code39::reversed(edges) : edges;
    if (!widths_agree(list, static_cast<int>(n / 10) - 1)) continue;
    const std::vector<char> counts = code39::element_list(list);
    const parse_result parsed = parse(counts);
    if (parsed.accepted) return {true, reversed, counts, parsed.data_text};
  }
  return {};
}

}  // namespace reference

#endif
