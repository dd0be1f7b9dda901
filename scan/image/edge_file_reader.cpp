#include "image/edge_file_reader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "image/input_error.h"
#include "image/unknown_input.h"

namespace {

constexpr std::string_view byte_order_mark = "\xef\xbb\xbf";
// No position is written with more characters; longer words are bad.
constexpr std::size_t longest_number = 64;

bool is_blank(int c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// A word meant as a number, even a bad one; others mean another format.
bool number_like(char c) { return std::strchr("0123456789+-.", c) != nullptr; }

double parse_position(const std::string& word, int line_number) {
  double value = 0.0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (word.size() > longest_number || error != std::errc() || stop != end ||
      !std::isfinite(value)) {
    constexpr std::size_t shown = 24;
    throw input_error("line " + std::to_string(line_number) +
                      ": bad number \"" + word.substr(0, shown) +
                      (word.size() > shown ? "...\"" : "\""));
  }
  return value;
}

// Reads the stream a byte at a time: no line or word is held longer than
// a number may be.
class edge_parser {
 public:
  explicit edge_parser(std::string_view head) : head_(head) {}

  void take(int c) {
    if (c == '\n') {
      end_line();
    } else if (comment_) {
    } else if (c == '#') {
      end_word();
      comment_ = true;
    } else if (is_blank(c)) {
      end_word();
    } else if (word_.size() <= longest_number) {
      word_ += static_cast<char>(c);
    }
  }

  std::vector<std::vector<double>> finish() {
    end_line();
    return std::move(lines_);
  }

 private:
  void end_word() {
    if (word_.empty()) return;
    if (positions_ == 0 && !number_like(word_[0])) throw not_an_input(head_);
    if (++positions_ > max_edge_positions)
      throw input_error("edge file of more than " +
                        std::to_string(max_edge_positions) + " positions");
    line_.push_back(parse_position(word_, line_number_));
    word_.clear();
  }

  void end_line() {
    end_word();
    if (!line_.empty() && lines_.size() == max_edge_lines)
      throw input_error("edge file of more than " +
                        std::to_string(max_edge_lines) + " lines");
    if (!line_.empty()) lines_.push_back(std::move(line_));
    line_.clear();
    comment_ = false;
    ++line_number_;
  }

  std::string_view head_;
  std::vector<std::vector<double>> lines_;
  std::vector<double> line_;
  std::string word_;
  std::size_t positions_ = 0;
  int line_number_ = 1;
  bool comment_ = false;
};

}  // namespace

std::vector<std::vector<double>> read_edge_file(input_file& input) {
  std::string_view head = input.head();
  std::FILE* in = input.stream();
  if (head.substr(0, byte_order_mark.size()) == byte_order_mark) {
    head.remove_prefix(byte_order_mark.size());
    for (std::size_t i = 0; i < byte_order_mark.size(); ++i) getc(in);
  }
  if (!looks_like_text(head)) throw not_an_input(head);
  edge_parser parser(head);
  for (int c; (c = getc_unlocked(in)) != EOF;) parser.take(c);
  if (std::ferror(in)) {
    input.check_limit();
    throw input_error(std::strerror(errno));
  }
  return parser.finish();
}
