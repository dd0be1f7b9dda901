// A Code 39 encoder for tests and benchmarks, written from the symbology's
// published tables and independent of the library's own: full-ASCII text to
// Code 39 characters, the modulo-43 check character, and the edge positions of
// a printed symbol.
#ifndef TARN_TESTS_CODE39_ENCODER_H
#define TARN_TESTS_CODE39_ENCODER_H

#include <string>
#include <vector>

namespace code39 {

// The 43 characters in check-value order (value 0 to 42), then the
// start/stop character.
inline const std::string& characters() {
  static const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
  return set;
}

// Bar, space, bar, ... of each character above, in the same order; 1 marks a
// wide element.
inline const char* pattern(char c) {
  static const char* const patterns[] = {
      "000110100", "100100001", "001100001", "101100000", "000110001",
      "100110000", "001110000", "000100101", "100100100", "001100100",
      "100001001", "001001001", "101001000", "000011001", "100011000",
      "001011000", "000001101", "100001100", "001001100", "000011100",
      "100000011", "001000011", "101000010", "000010011", "100010010",
      "001010010", "000000111", "100000110", "001000110", "000010110",
      "110000001", "011000001", "111000000", "010010001", "110010000",
      "011010000", "010000101", "110000100", "011000100", "010101000",
      "010100010", "010001010", "000101010", "010010100",
  };
  return patterns[characters().find(c)];
}

// Full-ASCII: each ASCII code as one Code 39 character or a shift pair.
// Codes first..last map to the shift followed by consecutive letters from
// `letter`, or to themselves where shift is 0.
struct ascii_range {
  int first, last;
  char shift, letter;
};

inline std::string to_code39(const std::string& text) {
  static const ascii_range ranges[] = {
      {0, 0, '%', 'U'},     {1, 26, '$', 'A'},  {27, 31, '%', 'A'},
      {32, 32, 0, ' '},     {33, 44, '/', 'A'}, {45, 46, 0, '-'},
      {47, 47, '/', 'O'},   {48, 57, 0, '0'},   {58, 58, '/', 'Z'},
      {59, 63, '%', 'F'},   {64, 64, '%', 'V'}, {65, 90, 0, 'A'},
      {91, 95, '%', 'K'},   {96, 96, '%', 'W'}, {97, 122, '+', 'A'},
      {123, 127, '%', 'P'},
  };
  std::string code;
  for (unsigned char c : text) {
    for (const ascii_range& range : ranges) {
      if (c < range.first || c > range.last) continue;
      if (range.shift) code += range.shift;
      code += static_cast<char>(range.letter + (c - range.first));
      break;
    }
  }
  return code;
}

// Modulo-43 sum of the character values.
inline char check_character(const std::string& code) {
  int sum = 0;
  for (char c : code) sum += static_cast<int>(characters().find(c));
  return characters()[sum % 43];
}

struct print {
  double narrow = 1.0;  // narrow element width
  double ratio = 2.0;   // wide width / narrow width
  double gap = 1.0;     // inter-character gap width
  double origin = 0.0;  // position of the first edge
};

// Edges from the leading edge of the start character's first bar to the
// trailing edge of the stop character's last bar.
inline std::vector<double> symbol_edges(const std::string& code,
                                        const print& p = {}) {
  const std::string framed = "*" + code + "*";
  std::vector<double> edges = {p.origin};
  for (std::size_t i = 0; i < framed.size(); ++i) {
    if (i > 0) edges.push_back(edges.back() + p.gap);
    for (const char* e = pattern(framed[i]); *e; ++e)
      edges.push_back(edges.back() + (*e == '1' ? p.ratio : 1.0) * p.narrow);
  }
  return edges;
}

}  // namespace code39

#endif
