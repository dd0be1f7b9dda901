// The modulo-43 check character.
#ifndef TARN_CHECKSUM_H
#define TARN_CHECKSUM_H

#include <cstddef>
#include <string>

#include "tarn_interface.h"

// sum plus the check value of c; a character outside the 43 counts 0 (and is
// entered into _code_to_value with that value).
int add_up_checksum(int sum, char c);

// The text to report for `text` whose expected check character is `check`:
// unchanged, verified, or verified and stripped, as `flags` asks. Empty when
// verification fails.
std::string do_checksum(std::string text, std::string& check,
                        TARN_CHECKSUMFLAGS flags);

// The length of the start of `text` that do_checksum reports, which is all of
// it, all but the check character, or nothing; throws where do_checksum does.
std::size_t reported_length(const std::string& text, const std::string& check,
                            TARN_CHECKSUMFLAGS flags);

// The check character expected for a raw Code 39 text: the sum of the values
// of all its characters but the last (where a check character stands), modulo
// 43, as a character. Right after a fill, with the tables as the fill left
// them.
char check_character_of(const std::string& raw_text);

#endif
