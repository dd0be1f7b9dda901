// The candidate a decode call files is made from `decoded` after on_decoded
// has run, and before the overall grade is written: a host that alters
// `decoded` in its callback sees its own strings filed, or an out-of-range
// check string thrown before anything more of its record changes.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "code39_encoder.h"
#include "grammar/parser.h"
#include "plugin/tarn_code39ext.h"

namespace {

const std::string kSymbology = "Code39 Extended";

std::pair<std::string, std::string> host_decoded;

void replace_decoded(tarn_result& result) {
  decoded = host_decoded;
  result.grade_1 = 1;  // every grade otherwise stays 0
}

tarn_result earlier_record() {
  tarn_result result;
  result.edges = code39::symbol_edges("CODE39W");
  result.overall_grade = 99;
  result.candidates[kSymbology].text = "earlier";
  return result;
}

TEST(FiledCandidate, IsMadeFromDecodedAsTheCallbackLeftIt) {
  const struct {
    std::pair<std::string, std::string> decoded;
    int flags;
    const char* text;
  } cases[] = {
      {{"XYZ", "Z"}, 0, "XYZ"}, {{"XYZ", "Z"}, 1, "XYZ"},
      {{"XYZ", "Z"}, 2, "XY"},  {{"XYZ", "YZ"}, 2, "X"},
      {{"XYZ", "A"}, 1, ""},    {{"XYZ", "LONGER"}, 0, "XYZ"},
  };
  const tarn_code39ext decoder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.decoded.first + " / " + c.decoded.second);
    host_decoded = c.decoded;
    tarn_result result = earlier_record();
    EXPECT_EQ(decoder.decode(result, static_cast<TARN_CHECKSUMFLAGS>(c.flags),
                             nullptr, 0, replace_decoded),
              true);
    const tarn_candidate_result& filed = result.candidates.at(kSymbology);
    EXPECT_EQ(filed.text, c.text);
    EXPECT_EQ(filed.check_char, c.decoded.second);
    EXPECT_EQ(result.overall_grade, 0);
  }
}

TEST(FiledCandidate, ACheckLongerThanTheTextThrowsBeforeTheGradeIsWritten) {
  host_decoded = {"XYZ", "LONGER"};
  const tarn_code39ext decoder;
  for (int verifying : {1, 2}) {
    tarn_result result = earlier_record();
    EXPECT_THROW(
        decoder.decode(result, static_cast<TARN_CHECKSUMFLAGS>(verifying),
                       nullptr, 0, replace_decoded),
        std::out_of_range);
    EXPECT_EQ(result.overall_grade, 99);
    EXPECT_EQ(result.candidates.at(kSymbology).text, "earlier");
  }
}

}  // namespace
