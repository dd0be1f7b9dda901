// The modulo-43 check character.
#ifndef TARN_CHECKSUM_H
#define TARN_CHECKSUM_H

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

#endif
