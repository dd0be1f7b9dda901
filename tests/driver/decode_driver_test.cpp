// Whole decode calls: edge counts, scan directions, check-character flags,
// the host's callbacks and what lands in its record.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <stdexcept>
#include <thread>

#include "code39_encoder.h"
#include "plugin_host.h"

namespace {

// "*", "A", "*" with narrow elements 1 and wide elements 2 long, gaps 1.
const std::vector<double> kStarAStar = {0,  1,  3,  4,  5,  7,  8,  10, 11, 12,
                                        13, 15, 16, 17, 18, 19, 21, 22, 23, 25,
                                        26, 27, 29, 30, 31, 33, 34, 36, 37, 38};
const std::vector<char> kStarAStarCounts = {1, 2, 1, 1, 2, 1, 2, 1, 1, 0,
                                            2, 1, 1, 1, 1, 2, 1, 1, 2, 0,
                                            1, 2, 1, 1, 2, 1, 2, 1, 1};

std::vector<double> reversed(std::vector<double> edges) {
  std::reverse(edges.begin(), edges.end());
  return edges;
}

std::vector<double> symbol(const std::string& code) {
  return code39::symbol_edges(code);
}

// Draws character c of the symbol `factor` times as wide as the others.
std::vector<double> widen_character(const std::vector<double>& edges, int c,
                                    double factor) {
  std::vector<double> widened = {edges[0]};
  for (std::size_t i = 1; i < edges.size(); ++i) {
    const bool in_character = static_cast<int>(i - 1) / 10 == c;
    const double width = edges[i] - edges[i - 1];
    widened.push_back(widened.back() + (in_character ? factor : 1) * width);
  }
  return widened;
}

// The module width runs from `from` to `to` along the symbol: each position
// x of a unit-width symbol of length L moves to from*x + (to-from)*x*x/(2L).
std::vector<double> drifting(const std::vector<double>& edges, double from,
                             double to) {
  const double length = edges.back();
  std::vector<double> drifted;
  for (double x : edges)
    drifted.push_back(from * x + (to - from) * x * x / (2 * length));
  return drifted;
}

using PlainDecode = PluginHost;

TEST_F(PlainDecode, ReadsTheWorkedSymbolInEitherOrderWithEveryFlag) {
  struct flag_case {
    bool descending;
    int flags;
    const char* text;
    bool reversed;
  } const cases[] = {
      {false, 0, "A", false}, {false, 1, "", false},   {false, 2, "", false},
      {false, 3, "A", false}, {false, -1, "A", false}, {true, 0, "A", true},
      {true, 1, "", false},   {true, 2, "", false},    {true, 7, "A", true},
  };
  for (const flag_case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "descending " << c.descending << ", flags " << c.flags);
    const std::vector<double> edges =
        c.descending ? reversed(kStarAStar) : kStarAStar;
    tarn_result result;
    result.edges = edges;
    EXPECT_TRUE(decode(result, c.flags));
    EXPECT_TRUE(result.decode_ok);
    EXPECT_EQ(result.edges, edges);
    ASSERT_EQ(result.candidates.size(), 1u);
    const tarn_candidate_result& candidate = result.candidates.at(kSymbology);
    EXPECT_EQ(candidate.text, c.text);
    EXPECT_EQ(candidate.check_char, "0");
    EXPECT_EQ(candidate.reversed, c.reversed);
    EXPECT_EQ(candidate.confidence, 1.0);
    EXPECT_EQ(candidate.bar_thicknesses, kStarAStarCounts);
  }
}

TEST_F(PlainDecode, AWrongCheckCharacterIsStillADecode) {
  struct check_case {
    const char* code;
    int flags;
    const char* text;
  } const cases[] = {
      {"CODE39W", 0, "CODE39W"}, {"CODE39W", 1, "CODE39W"},
      {"CODE39W", 2, "CODE39"},  {"CODE39X", 0, "CODE39X"},
      {"CODE39X", 1, ""},        {"CODE39X", 2, ""},
  };
  for (const check_case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << ", flags " << c.flags);
    for (bool descending : {false, true}) {
      const std::vector<double> edges = symbol(c.code);
      tarn_result result = scan(descending ? reversed(edges) : edges, c.flags);
      EXPECT_TRUE(result.decode_ok);
      const tarn_candidate_result& candidate = result.candidates.at(kSymbology);
      EXPECT_EQ(candidate.text, c.text);
      EXPECT_EQ(candidate.check_char, "W");
      EXPECT_EQ(candidate.reversed, descending && *c.text);
    }
  }
}

