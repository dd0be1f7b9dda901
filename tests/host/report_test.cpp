// What the scanner prints for the pages of a file.
#include "report/report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace std::string_literals;

TEST(Report, EscapesControlCharactersAndBytesOutsideUtf8) {
  // Valid UTF-8 (the lowest two- and four-byte leads among it), then a stray
  // byte, a cut sequence, overlong forms, a surrogate, a code point beyond
  // U+10FFFF and a three-byte form cut by ASCII.
  const std::string text =
      "\"\\\n\t\r\0\x1f\x7f \xc3\xa9\xc2\xa9\xf0\x90\x80\x80 \xff\xc3 "
      "\xc0\xaf\xf0\x8f\xbf\xbf\xed\xa0\x80\xf4\x90\x80\x80\xe2\x82("s;
  EXPECT_EQ(escape_text(text),
            "\\\"\\\\\\n\\t\\r\\x00\\x1f\\x7f \xc3\xa9\xc2\xa9\xf0\x90\x80\x80 "
            "\\xff\\xc3 \\xc0\\xaf\\xf0\\x8f\\xbf\\xbf\\xed\\xa0\\x80\\xf4\\x90"
            "\\x80\\x80\\xe2\\x82(");
  EXPECT_EQ(
      json_string(text),
      "\"\\\"\\\\\\n\\t\\r\\u0000\\u001f\\u007f \xc3\xa9\xc2\xa9\xf0\x90\x80"
      "\x80 \\u00ff\\u00c3 \\u00c0\\u00af\\u00f0\\u008f\\u00bf\\u00bf\\u00ed"
      "\\u00a0\\u0080\\u00f4\\u0090\\u0080\\u0080\\u00e2\\u0082(\"");
}

// A broken page among good ones, a file that ran out of memory, and one
// whose every page failed, two alike; the symbols' own lines are the
// samples' recorded reports.
TEST(Report, ErrorsOfPagesAndFiles) {
  const file_report reports[] = {
      {"m\xff.tif", {{1, {}, ""}, {2, {}, "bad \"page\""}, {3, {}, ""}}},
      {"c.png", {{0, {}, "not enough memory"}}},
      {"t.tif", {{1, {}, "cut\n"}, {2, {}, "cut\n"}, {3, {}, "bad"}}},
  };
  for (const bool as_json : {false, true}) {
    std::ostringstream out, errors;
    for (const file_report& report : reports)
      print_report(out, errors, report, as_json);
    EXPECT_EQ(
        out.str(),
        as_json ? "{\"file\":\"m\\u00ff.tif\",\"symbols\":[]}\n"
                  "{\"file\":\"m\\u00ff.tif\",\"page\":2,\"error\":"
                  "\"bad \\\"page\\\"\"}\n{\"file\":\"c.png\",\"error\":\"not "
                  "enough memory\"}\n{\"file\":\"t.tif\",\"symbols\":[]}\n"
                  "{\"file\":\"t.tif\",\"page\":1,\"error\":\"cut\\n\"}\n"
                  "{\"file\":\"t.tif\",\"page\":2,\"error\":\"cut\\n\"}\n"
                  "{\"file\":\"t.tif\",\"page\":3,\"error\":\"bad\"}\n"
                : "m\\xff.tif: no symbol read\n");
    EXPECT_EQ(errors.str(),
              "tarn-scan: m\\xff.tif:2: bad \"page\"\n"
              "tarn-scan: c.png: not enough memory\n"
              "tarn-scan: t.tif:1-2: cut\\n\ntarn-scan: t.tif:3: bad\n");
  }
}

}  // namespace
