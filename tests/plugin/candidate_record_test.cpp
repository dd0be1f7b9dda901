// The shared records: copy semantics of tarn_candidate_result and filing it in
// a tarn_result's candidates map.
#include <gtest/gtest.h>

#include "tarn_interface.h"

namespace {

tarn_candidate_result sample_candidate() {
  tarn_candidate_result candidate;
  candidate.text = "CODE39";
  candidate.check_char = "W";
  candidate.confidence = 0.5;
  candidate.decode_time = 12.0;
  candidate.bar_thicknesses = {1, 2, 1, 0};
  candidate.reversed = true;
  return candidate;
}

void expect_same(const tarn_candidate_result& a,
                 const tarn_candidate_result& b) {
  EXPECT_EQ(a.text, b.text);
  EXPECT_EQ(a.check_char, b.check_char);
  EXPECT_EQ(a.confidence, b.confidence);
  EXPECT_EQ(a.decode_time, b.decode_time);
  EXPECT_EQ(a.bar_thicknesses, b.bar_thicknesses);
  EXPECT_EQ(a.reversed, b.reversed);
}

TEST(CandidateRecord, StartsFromItsDefaults) {
  const tarn_candidate_result candidate;
  EXPECT_EQ(candidate.text, "");
  EXPECT_EQ(candidate.check_char, "");
  EXPECT_EQ(candidate.confidence, 1.0);
  EXPECT_EQ(candidate.decode_time, 0.0);
  EXPECT_TRUE(candidate.bar_thicknesses.empty());
  EXPECT_FALSE(candidate.reversed);
}

TEST(CandidateRecord, CopiesAreIndependent) {
  tarn_candidate_result original = sample_candidate();
  const tarn_candidate_result copy(original);
  tarn_candidate_result assigned;
  assigned = original;
  original.text += "X";
  original.check_char.clear();
  original.bar_thicknesses.push_back(3);
  expect_same(copy, sample_candidate());
  expect_same(assigned, sample_candidate());
}

TEST(CandidateRecord, SelfAssignmentChangesNothing) {
  tarn_candidate_result candidate = sample_candidate();
  tarn_candidate_result& alias = candidate;
  candidate = alias;
  expect_same(candidate, sample_candidate());
}

TEST(CandidateRecord, FilingReplacesTheEntryUnderItsKeyOnly) {
  tarn_result result;
  tarn_candidate_result other;
  other.text = "other";
  result.candidates["Code 128"] = other;

  result.candidates["Code39 Extended"] = sample_candidate();
  tarn_candidate_result newer;
  newer.text = "NEWER";
  result.candidates["Code39 Extended"] = newer;

  ASSERT_EQ(result.candidates.size(), 2u);
  expect_same(result.candidates["Code39 Extended"], newer);
  EXPECT_EQ(result.candidates["Code 128"].text, "other");
}

}  // namespace