TEST_F(PlainDecode, AcceptsOnlyWholeSymbolsThatFitTheWidthTable) {
  const std::string inner_98(98, 'Q');
  struct count_case {
    const char* name;
    std::vector<double> edges;
    const char* text;  // nullptr: no decode
  } const cases[] = {
      {"20: no inner character", symbol(""), nullptr},
      {"29", std::vector<double>(kStarAStar.begin(), kStarAStar.end() - 1),
       nullptr},
      {"31",
       [] {
         std::vector<double> edges = kStarAStar;
         edges.push_back(39);
         return edges;
       }(),
       nullptr},
      {"30", kStarAStar, "A"},
      {"1000: 98 inner characters", symbol(inner_98), inner_98.c_str()},
      {"1010: 99 inner characters", symbol(inner_98 + "Q"), nullptr},
  };
  for (const count_case& c : cases) {
    SCOPED_TRACE(c.name);
    tarn_result result;
    result.edges = c.edges;
    result.decode_ok = true;
    EXPECT_EQ(decode(result), c.text != nullptr);
    EXPECT_EQ(result.decode_ok, c.text != nullptr);
    if (c.text) {
      EXPECT_EQ(result.candidates.at(kSymbology).text, c.text);
      EXPECT_EQ(result.candidates.at(kSymbology).bar_thicknesses.size(),
                c.edges.size() - 1);
    } else {
      EXPECT_TRUE(result.candidates.empty());
    }
  }
}

TEST_F(PlainDecode, FollowsASlowlyDriftingModuleWidth) {
  const std::vector<double> edges = symbol("CODE39 DRIFT");
  // Standard deviations of the character module widths about 0.4 and 1.2.
  struct drift_case {
    double from, to;
    bool decodes;
  } const cases[] = {{2.0, 3.5, true}, {2.0, 6.0, false}};
  for (const drift_case& c : cases) {
    for (bool descending : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.from << " to " << c.to
                                      << ", descending " << descending);
      const std::vector<double> drifted = drifting(edges, c.from, c.to);
      tarn_result result = scan(descending ? reversed(drifted) : drifted);
      ASSERT_EQ(result.decode_ok, c.decodes);
      if (c.decodes) {
        EXPECT_EQ(result.candidates.at(kSymbology).text, "CODE39 DRIFT");
      }
    }
  }
}

TEST_F(PlainDecode, TheWidthCheckLeavesOutTheLastCharacterInListOrder) {
  const std::vector<double> edges = symbol("AB12CD");  // 8 characters
  struct odd_one_case {
    const char* name;
    bool descending;
    int wide_character;  // in symbol order: 0 start, 7 stop
    bool decodes;
  } const cases[] = {
      {"scan order, stop left out", false, 7, true},
      {"scan order, start checked", false, 0, false},
      {"opposite order, stop left out of the reverse check", true, 7, true},
      {"opposite order, start checked in reverse", true, 0, false},
  };
  for (const odd_one_case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<double> widened =
        widen_character(edges, c.wide_character, 4.0);
    tarn_result result = scan(c.descending ? reversed(widened) : widened);
    ASSERT_EQ(result.decode_ok, c.decodes);
    if (c.decodes) {
      EXPECT_EQ(result.candidates.at(kSymbology).text, "AB12CD");
      EXPECT_EQ(result.candidates.at(kSymbology).reversed, c.descending);
    }
  }
}

