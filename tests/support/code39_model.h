// Code 39 as the published symbology defines it, written for the tests, fuzz
// targets and benchmarks independently of the library: the bar/space patterns
// and character values, the full-ASCII chart, the modulo-43 check character,
// a printer of symbols as edge positions, and the rule that turns a
// character's edges into module counts.
#ifndef TARN_TESTS_CODE39_MODEL_H
#define TARN_TESTS_CODE39_MODEL_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace code39 {

// The 43 characters in value order (0 to 42), then the start/stop character.
inline const std::string characters =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";

// A character's value; characters outside the 43 count 0.
inline int value(char c) {
  return static_cast<int>(std::min(characters.find(c), std::size_t{43}) % 43);
}

// Bar, space, bar, ... bar of a character; 'W' marks a wide element. Four
// rows of ten characters share the ten two-of-five bar patterns, and the row
// places the one wide space; the four shifts have narrow bars and three wide
// spaces.
inline std::string pattern(char c) {
  static const char* const bars[] = {"WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                     "WNWNN", "NWWNN", "NNNWW", "WNNWN",
                                     "NWNWN", "NNWWN"};
  static const char* const spaces[] = {"NWNN", "NNWN", "NNNW", "WNNN",
                                       "WWWN", "WWNW", "WNWW", "NWWW"};
  const std::size_t at =
      std::string("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ-. *$/+%").find(c);
  const std::string bar = at < 40 ? bars[at % 10] : "NNNNN";
  const std::string space = spaces[at < 40 ? at / 10 : at - 36];
  std::string elements;
  for (int i = 0; i < 9; ++i) elements += i % 2 ? space[i / 2] : bar[i / 2];
  return elements;
}

// How Code 39 writes an ASCII code: codes first..last are the shift (none
// where 0) followed by consecutive characters from `letter`.
inline std::string full_ascii(int code) {
  static const struct {
    int first, last;
    char shift, letter;
  } ranges[] = {
      {0, 0, '%', 'U'},     {1, 26, '$', 'A'},  {27, 31, '%', 'A'},
      {32, 32, 0, ' '},     {33, 44, '/', 'A'}, {45, 46, 0, '-'},
      {47, 47, '/', 'O'},   {48, 57, 0, '0'},   {58, 58, '/', 'Z'},
      {59, 63, '%', 'F'},   {64, 64, '%', 'V'}, {65, 90, 0, 'A'},
      {91, 95, '%', 'K'},   {96, 96, '%', 'W'}, {97, 122, '+', 'A'},
      {123, 127, '%', 'P'},
  };
  const auto* r = ranges;
  while (code > r->last) ++r;
  const char c = static_cast<char>(r->letter + code - r->first);
  return r->shift ? std::string{r->shift, c} : std::string(1, c);
}

inline std::string to_code39(const std::string& text) {
  std::string code;
  for (unsigned char c : text) code += full_ascii(c);
  return code;
}

inline char check_character(const std::string& code) {
  int sum = 0;
  for (char c : code) sum += value(c);
  return characters[sum % 43];
}

struct print {
  double narrow = 1.0;  // narrow element width
  double ratio = 2.0;   // wide width / narrow width
  double gap = 1.0;     // inter-character gap width
  double origin = 0.0;  // position of the first edge
};

// Edges of "*code*" from the start character's first bar to the stop
// character's last.
inline std::vector<double> symbol_edges(const std::string& code,
                                        const print& p = {}) {
  std::vector<double> edges = {p.origin - p.gap};
  for (char c : "*" + code + "*") {
    edges.push_back(edges.back() + p.gap);
    for (char e : pattern(c))
      edges.push_back(edges.back() + (e == 'W' ? p.ratio : 1.0) * p.narrow);
  }
  edges.erase(edges.begin());
  return edges;
}

// Moves each edge by up to `amount` either way.
inline void jitter(std::vector<double>& edges, double amount,
                   std::mt19937& random) {
  std::uniform_real_distribution<double> shift(-amount, amount);
  for (double& edge : edges) edge += shift(random);
}

inline std::vector<double> reversed(std::vector<double> edges) {
  std::reverse(edges.begin(), edges.end());
  return edges;
}

// Equal positions, NaN equal to NaN.
inline bool same_edges(const std::vector<double>& a,
                       const std::vector<double>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](double x, double y) {
                      return x == y || (std::isnan(x) && std::isnan(y));
                    });
}

// The n elements after edges[0] scaled together to `modules` modules, each
// count the low byte of the width in modules plus 0.5 truncated toward zero
// to 32 bits: NaN to the lowest value, beyond the range to its nearest limit.
inline void append_counts(const double* edges, int n, int modules,
                          std::vector<char>& counts) {
  const double scale = modules / (edges[n] - edges[0]);
  for (int i = 0; i < n; ++i) {
    const double shifted = (edges[i + 1] - edges[i]) * scale + 0.5;
    std::int64_t count = shifted >= 2147483648.0 ? INT32_MAX : INT32_MIN;
    if (shifted > -2147483649.0 && shifted < 2147483648.0)
      count = static_cast<std::int64_t>(shifted);
    counts.push_back(static_cast<char>(count & 0xFF));
  }
}

// Each character's nine counts (12 modules a character), 0 for each gap.
inline std::vector<char> element_list(const std::vector<double>& edges) {
  std::vector<char> counts;
  for (std::size_t first = 0; first + 10 <= edges.size(); first += 10) {
    if (first > 0) counts.push_back(0);
    append_counts(edges.data() + first, 9, 12, counts);
  }
  return counts;
}

}  // namespace code39

#endif
