// The Code 39 character that a decoder parsed at a place in a symbol, told
// from the module counts it filed: the symbol's own check character, as
// printed, is the last one before the stop character.
#ifndef TARN_HOST_PRINTED_CHARACTER_H
#define TARN_HOST_PRINTED_CHARACTER_H

#include <string>
#include <vector>

// `counts` holds nine counts per character in reading order (1 narrow, 2 or
// more wide), each character but the last followed by its gap's count. Empty
// when the counts do not spell one of the 43 data characters.
std::string last_data_character(const std::vector<char>& counts);

// Every data character between the start and stop characters, in reading
// order; empty when some count group spells none.
std::string printed_characters(const std::vector<char>& counts);

#endif