TEST_F(PlainDecode, SurvivesNonFinitePositions) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const auto with = [](std::size_t index, double position) {
    std::vector<double> edges = kStarAStar;
    edges[index] = position;
    return edges;
  };
  struct position_case {
    const char* name;
    std::vector<double> edges;
  } const failing[] = {
      {"all positions coincide", std::vector<double>(30, 4.0)},
      {"NaN in the start character", with(4, nan)},
      {"NaN in the data character", with(15, nan)},
      {"NaN first", with(0, nan)},
      {"infinite last", with(29, inf)},
  };
  for (const position_case& c : failing) {
    SCOPED_TRACE(c.name);
    for (bool descending : {false, true}) {
      tarn_result result = scan(descending ? reversed(c.edges) : c.edges, 0);
      EXPECT_FALSE(result.decode_ok);
      EXPECT_TRUE(result.candidates.empty());
    }
  }

  // Between two narrow elements of the stop character, which the width
  // check leaves out, NaN counts 0 (narrow) and the symbol still reads.
  tarn_result result = scan(with(23, nan));
  ASSERT_TRUE(result.decode_ok);
  std::vector<char> counts = kStarAStarCounts;
  counts[22] = counts[23] = 0;
  EXPECT_EQ(result.candidates.at(kSymbology).bar_thicknesses, counts);
  EXPECT_EQ(result.candidates.at(kSymbology).text, "A");
}

// --- The host's callbacks -------------------------------------------------

struct callback_log {
  int fill_calls = 0;
  int fill_arg = 0;
  int decoded_calls = 0;
  bool decode_ok_seen = false;  // decode_ok when on_decoded ran
  std::string filed_seen;       // text filed under the key by then
} host_log;

bool fill_star_a_star(tarn_result& result, int arg) {
  ++host_log.fill_calls;
  host_log.fill_arg = arg;
  result.edges = kStarAStar;
  return false;  // the result is not used
}

bool fill_nothing(tarn_result&, int arg) {
  ++host_log.fill_calls;
  host_log.fill_arg = arg;
  return true;
}

// What grade_scan writes into the record.
struct grading {
  bool passed[3];
  int grades[4];
  bool keep;  // false: the host refuses the symbol
} host_grading;

constexpr grading kAllBest = {{true, true, true}, {4, 4, 4, 4}, true};

void grade_scan(tarn_result& result) {
  ++host_log.decoded_calls;
  host_log.decode_ok_seen = result.decode_ok;
  host_log.filed_seen = result.candidates.at(kSymbology).text;
  result.passed_1 = host_grading.passed[0];
  result.passed_2 = host_grading.passed[1];
  result.passed_3 = host_grading.passed[2];
  result.grade_1 = host_grading.grades[0];
  result.grade_2 = host_grading.grades[1];
  result.grade_3 = host_grading.grades[2];
  result.grade_4 = host_grading.grades[3];
  if (!host_grading.keep) result.decode_ok = false;
}

// A record that an earlier call has written to.
tarn_result earlier_record(std::vector<double> edges) {
  tarn_result result;
  result.edges = std::move(edges);
  result.decode_ok = true;
  result.overall_grade = 99;
  result.candidates[kSymbology].text = "earlier";
  return result;
}

class Callbacks : public PluginHost {
 protected:
  void SetUp() override {
    host_log = {};
    host_grading = kAllBest;
  }
};

TEST_F(Callbacks, FillEdgesRunsOnceAndOnlyForEmptyEdges) {
  struct fill_case {
    const char* name;
    std::vector<double> edges;
    tarn_fill_edges_callback fill;
    int calls;
    bool decodes;
    bool decode_ok;
  } const cases[] = {
      {"empty, no callback: the record stays as it was",
       {},
       nullptr,
       0,
       false,
       true},
      {"empty, filled", {}, fill_star_a_star, 1, true, true},
      {"empty, left empty", {}, fill_nothing, 1, false, false},
      {"already there", kStarAStar, fill_nothing, 0, true, true},
  };
  for (const fill_case& c : cases) {
    SCOPED_TRACE(c.name);
    host_log = {};
    tarn_result result = earlier_record(c.edges);
    EXPECT_EQ(decode(result, 0, c.fill, 42, grade_scan), c.decodes);
    EXPECT_EQ(result.decode_ok, c.decode_ok);
    EXPECT_EQ(host_log.fill_calls, c.calls);
    EXPECT_EQ(host_log.fill_arg, c.calls ? 42 : 0);
    EXPECT_EQ(host_log.decoded_calls, c.decodes ? 1 : 0);
    EXPECT_EQ(result.overall_grade, c.decodes ? 4 : 99);
    EXPECT_EQ(result.candidates.at(kSymbology).text,
              c.decodes ? "A" : "earlier");
  }
}

