// One symbol found on a page: what the plug-in read, and where it stands.
#ifndef TARN_HOST_FOUND_SYMBOL_H
#define TARN_HOST_FOUND_SYMBOL_H

#include <array>
#include <string>

#include "find/point.h"
#include "read/symbol_reader.h"

struct found_symbol {
  symbol_read read;            // the text of the lines that agree
  std::string raw;             // its data characters as printed
  std::string own_check_char;  // the symbol's last data character
  bool check_char_ok = false;  // it is the modulo-43 check of the others
  // The outline of the bars in pixel coordinates: start character's top,
  // stop character's top, stop's bottom, start's bottom ("top" as seen when
  // the symbol reads left to right). Unset for edge files.
  bool located = false;
  std::array<point, 4> corners{};
  // Reading direction, start to stop, in degrees counter-clockwise from the
  // image's x axis as seen on screen: 0 reads left to right, 180 upside down.
  double angle = 0.0;
  double module_size = 0.0;  // pixels per narrow module
  int lines_agreed = 0;      // scan lines across the symbol that read `text`
  int lines_tried = 0;       // scan lines across the symbol's region
  bool inverted = false;     // light bars on a dark ground
};

// Files what the symbol's characters spell as printed: the raw text, the
// last data character, and whether that is the check character the decoder
// computed from the others.
inline void set_printed(found_symbol& symbol, const printed_symbol& printed) {
  symbol.raw = printed.characters;
  symbol.own_check_char = printed.last_character;
  symbol.check_char_ok = !symbol.own_check_char.empty() &&
                         symbol.own_check_char == symbol.read.check_char;
}

#endif
