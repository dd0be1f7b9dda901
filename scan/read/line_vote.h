// Combines the readings of many scan lines across one input: the text that
// most lines read wins.
#ifndef TARN_HOST_LINE_VOTE_H
#define TARN_HOST_LINE_VOTE_H

#include <optional>
#include <string>
#include <vector>

#include "read/symbol_reader.h"

struct vote_outcome {
  // The winning text with the check character and direction of the first
  // line that read it, and the mean decode time of all lines that did.
  std::optional<symbol_read> symbol;
  int lines_agreed = 0;    // lines that read the winning text
  int lines_read = 0;      // lines that read any text
  int lines_rejected = 0;  // lines whose only readings failed the check
  int lines_tried = 0;
};

class line_vote {
 public:
  // Everything one scan line read, possibly nothing. A line votes once for
  // each distinct text.
  void add_line(const std::vector<symbol_read>& reads);

  // A tie goes to the text read first.
  vote_outcome outcome() const;

 private:
  struct tally {
    symbol_read first_read;
    int lines = 0;
    double total_decode_time = 0.0;
  };
  std::vector<tally> tallies_;  // in order of first reading
  int lines_read_ = 0;
  int lines_rejected_ = 0;
  int lines_tried_ = 0;
};

#endif