TEST_F(Callbacks, OnDecodedGradesTheScanAndMayRefuseIt) {
  struct grade_case {
    const char* name;
    std::vector<double> edges;
    tarn_decoded_callback on_decoded;
    grading set;
    int calls;
    int overall;
    const char* filed;  // "earlier": nothing filed
  } const cases[] = {
      {"all passed, grades 3",
       kStarAStar,
       grade_scan,
       {{true, true, true}, {3, 3, 3, 3}, true},
       1,
       3,
       "A"},
      {"all best", kStarAStar, grade_scan, kAllBest, 1, 4, "A"},
      {"one failed",
       kStarAStar,
       grade_scan,
       {{true, false, true}, {4, 4, 4, 4}, true},
       1,
       0,
       "A"},
      {"one grade 1",
       kStarAStar,
       grade_scan,
       {{true, true, true}, {4, 4, 1, 4}, true},
       1,
       1,
       "A"},
      {"grades compare signed",
       kStarAStar,
       grade_scan,
       {{true, true, true}, {4, -2, 4, 4}, true},
       1,
       -2,
       "A"},
      {"refused by the host",
       kStarAStar,
       grade_scan,
       {{true, true, true}, {4, 4, 4, 4}, false},
       1,
       0,
       "earlier"},
      {"no callback: grade left alone", kStarAStar, nullptr, kAllBest, 0, 99,
       "A"},
      {"failed scan", widen_character(symbol("AB"), 0, 4.0), grade_scan,
       kAllBest, 0, 99, "earlier"},
  };
  for (const grade_case& c : cases) {
    SCOPED_TRACE(c.name);
    host_log = {};
    host_grading = c.set;
    tarn_result result = earlier_record(c.edges);
    const bool filed = std::string(c.filed) != "earlier";
    EXPECT_EQ(decode(result, 0, nullptr, 0, c.on_decoded), filed);
    EXPECT_EQ(result.decode_ok, filed);
    EXPECT_EQ(result.overall_grade, c.overall);
    EXPECT_EQ(result.candidates.at(kSymbology).text, c.filed);
    EXPECT_EQ(host_log.decoded_calls, c.calls);
    if (c.calls) {
      EXPECT_TRUE(host_log.decode_ok_seen);
      EXPECT_EQ(host_log.filed_seen, "earlier");
    }
  }
}

TEST_F(Callbacks, EachDecodeReplacesItsOwnEntryOnly) {
  tarn_result result;
  result.candidates["Code 128"].text = "other decoder";
  result.edges = kStarAStar;
  ASSERT_TRUE(decode(result));
  result.edges = reversed(symbol("CODE39W"));
  ASSERT_TRUE(decode(result, 2));
  ASSERT_EQ(result.candidates.size(), 2u);
  EXPECT_EQ(result.candidates.at("Code 128").text, "other decoder");
  const tarn_candidate_result& filed = result.candidates.at(kSymbology);
  EXPECT_EQ(filed.text, "CODE39");
  EXPECT_TRUE(filed.reversed);
  EXPECT_EQ(filed.bar_thicknesses.size(), 89u);
}

void throw_from_host(tarn_result&) { throw std::runtime_error("host"); }

TEST_F(Callbacks, ExceptionsFromTheHostPassThrough) {
  tarn_result result;
  result.edges = kStarAStar;
  EXPECT_THROW(decode(result, 0, nullptr, 0, throw_from_host),
               std::runtime_error);
  EXPECT_TRUE(result.decode_ok);  // written before the callback
  EXPECT_TRUE(result.candidates.empty());
}

void take_50_ms(tarn_result&) {
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

TEST_F(Callbacks, TheDecodeTimeRunsFromTheStartOfEachCall) {
  // The host's clock counts microseconds.
  tarn_result result;
  result.edges = kStarAStar;
  ASSERT_TRUE(decode(result, 0, nullptr, 0, take_50_ms));
  EXPECT_GE(result.candidates.at(kSymbology).decode_time, 50000.0);
  ASSERT_TRUE(decode(result));
  EXPECT_LT(result.candidates.at(kSymbology).decode_time, 50000.0);
}

}  // namespace
