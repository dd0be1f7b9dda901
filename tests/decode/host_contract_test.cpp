// What a host sees beyond the text it reads: the entry points, the callbacks
// and when they run, the scan grade, and what a call leaves in the record.
#include <gtest/gtest.h>
#include <unistd.h>

#include <stdexcept>
#include <typeinfo>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

namespace {

TEST(EntryPoints, ServeSelectorZeroOnly) {
  decoder_1d_interface* first = new_server_interface(0);
  decoder_1d_interface* second = new_server_interface(0);
  EXPECT_NE(first, second);
  EXPECT_STREQ(typeid(*first).name(), "14tarn_code39ext");
  try {
    new_server_interface(-1);
    ADD_FAILURE() << "a selector other than 0 served";
  } catch (const std::exception& e) {
    EXPECT_EQ(typeid(e), typeid(std::exception));
  }
  EXPECT_THROW(delete_server_interface(7, first), std::exception);
  EXPECT_EQ(first->getversion(), "6.6.0.5300");  // still the caller's
  delete_server_interface(0, first);
  delete_server_interface(0, nullptr);
  delete second;  // the virtual destructor reaches the derived class
}

// What the host's callbacks do: fill_edges supplies `fill`; on_decoded sets
// passed_1..3 and grade_1..4 from `grades`, may refuse or throw, replaces
// `decoded` if asked, and notes whether the candidate was filed already.
struct host_script {
  std::vector<double> fill;
  int fill_calls = 0, fill_arg = 0, decoded_calls = 0;
  int grades[7] = {4, 4, 4, 4, 4, 4, 4};
  bool refuse = false, fail = false, filed_early = false;
  std::pair<std::string, std::string> replacement;
} script;

bool fill_edges(tarn_result& r, int arg) {
  ++script.fill_calls, script.fill_arg = arg, r.edges = script.fill;
  return false;  // the result is not used
}

void on_decoded(tarn_result& r) {
  ++script.decoded_calls;
  script.filed_early = r.candidates["Code39 Extended"].text != "earlier";
  if (script.fail) throw std::runtime_error("host");
  if (!script.replacement.first.empty()) decoded = script.replacement;
  const int* g = script.grades;
  r.passed_1 = g[0], r.passed_2 = g[1], r.passed_3 = g[2];
  r.grade_1 = g[3], r.grade_2 = g[4], r.grade_3 = g[5], r.grade_4 = g[6];
  if (script.refuse) r.decode_ok = false;
}

class HostContract : public ::testing::Test {
 protected:
  void SetUp() override { script = {}; }
  void TearDown() override { delete_server_interface(0, decoder_); }

  // Decodes into a record that an earlier call has written to. decode_ok
  // starts true only where the call must leave it: when it has no edges.
  bool decode(std::vector<double> edges, int flags = 0, bool fill = false,
              tarn_decoded_callback grade = on_decoded) {
    result_.edges = std::move(edges);
    result_.decode_ok = result_.edges.empty();
    result_.overall_grade = 99;
    filed_.text = "earlier";
    return decoder_->decode(result_, static_cast<TARN_CHECKSUMFLAGS>(flags),
                            fill ? fill_edges : nullptr, 42, grade);
  }

  decoder_1d_interface* decoder_ = new_server_interface(0);
  tarn_result result_;
  tarn_candidate_result& filed_ = result_.candidates["Code39 Extended"];
  const std::vector<double> symbol_ = code39::symbol_edges("CODE39W");
};

TEST_F(HostContract, EmptyEdgesAreFilledOnceOrLeaveTheRecordAlone) {
  EXPECT_FALSE(decode({}));
  EXPECT_TRUE(result_.decode_ok);  // not even decode_ok is written
  for (const auto& fill : {std::vector<double>{}, symbol_}) {
    script.fill = fill;
    EXPECT_EQ(decode({}, 0, true), !fill.empty());
    EXPECT_EQ(result_.decode_ok, !fill.empty());
  }
  EXPECT_TRUE(decode(symbol_, 0, true));
  EXPECT_EQ(script.fill_calls, 2);
  EXPECT_EQ(script.fill_arg, 42);
}

TEST_F(HostContract, OnDecodedGradesTheScanAndMayRefuseIt) {
  const struct {
    int grades[7];
    bool refuse;
    int overall;
  } cases[] = {
      {{1, 1, 1, 3, 3, 3, 3}, false, 3},   {{1, 1, 1, 5, 6, 5, 5}, false, 4},
      {{1, 0, 1, 4, 4, 4, 4}, false, 0},   {{1, 1, 1, 4, 4, 1, 4}, false, 1},
      {{1, 1, 1, 4, -2, 4, 4}, false, -2}, {{1, 1, 1, 4, 4, 4, 4}, true, 0},
  };
  for (const auto& c : cases) {
    std::copy(c.grades, c.grades + 7, script.grades);
    script.refuse = c.refuse;
    EXPECT_EQ(decode(symbol_), !c.refuse);
    EXPECT_EQ(result_.decode_ok, !c.refuse);
    EXPECT_EQ(result_.overall_grade, c.overall);
    EXPECT_EQ(filed_.text, c.refuse ? "earlier" : "CODE39W");
  }
  EXPECT_FALSE(script.filed_early);
  // Without the callback the grade is untouched; a failed scan calls none.
  EXPECT_TRUE(decode(symbol_, 0, false, nullptr));
  EXPECT_FALSE(decode(std::vector<double>(30, 1.0)));
  EXPECT_EQ(result_.overall_grade, 99);
  EXPECT_EQ(script.decoded_calls, 6);
}

TEST_F(HostContract, TheCandidateIsMadeFromDecodedAsTheCallbackLeftIt) {
  script.replacement = {"XYZ", "YZ"};
  for (int flags : {0, 1, 2}) {
    ASSERT_TRUE(decode(symbol_, flags));
    EXPECT_EQ(filed_.text, flags == 2 ? "X" : "XYZ");
    EXPECT_EQ(filed_.check_char, "YZ");
  }
  // A check string longer than the text is out of range when verifying,
  // thrown before the grade is written; the host's exceptions pass too.
  script.replacement = {"XYZ", "LONGER"};
  EXPECT_THROW(decode(symbol_, 2), std::out_of_range);
  EXPECT_EQ(result_.overall_grade, 99);
  script.fail = true;
  EXPECT_THROW(decode(symbol_), std::runtime_error);
  EXPECT_TRUE(result_.decode_ok);  // written before the callback
  EXPECT_EQ(filed_.text, "earlier");
  // The decode time runs from the start of each call, in microseconds.
  decode(symbol_, 0, false, [](tarn_result&) { usleep(30000); });
  EXPECT_GE(filed_.decode_time, 30000.0);
  decode(symbol_, 0, false, nullptr);
  EXPECT_LT(filed_.decode_time, 30000.0);
}

}  // namespace
