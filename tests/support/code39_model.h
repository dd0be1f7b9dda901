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

// Bar, space, bar, ... bar of a character, in the order of `characters`;
// 'W' marks a wide element.
inline std::string pattern(char c) {
  static const std::string all =
      "NNNWWNWNNWNNWNNNNWNNWWNNNNWWNWWNNNNNNNNWWNNNWWNNWWNNNNNNWWWNNNNNNNWNNWNW"
      "WNNWNNWNNNNWWNNWNNWNNNNWNNWNNWNNWNNWWNWNNWNNNNNNNWWNNWWNNNWWNNNNNWNWWNNN"
      "NNNNNWWNWWNNNNWWNNNNWNNWWNNNNNNWWWNNWNNNNNNWWNNWNNNNWWWNWNNNNWNNNNNWNNWW"
      "WNNNWNNWNNNWNWNNWNNNNNNNWWWWNNNNNWWNNNWNNNWWNNNNNWNWWNWWNNNNNNWNWWNNNNNW"
      "WWWNNNNNNNWNNWNNNWWWNNWNNNNNWWNWNNNNNWNNNNWNWWWNNNNWNNNWWNNNWNNNWNWNWNNN"
      "NWNWNNNWNNWNNNWNWNNNNWNWNWNNWNNWNWNN";
  return all.substr(9 * characters.find(c), 9);
}

// The chart of how Code 39 writes ASCII codes 0 to 127: two characters each,
// a shift and a character, or a space and the character itself.
inline std::string full_ascii(int code) {
  static const std::string chart =
      "%U$A$B$C$D$E$F$G$H$I$J$K$L$M$N$O$P$Q$R$S$T$U$V$W$X$Y$Z%A%B%C%D%E  /A/B/C"
      "/D/E/F/G/H/I/J/K/L - ./O 0 1 2 3 4 5 6 7 8 9/Z%F%G%H%I%J%V A B C D E F G"
      " H I J K L M N O P Q R S T U V W X Y Z%K%L%M%N%O%W+A+B+C+D+E+F+G+H+I+J+K"
      "+L+M+N+O+P+Q+R+S+T+U+V+W+X+Y+Z%P%Q%R%S%T";
  return chart.substr(2 * code + (chart[2 * code] == ' '),
                      2 - (chart[2 * code] == ' '));
}

inline std::string to_code39(const std::string& text) {
  std::string code;
  for (unsigned char c : text) code += full_ascii(c);
  return code;
}

inline char check_character(const std::string& code, int sum = 0) {
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

inline std::vector<double> reversed(std::vector<double> e) {
  return {e.rbegin(), e.rend()};
}

// The n elements after edges[0] scaled together to `modules` modules, each
// count the low byte of the width in modules plus 0.5 truncated toward zero
// to 32 bits: NaN to the lowest value, beyond the range to its nearest limit.
inline void append_counts(const double* edges, int n, int modules,
                          std::vector<char>& counts) {
  const double scale = modules / (edges[n] - edges[0]);
  for (int i = 0; i < n; ++i) {
    const double shifted = (edges[i + 1] - edges[i]) * scale + 0.5;
    const std::int64_t count = shifted > -2147483649.0 && shifted < 2147483648.0
                                   ? static_cast<std::int64_t>(shifted)
                               : shifted >= 2147483648.0 ? INT32_MAX
                                                         : INT32_MIN;
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
