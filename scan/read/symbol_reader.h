// One decode call of the plug-in on one candidate symbol.
#ifndef TARN_HOST_SYMBOL_READER_H
#define TARN_HOST_SYMBOL_READER_H

#include <optional>
#include <string>
#include <vector>

#include "tarn_interface.h"

struct symbol_read {
  std::string text;  // empty: the check character did not match
  std::string check_char;
  bool reversed = false;
  double decode_time = 0.0;  // microseconds
};

// What the decoder's module counts tell of the printed symbol.
struct printed_symbol {
  // The symbol's own check character, the last data character as printed;
  // empty when the parsed counts do not spell one.
  std::string last_character;
  std::string characters;  // every data character as printed, in order
  int modules = 0;         // first bar to last, each element as many as parsed
};

class symbol_reader {
 public:
  symbol_reader(const decoder_1d_interface& decoder, TARN_CHECKSUMFLAGS flags)
      : decoder_(decoder), flags_(flags) {}

  // The decoder's reading of one symbol's edges, or nothing when it finds no
  // symbol there. An exception from the decoder counts as no reading: the
  // scan goes on with the next candidate.
  // With `printed`, fills it too.
  std::optional<symbol_read> read(std::vector<double> edges,
                                  printed_symbol* printed = nullptr) const;

 private:
  const decoder_1d_interface& decoder_;
  TARN_CHECKSUMFLAGS flags_;
};

#endif
