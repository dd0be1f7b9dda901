// What a host sees beyond the text it reads: the entry points, the callbacks
// and when they run, the scan grade, and what a call leaves in the record.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <typeinfo>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

namespace {

const std::string kSymbology = "Code39 Extended";

TEST(EntryPoints, ServeSelectorZeroOnly) {
  decoder_1d_interface* first = new_server_interface(0);
  decoder_1d_interface* second = new_server_interface(0);
  EXPECT_NE(first, second);
  EXPECT_STREQ(typeid(*first).name(), "14tarn_code39ext");
  for (int selector : {1, -1, 1 << 30}) {
    try {
      new_server_interface(selector);
      ADD_FAILURE() << selector;
    } catch (const std::exception& e) {
      EXPECT_EQ(typeid(e), typeid(std::exception));
    }
  }
  EXPECT_THROW(delete_server_interface(7, first), std::exception);
  EXPECT_EQ(first->getversion(), "6.6.0.5300");  // still the caller's
  delete_server_interface(0, first);
  delete_server_interface(0, nullptr);
  EXPECT_EQ(second->getversion(), "6.6.0.5300");
  delete second;  // the virtual destructor reaches the derived class
}

// What the host's callbacks do and what they saw.
struct host_script {
  std::vector<double> fill;
  int fill_arg = -1, fill_calls = 0, decoded_calls = 0;
  bool passed[3] = {true, true, true};
  int grades[4] = {4, 4, 4, 4};
  bool refuse = false, throw_error = false;
  std::pair<std::string, std::string> replace_decoded;
  bool filed_before_grading = false;
} script;

bool fill_edges(tarn_result& result, int arg) {
  ++script.fill_calls;
  script.fill_arg = arg;
  result.edges = script.fill;
  return false;  // the result is not used
}

void on_decoded(tarn_result& result) {
  ++script.decoded_calls;
  script.filed_before_grading = result.candidates[kSymbology].text != "earlier";
  if (script.throw_error) throw std::runtime_error("host");
  if (!script.replace_decoded.first.empty()) decoded = script.replace_decoded;
  result.passed_1 = script.passed[0];
  result.passed_2 = script.passed[1];
  result.passed_3 = script.passed[2];
  result.grade_1 = script.grades[0];
  result.grade_2 = script.grades[1];
  result.grade_3 = script.grades[2];
  result.grade_4 = script.grades[3];
  if (script.refuse) result.decode_ok = false;
}

class HostContract : public ::testing::Test {
 protected:
  void SetUp() override { script = {}; }
  void TearDown() override { delete_server_interface(0, decoder_); }

  // A record that an earlier call has written to.
  static tarn_result earlier_record(std::vector<double> edges) {
    tarn_result result;
    result.edges = std::move(edges);
    result.decode_ok = true;
    result.overall_grade = 99;
    result.candidates[kSymbology].text = "earlier";
    return result;
  }
  bool decode(tarn_result& result, int flags = 0, bool fill = false,
              bool grade = true) {
    return decoder_->decode(result, static_cast<TARN_CHECKSUMFLAGS>(flags),
                            fill ? fill_edges : nullptr, 42,
                            grade ? on_decoded : nullptr);
  }

