// What the scanner prints for the pages of a file.
#include "output/report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "image/input_error.h"
#include "output/batch.h"

namespace {

using namespace std::string_literals;

TEST(Report, EscapesControlCharactersAndBytesOutsideUtf8) {
  // Valid UTF-8, then a stray byte, a cut sequence, an overlong form, a
  // surrogate and a code point beyond U+10FFFF.
  const std::string text =
      "\"\\\n\t\r\0\x1f\x7f \xc3\xa9\xf0\x9f\x98\x80 \xff\xc3 "
      "\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80"s;
  EXPECT_EQ(escape_text(text),
            "\\\"\\\\\\n\\t\\r\\x00\\x1f\\x7f \xc3\xa9\xf0\x9f\x98\x80 "
            "\\xff\\xc3 \\xc0\\xaf\\xed\\xa0\\x80\\xf4\\x90\\x80\\x80");
  EXPECT_EQ(json_string(text),
            "\"\\\"\\\\\\n\\t\\r\\u0000\\u001f\\u007f \xc3\xa9\xf0\x9f\x98\x80 "
            "\\u00ff\\u00c3 \\u00c0\\u00af\\u00ed\\u00a0\\u0080\\u00f4\\u0090"
            "\\u0080\\u0080\"");
}

found_symbol symbol(const std::string& text, bool located) {
  found_symbol s;
  s.read.text = text;
  s.own_check_char = text.substr(text.size() - 1);
  s.check_char_ok = s.located = located;
  s.corners = {point{10, 20}, point{110.04, 20}, point{110, 51}, point{10, 51}};
  s.angle = 359.6, s.module_size = 2.5;
  s.lines_agreed = 3, s.lines_tried = 9;
  return s;
}

// A located symbol, a broken page and a symbol not located.
page_report three_pages(int index) {
  if (index == 1) throw input_error("bad \"page\"");
  page_report page;
  page.symbols = {index ? symbol("C7", false) : symbol("A\1B", true)};
  return page;
}

TEST(Report, PagesSymbolsAndErrorsAsTextAndJson) {
  const file_report reports[] = {
      {"m\xff.tif", read_pages(3, three_pages)},
      {"b.png", read_pages(1, [](int) { return page_report(); })},
      {"c.png",
       read_pages(1, [](int) -> page_report { throw std::bad_alloc(); })},
  };
  const std::string text =
      "m\\xff.tif:1: \"A\\x01B\" at 60,36 angle 0 (3/9 lines)\n"
      "m\\xff.tif:3: \"C7\" (3/9 lines)\nb.png: no symbol read\n";
  const std::string json =
      "{\"file\":\"m\\u00ff.tif\",\"symbols\":[{\"page\":1,\"text\":"
      "\"A\\u0001B\","
      "\"check_char\":\"B\",\"check_char_ok\":true,\"corners\":[[10.0,20.0],"
      "[110.0,20.0],[110.0,51.0],[10.0,51.0]],\"angle\":359.6,\"module_size\":"
      "2.50,\"lines_agreed\":3,\"lines_tried\":9},{\"page\":3,\"text\":\"C7\","
      "\"check_char\":\"7\",\"check_char_ok\":false,\"corners\":null,\"angle\":"
      "null,\"module_size\":null,\"lines_agreed\":3,\"lines_tried\":9}]}\n"
      "{\"file\":\"m\\u00ff.tif\",\"page\":2,\"error\":\"bad \\\"page\\\"\"}\n"
      "{\"file\":\"b.png\",\"symbols\":[]}\n"
      "{\"file\":\"c.png\",\"error\":\"not enough memory\"}\n";
  for (const bool as_json : {false, true}) {
    std::ostringstream out, errors;
    for (const file_report& report : reports)
      print_report(out, errors, report, as_json);
    EXPECT_EQ(out.str(), as_json ? json : text);
    EXPECT_EQ(errors.str(),
              "tarn-scan: m\\xff.tif:2: bad \"page\"\n"
              "tarn-scan: c.png: not enough memory\n");
  }
}

}  // namespace
