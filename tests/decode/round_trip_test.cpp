// Whole decode calls on generated scan lines: random full-ASCII texts printed
// at random scales and read back in both directions, and damaged or random
// lines whose reading must match the reference reader's.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "tests/support/reference_reader.h"

namespace {

const std::string kSymbology = "Code39 Extended";

class Decode : public ::testing::Test {
 protected:
  std::mt19937 random_{20240611};
  decoder_1d_interface* decoder_ = new_server_interface(0);
  // One record for every call, with another decoder's entry beside ours.
  tarn_result record_;

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

  // Module widths of the characters must agree within 0.5 length units:
  // a narrow element of at most 20 units, jittered by 6 %, keeps them within
  // 0.2, and every element well inside its narrow or wide class.
  std::vector<double> random_print(const std::string& code) {
    const code39::print p = {uniform(0.5, 20.0), uniform(2.0, 3.6),
                             uniform(0.5, 20.0), uniform(-1e3, 1e3)};
    std::vector<double> edges = code39::symbol_edges(code, p);
    code39::jitter(edges, 0.06 * p.narrow, random_);
    return edges;
  }

  bool decode(const std::vector<double>& edges, int flags) {
    record_.candidates["Code 128"].text = "other decoder";
    record_.edges = edges;
    const bool read = decoder_->decode(
        record_, static_cast<TARN_CHECKSUMFLAGS>(flags), nullptr, 0, nullptr);
    EXPECT_EQ(read, record_.decode_ok);
    EXPECT_EQ(std::memcmp(record_.edges.data(), edges.data(),
                          edges.size() * sizeof(double)),
              0);
    EXPECT_EQ(record_.candidates["Code 128"].text, "other decoder");
    return read;
  }
  const tarn_candidate_result& filed() {
    return record_.candidates[kSymbology];
  }
};

TEST_F(Decode, TextsReadBackWithEveryCheckCharacterSetting) {
  enum { no_check, right_check, wrong_check };
  for (int i = 0; i < 1500; ++i) {
    const std::string text = random_text(30);
    std::string code = code39::to_code39(text);
    const int check = uniform(0, 2);
    const char right = code39::check_character(code);
    if (check == right_check) code += right;
    if (check == wrong_check)
      code += code39::characters[(code39::value(right) + uniform(1, 42)) % 43];
    // Without a check character, flags that verify fail by chance only.
    const int flags = check == no_check ? uniform(-1, 0) * 3 : uniform(0, 2);
    std::string expected = text;
    if (check != no_check) expected += code.back();
    if (flags > 0 && check == wrong_check) expected.clear();
    if (flags == 2 && check == right_check) expected.pop_back();

    const std::vector<double> edges = random_print(code);
    for (bool descending : {false, true}) {
      SCOPED_TRACE(testing::Message() << i << " \"" << code << "\" descending "
                                      << descending << ", flags " << flags);
      ASSERT_TRUE(decode(descending ? code39::reversed(edges) : edges, flags));
      EXPECT_EQ(filed().text, expected);
      EXPECT_EQ(filed().check_char,
                std::string(1, code39::check_character(
                                   code.substr(0, code.size() - 1))));
      EXPECT_EQ(filed().reversed, descending && !expected.empty());
      EXPECT_EQ(filed().bar_thicknesses, code39::element_list(edges));
      EXPECT_EQ(filed().confidence, 1.0);
    }
  }
}

// Damage of the kinds a scan line suffers, and lines of no symbol at all.
std::vector<double> damaged(std::vector<double> edges, int kind,
                            std::mt19937& random) {
  const auto pick = [&](std::size_t size) {
    return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
  };
  const auto factor = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  const std::size_t at = pick(edges.size());
  const double narrow = (edges[9] - edges[0]) / 12;
  switch (kind) {
    case 0: {  // one character drawn wider or narrower
      const std::size_t first = at / 10 * 10;
      const double stretch = factor(-0.6, 3.0);
      const double added = (edges[first + 9] - edges[first]) * stretch;
      for (std::size_t i = first + 1; i < edges.size(); ++i)
        edges[i] +=
            i < first + 10 ? (edges[i] - edges[first]) * stretch : added;
      break;
    }
    case 1:  // heavy jitter
      code39::jitter(edges, factor(0.1, 0.6) * narrow, random);
      break;
    case 2: {  // a module width that grows along the line
      const double front = edges.front(), growth = factor(0, 1.5);
      const double length = edges.back() - front;
      for (double& edge : edges)
        edge += (edge - front) * (edge - front) / length * growth;
      break;
    }
    case 3:  // a character's edges lost or doubled
      if (at % 2) edges.erase(edges.begin() + at, edges.begin() + at + 1);
      if (at % 2 == 0) edges.insert(edges.begin() + at, 10, edges[at]);
      break;
    case 4: {  // a position that is no number or out of all measure
      const double special[] = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(), 0.0,
                                -1e300, edges[at ? at - 1 : 0]};
      edges[at] = special[pick(5)];
      break;
    }
    default:  // random widths
      for (std::size_t i = 1; i < edges.size(); ++i)
        edges[i] = edges[i - 1] + factor(0.5, 3.0);
  }
  return edges;
}

TEST_F(Decode, DamagedLinesReadAsTheReferenceReadsThem) {
  int read = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string code = code39::to_code39(random_text(i % 10 ? 8 : 60));
    if (i % 50 == 0) code = std::string(uniform(95, 99), 'Q');
    std::vector<double> edges = damaged(random_print(code), i % 6, random_);
    if (i % 3 == 0) edges = code39::reversed(edges);
    SCOPED_TRACE(testing::Message() << i << " \"" << code << "\" damage "
                                    << i % 6 << ", " << edges.size());
    const reference::read_result expected = reference::read(edges);
    record_.candidates[kSymbology].text = "earlier";
    ASSERT_EQ(decode(edges, 0), expected.read);
    if (!expected.read) {
      EXPECT_EQ(filed().text, "earlier");
      continue;
    }
    ++read;
    EXPECT_EQ(filed().text, ::decode(expected.data_text).first);
    EXPECT_EQ(filed().bar_thicknesses, expected.counts);
    EXPECT_EQ(filed().reversed, expected.reversed);
  }
  EXPECT_GT(read, 500);
  EXPECT_LT(read, 2500);
}

}  // namespace