  decoder_1d_interface* decoder_ = new_server_interface(0);
  const std::vector<double> symbol_ = code39::symbol_edges("CODE39W");
};

TEST_F(HostContract, EmptyEdgesAreFilledOnceOrLeaveTheRecordAlone) {
  tarn_result untouched = earlier_record({});
  EXPECT_FALSE(decode(untouched));
  EXPECT_TRUE(untouched.decode_ok);  // not even decode_ok is written
  EXPECT_EQ(untouched.overall_grade, 99);

  for (const std::vector<double>& fill : {std::vector<double>{}, symbol_}) {
    script.fill_calls = 0;
    script.fill = fill;
    tarn_result result = earlier_record({});
    EXPECT_EQ(decode(result, 0, true), !fill.empty());
    EXPECT_EQ(result.decode_ok, !fill.empty());
    EXPECT_EQ(script.fill_calls, 1);
    EXPECT_EQ(script.fill_arg, 42);
  }
  tarn_result given = earlier_record(symbol_);
  script.fill_calls = 0;
  EXPECT_TRUE(decode(given, 0, true));
  EXPECT_EQ(script.fill_calls, 0);
}

TEST_F(HostContract, OnDecodedGradesTheScanAndMayRefuseIt) {
  const struct {
    bool passed[3];
    int grades[4];
    bool refuse;
    int overall;
  } cases[] = {
      {{true, true, true}, {3, 3, 3, 3}, false, 3},
      {{true, true, true}, {4, 4, 4, 4}, false, 4},
      {{true, false, true}, {4, 4, 4, 4}, false, 0},
      {{true, true, true}, {4, 4, 1, 4}, false, 1},
      {{true, true, true}, {4, -2, 4, 4}, false, -2},
      {{true, true, true}, {4, 4, 4, 4}, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.overall);
    std::copy(c.passed, c.passed + 3, script.passed);
    std::copy(c.grades, c.grades + 4, script.grades);
    script.refuse = c.refuse;
    script.decoded_calls = 0;
    tarn_result result = earlier_record(symbol_);
    EXPECT_EQ(decode(result), !c.refuse);
    EXPECT_EQ(result.decode_ok, !c.refuse);
    EXPECT_EQ(result.overall_grade, c.overall);
    EXPECT_EQ(result.candidates[kSymbology].text,
              c.refuse ? "earlier" : "CODE39W");
    EXPECT_EQ(script.decoded_calls, 1);
    EXPECT_FALSE(script.filed_before_grading);
  }
  // Without the callback the grade is not touched; a failed scan calls none.
  script.decoded_calls = 0;
  for (const auto& edges : {symbol_, std::vector<double>(30, 1.0)}) {
    tarn_result result = earlier_record(edges);
    EXPECT_EQ(decode(result, 0, false, edges != symbol_), edges == symbol_);
    EXPECT_EQ(result.overall_grade, 99);
  }
  EXPECT_EQ(script.decoded_calls, 0);
}

TEST_F(HostContract, TheCandidateIsMadeFromDecodedAsTheCallbackLeftIt) {
  script.replace_decoded = {"XYZ", "YZ"};
  for (int flags : {0, 1, 2}) {
    tarn_result result = earlier_record(symbol_);
    ASSERT_TRUE(decode(result, flags));
    EXPECT_EQ(result.candidates[kSymbology].text, flags == 2 ? "X" : "XYZ");
    EXPECT_EQ(result.candidates[kSymbology].check_char, "YZ");
  }
  // A check string longer than the text is out of range when verifying,
  // thrown before the grade is written.
  script.replace_decoded = {"XYZ", "LONGER"};
  for (int flags : {1, 2}) {
    tarn_result result = earlier_record(symbol_);
    try {
      decode(result, flags);
      ADD_FAILURE() << "nothing thrown";
    } catch (const std::out_of_range& error) {
      EXPECT_STREQ(error.what(), "basic_string::substr");
    }
    EXPECT_EQ(result.overall_grade, 99);
    EXPECT_EQ(result.candidates[kSymbology].text, "earlier");
  }
}

TEST_F(HostContract, ExceptionsOfTheHostPassThrough) {
  script.throw_error = true;
  tarn_result result = earlier_record(symbol_);
  result.decode_ok = false;
  EXPECT_THROW(decode(result), std::runtime_error);
  EXPECT_TRUE(result.decode_ok);  // written before the callback
  EXPECT_EQ(result.candidates[kSymbology].text, "earlier");
}

void take_30_ms(tarn_result&) {
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

TEST_F(HostContract, TheDecodeTimeRunsFromTheStartOfEachCall) {
  // The host's clock counts microseconds.
  tarn_result result = earlier_record(symbol_);
  ASSERT_TRUE(
      decoder_->decode(result, TARN_CHECKSUM_NONE, nullptr, 0, take_30_ms));
  EXPECT_GE(result.candidates[kSymbology].decode_time, 30000.0);
  ASSERT_TRUE(decode(result, 0, false, false));
  EXPECT_LT(result.candidates[kSymbology].decode_time, 30000.0);
}

}  // namespace
