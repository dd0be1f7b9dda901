// What the scanner prints.
#include "output/report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace std::string_literals;

struct escape_case {
  std::string text;
  std::string as_text;
  std::string as_json;
};

TEST(Report, EscapesEveryControlCharacter) {
  const escape_case cases[] = {
      {"PLAIN text 1-2", "PLAIN text 1-2", "\"PLAIN text 1-2\""},
      {"a\nb\tc\rd", "a\\nb\\tc\\rd", "\"a\\nb\\tc\\rd\""},
      {"q\"uote\\", "q\\\"uote\\\\", "\"q\\\"uote\\\\\""},
      {"\0\x01\x1f\x7f"s, "\\x00\\x01\\x1f\\x7f",
       "\"\\u0000\\u0001\\u001f\\u007f\""},
      {"", "", "\"\""},
  };
  for (const escape_case& c : cases) {
    EXPECT_EQ(escape_text(c.text), c.as_text);
    EXPECT_EQ(json_string(c.text), c.as_json);
  }
}

vote_outcome read_outcome() {
  vote_outcome outcome;
  outcome.symbol = symbol_read{"Hi\x01", "7", true, 2.5};
  outcome.lines_agreed = 3;
  outcome.lines_read = 4;
  outcome.lines_rejected = 1;
  outcome.lines_tried = 9;
  return outcome;
}

vote_outcome unread_outcome(int rejected) {
  vote_outcome outcome;
  outcome.lines_rejected = rejected;
  outcome.lines_tried = 5;
  return outcome;
}

std::string text_report(const std::string& file, const vote_outcome& outcome) {
  std::ostringstream out;
  print_text_report(out, file, outcome);
  return out.str();
}

std::string json_report(const std::string& file, const vote_outcome& outcome) {
  std::ostringstream out;
  print_json_report(out, file, outcome);
  return out.str();
}

TEST(Report, TextLines) {
  EXPECT_EQ(text_report("a.png", read_outcome()),
            "a.png: \"Hi\\x01\" (3/9 lines)\n");
  EXPECT_EQ(text_report("b\n.png", unread_outcome(0)),
            "b\\n.png: no symbol read (0/5 lines)\n");
  EXPECT_EQ(text_report("c.png", unread_outcome(2)),
            "c.png: check character does not match (2/5 lines)\n");
}

TEST(Report, JsonObjects) {
  EXPECT_EQ(json_report("a.png", read_outcome()),
            "{\"file\":\"a.png\",\"text\":\"Hi\\u0001\",\"check_char\":\"7\","
            "\"reversed\":true,\"decode_time_us\":2.5,\"lines_agreed\":3,"
            "\"lines_read\":4,\"lines_rejected\":1,\"lines_tried\":9}\n");
  EXPECT_EQ(json_report("b.png", unread_outcome(2)),
            "{\"file\":\"b.png\",\"text\":null,\"lines_agreed\":0,"
            "\"lines_read\":0,\"lines_rejected\":2,\"lines_tried\":5}\n");
  std::ostringstream error;
  print_json_error(error, "c\".png", "truncated PNM image");
  EXPECT_EQ(error.str(),
            "{\"file\":\"c\\\".png\",\"error\":\"truncated PNM image\"}\n");
}

}  // namespace
