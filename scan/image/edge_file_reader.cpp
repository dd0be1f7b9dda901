#include "image/edge_file_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "image/input_error.h"

namespace {

bool is_text_byte(unsigned char c) {
  return (c >= 0x20 && c < 0x7f) || (c >= '\t' && c <= '\r');
}

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

double parse_position(std::string_view token, int line_number) {
  double value = 0.0;
  const char* end = token.data() + token.size();
  const auto [stop, error] = std::from_chars(token.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) {
    constexpr std::size_t shown = 24;
    const std::string quoted(token.substr(0, shown));
    throw input_error("line " + std::to_string(line_number) +
                      ": bad number \"" + quoted +
                      (token.size() > shown ? "...\"" : "\""));
  }
  return value;
}

std::vector<double> parse_line(std::string_view line, int line_number) {
  line = line.substr(0, std::min(line.find('#'), line.size()));
  std::vector<double> positions;
  std::size_t pos = 0;
  while (pos < line.size()) {
    if (is_blank(line[pos])) {
      ++pos;
      continue;
    }
    std::size_t end = pos;
    while (end < line.size() && !is_blank(line[end])) ++end;
    positions.push_back(
        parse_position(line.substr(pos, end - pos), line_number));
    pos = end;
  }
  return positions;
}

}  // namespace

std::vector<std::vector<double>> read_edge_file(
    const std::vector<unsigned char>& bytes) {
  if (!std::all_of(bytes.begin(), bytes.end(), is_text_byte))
    throw input_error(
        "not an image (PNG, JPEG, TIFF, PBM or PGM) nor an edge file");
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()),
                              bytes.size());
  std::vector<std::vector<double>> lines;
  int line_number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::vector<double> positions =
        parse_line(text.substr(start, end - start), ++line_number);
    if (!positions.empty()) lines.push_back(std::move(positions));
    start = end + 1;
  }
  return lines;
}
