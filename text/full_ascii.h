// Full-ASCII translation of a Code 39 data text.
#ifndef TARN_FULL_ASCII_H
#define TARN_FULL_ASCII_H

#include <string>
#include <utility>

// Returns (text with the shift pairs translated, expected check character of
// the raw text, its last character taken as the candidate check character).
std::pair<std::string, std::string> decode(const std::string& code39_text);

// As decode, into `result`, whose strings keep their capacity. `result` is
// written only once nothing can throw any more, first then second;
// code39_text must not be one of its strings.
void decode_into(const std::string& code39_text,
                 std::pair<std::string, std::string>& result);

#endif
