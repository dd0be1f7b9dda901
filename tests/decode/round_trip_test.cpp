// Whole decode calls on generated scan lines: random full-ASCII texts printed
// at random scales and read back in both directions with every check
// character setting, and damaged or random lines, which must read exactly as
// the reference reader reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "tests/support/reference_reader.h"

namespace {

class Decode : public ::testing::Test {
 protected:
  void TearDown() override { delete_server_interface(0, decoder_); }
  int uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
  }
  double uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }
  std::string random_text(int max_length) {
    std::string text(uniform(1, max_length), ' ');
    for (char& c : text) c = static_cast<char>(uniform(0, 127));
    return text;
  }
  // Narrow elements up to 20 units jittered by 6 % keep the characters'
  // module widths within 0.2 units, and every element inside its class.
  std::vector<double> random_print(const std::string& code) {
    const code39::print p = {uniform(0.5, 20.0), uniform(2.0, 3.6),
                             uniform(0.5, 20.0), uniform(-1e3, 1e3)};
    std::vector<double> edges = code39::symbol_edges(code, p);
    for (double& edge : edges) edge += uniform(-0.06, 0.06) * p.narrow;
    return edges;
  }
  // One record for all calls.
  bool decode(const std::vector<double>& edges, int flags = 0) {
    result_.candidates["Code39 Extended"].text = "earlier";
    result_.edges = edges;
    const bool read = decoder_->decode(
        result_, static_cast<TARN_CHECKSUMFLAGS>(flags), nullptr, 0, nullptr);
    EXPECT_EQ(read, result_.decode_ok);
    EXPECT_EQ(std::memcmp(result_.edges.data(), edges.data(), edges.size() * 8),
              0);
    return read;
  }

  std::mt19937 random_{20240611};
  decoder_1d_interface* decoder_ = new_server_interface(0);
  tarn_result result_;
  const tarn_candidate_result& filed_ = result_.candidates["Code39 Extended"];
};

TEST_F(Decode, TextsReadBackWithEveryCheckCharacterSetting) {
  for (int i = 0; i < 1500; ++i) {
    const std::string text = random_text(30);
    std::string code = code39::to_code39(text);
    // No check character, the right one or a wrong one. Without one, flags
    // that verify would pass by chance only, so only the others are given.
    const int check = uniform(0, 2);
    const int flags = check ? uniform(0, 2) : uniform(-1, 0) * 3;
    if (check)
      code += code39::check_character(code, check == 2 ? uniform(1, 42) : 0);
    std::string expected = check ? text + code.back() : text;
    if (flags > 0 && check == 2) expected.clear();
    if (flags == 2 && check == 1) expected.pop_back();
    const std::vector<double> edges = random_print(code);
    for (bool descending : {false, true}) {
      SCOPED_TRACE(testing::Message() << i << " \"" << code << "\" descending "
                                      << descending << ", flags " << flags);
      ASSERT_TRUE(decode(descending ? code39::reversed(edges) : edges, flags));
      EXPECT_EQ(filed_.text, expected);
      EXPECT_EQ(filed_.check_char,
                std::string(1, code39::check_character(
                                   code.substr(0, code.size() - 1))));
      EXPECT_EQ(filed_.reversed, descending && !expected.empty());
    }
  }
}

// Lines as scans damage them, and lines of no symbol at all.
std::vector<double> damaged(std::vector<double> edges, int kind, double at) {
  const std::size_t edge = static_cast<std::size_t>(at * edges.size());
  const std::size_t first = edge / 10 * 10;  // of the character holding it
  const double stretch = at * 4 - 1, narrow = (edges[9] - edges[0]) / 12;
  const double special[] = {NAN, INFINITY, -1e300,
                            edges[edge > 0 ? edge - 1 : 1]};
  const double added = (edges[first + 9] - edges[first]) * stretch;
  // Widened, smudged, one odd position, one missing, random, or a character
  // folded back onto itself, its width 0.
  for (std::size_t i = 1; i < edges.size(); ++i) {
    if (kind == 0 && i > first)
      edges[i] += i < first + 10 ? (edges[i] - edges[first]) * stretch : added;
    if (kind == 4)
      edges[i] = edges[i - 1] + std::fmod(edges[i] * 7.3, 2.5) + 0.5;
  }
  for (std::size_t i = 0; kind == 1 && i < edges.size(); ++i)
    edges[i] += 0.4 * narrow * std::sin(i * at * 7);
  if (kind == 2) edges[edge] = special[edge % 4];
  if (kind == 3) edges.erase(edges.begin() + static_cast<long>(edge));
  for (std::size_t k = 0; kind == 5 && k < 5; ++k)
    edges[first + 5 + k] = edges[first + 4 - k];
  return edges;
}

TEST_F(Decode, DamagedLinesReadAsTheReferenceReadsThem) {
  int read = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string code = code39::to_code39(random_text(i % 10 ? 8 : 60));
    if (i % 50 == 0) code = std::string(uniform(95, 99), 'Q');
    // Long symbols come whole, to meet the limit of 1000 edges exactly.
    std::vector<double> edges =
        damaged(random_print(code), i % 50 ? i % 6 : 6, uniform(0.0, 0.999));
    if (i / 6 % 3 == 0) edges = code39::reversed(edges);
    SCOPED_TRACE(testing::Message() << i << " \"" << code << "\" damage "
                                    << i % 6 << ", " << edges.size());
    const reference::read_result expected = reference::read(edges);
    decode(code39::symbol_edges("A", {1, 1, 1, 0}));  // a line of no symbol
    ASSERT_EQ(decode(edges), expected.read);
    if (expected.parsed) {  // else the parser's globals stay as they were
      EXPECT_EQ(_bar_thicknesses, expected.counts);
      EXPECT_EQ(_index, expected.last_parse.next_entry);
      EXPECT_EQ(yychar, expected.last_parse.lookahead);
    }
    read += expected.read;
    EXPECT_EQ(filed_.text,
              expected.read ? ::decode(expected.data_text).first : "earlier");
    if (!expected.read) continue;
    EXPECT_EQ(filed_.bar_thicknesses, expected.counts);
    EXPECT_EQ(filed_.reversed, expected.reversed);
  }
  EXPECT_GT(read, 300);  // else the damage leaves too little to compare
}

}  // namespace
