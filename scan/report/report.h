// What the scanner prints for each input: lines of text for people, or one
// JSON object per file for programs. Decoded text may hold any ASCII
// character and file names any bytes, so control characters and bytes that
// are not UTF-8 are always escaped.
#ifndef TARN_HOST_REPORT_H
#define TARN_HOST_REPORT_H

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tarn/scan.h"

struct file_report {
  std::string file;
  std::vector<tarn::page_result> pages;
};

// C-style escapes: \n, \t, \r, \\, \" and \xHH for other control characters
// and for bytes that are not part of valid UTF-8.
std::string escape_text(std::string_view text);

// A JSON string literal, quotes included: \u00HH for control characters and
// for bytes that are not part of valid UTF-8 (their Latin-1 reading).
std::string json_string(std::string_view text);

// `value` with a fixed number of decimals, as text and as a JSON number;
// null if it is no number.
std::string fixed(double value, int decimals);

// The report on `out`: in text, a line per symbol, or one saying that a file
// holds none; in JSON, one object per file, one more per page that could not
// be read. Each page that could not be read is also a line on `errors`, one
// for a run of pages that failed alike. `graded`: grades were asked for, and
// a text line says why a symbol has none.
void print_report(std::ostream& out, std::ostream& errors,
                  const file_report& report, bool json, bool graded = false);

#endif
