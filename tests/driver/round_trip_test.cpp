// Generated symbols: random full-ASCII texts, printed at a random scale,
// wide/narrow ratio and gap, with jittered edges, read in both directions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "code39_encoder.h"
#include "plugin_host.h"

namespace {

class RoundTrip : public PluginHost {
 protected:
  std::mt19937 random_{20240611};

  double uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }

  // 1 to 30 ASCII codes, so the symbol stays within 98 inner characters.
  std::string random_text() {
    const int length = std::uniform_int_distribution<int>(1, 30)(random_);
    std::uniform_int_distribution<int> code(0, 127);
    std::string text;
    for (int i = 0; i < length; ++i) text += static_cast<char>(code(random_));
    return text;
  }

  // Module widths of the characters must agree within 0.5 length units:
  // a narrow element of at most 20 units jittered by 8% keeps them within
  // 0.27, and every element well inside its narrow or wide class.
  std::vector<double> random_print(const std::string& code) {
    code39::print p;
    p.narrow = uniform(0.5, 20.0);
    p.ratio = uniform(2.0, 3.0);
    p.gap = p.narrow * uniform(0.5, 5.0);
    p.origin = uniform(-1000.0, 1000.0);
    std::vector<double> edges = code39::symbol_edges(code, p);
    const double jitter = 0.08 * p.narrow;
    for (double& edge : edges) edge += uniform(-jitter, jitter);
    return edges;
  }
};

TEST_F(RoundTrip, GeneratedSymbolsReadInBothDirections) {
  for (int i = 0; i < 1000; ++i) {
    const std::string text = random_text();
    const bool with_check = i % 2 == 1;
    const int flags = with_check ? i / 2 % 3 : 0;
    std::string code = code39::to_code39(text);
    if (with_check) code += code39::check_character(code);
    const std::string expected = flags == 2   ? text
                                 : with_check ? text + code.back()
                                              : text;
    // What the decoder computes: the check over all but the last character.
    const std::string expected_check(
        1, code39::check_character(code.substr(0, code.size() - 1)));

    std::vector<double> edges = random_print(code);
    for (bool descending : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << "symbol " << i << " \"" << code << "\", descending "
                   << descending << ", flags " << flags);
      if (descending) std::reverse(edges.begin(), edges.end());
      tarn_result result = scan(edges, flags);
      ASSERT_TRUE(result.decode_ok);
      const tarn_candidate_result& candidate = result.candidates.at(kSymbology);
      EXPECT_EQ(candidate.text, expected);
      EXPECT_EQ(candidate.check_char, expected_check);
      EXPECT_EQ(candidate.reversed, descending);
      EXPECT_EQ(candidate.bar_thicknesses.size(), edges.size() - 1);
    }
  }
}

}  // namespace
