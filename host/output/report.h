// What the scanner prints for each input: a line of text for people, or one
// JSON object per line for programs. Decoded text may hold any ASCII
// character, so control characters are always escaped.
#ifndef TARN_HOST_REPORT_H
#define TARN_HOST_REPORT_H

#include <ostream>
#include <string>
#include <string_view>

#include "read/line_vote.h"

// C-style escapes: \n, \t, \\, \" and \xHH for other control characters.
std::string escape_text(std::string_view text);

// A JSON string literal, quotes included.
std::string json_string(std::string_view text);

void print_text_report(std::ostream& out, const std::string& file,
                       const vote_outcome& outcome);
void print_json_report(std::ostream& out, const std::string& file,
                       const vote_outcome& outcome);
void print_json_error(std::ostream& out, const std::string& file,
                      const std::string& message);

#endif
