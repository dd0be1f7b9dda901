// Edge files: numbers, comments and the errors of bad ones.
#include "image/edge_file_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "image/input_error.h"

namespace {

std::vector<std::vector<double>> read(const std::string& text) {
  return read_edge_file(std::vector<unsigned char>(text.begin(), text.end()));
}

TEST(EdgeFileReader, ReadsOneScanLinePerLine) {
  EXPECT_EQ(
      read("# scans of one label\n1 2.5 3e1\t-4\r\n\n   # nothing here\n"
           "10 9.25 # the far end\n7"),
      (std::vector<std::vector<double>>{{1, 2.5, 30, -4}, {10, 9.25}, {7}}));
  EXPECT_TRUE(read("# only a comment\n\n").empty());
}

TEST(EdgeFileReader, BadNumbersNameTheirLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"1 2\n3 x4 5\n", "line 2: bad number \"x4\""},
      {"# c\n\n1,5", "line 3: bad number \"1,5\""},
      {"+1", "line 1: bad number \"+1\""},
      {"1 nan", "line 1: bad number \"nan\""},
      {"1e999", "line 1: bad number \"1e999\""},
      {std::string(30, '7') + "x",
       "line 1: bad number \"777777777777777777777777...\""},
      {"1 2\x01", "not a PNG, PBM or PGM image, nor an edge file"},
  };
  for (const auto& [text, message] : cases) {
    try {
      read(text);
      ADD_FAILURE() << "read: " << text;
    } catch (const input_error& e) {
      EXPECT_EQ(e.what(), message) << text;
    }
  }
}

}  // namespace
