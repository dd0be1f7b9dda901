#include "read/line_vote.h"

#include <algorithm>

void line_vote::add_line(const std::vector<symbol_read>& reads) {
  ++lines_tried_;
  std::vector<const std::string*> voted;
  for (const symbol_read& read : reads) {
    if (read.text.empty()) continue;
    const auto same_text = [&](const std::string* text) {
      return *text == read.text;
    };
    if (std::any_of(voted.begin(), voted.end(), same_text)) continue;
    voted.push_back(&read.text);
    auto found = std::find_if(
        tallies_.begin(), tallies_.end(),
        [&](const tally& t) { return t.first_read.text == read.text; });
    if (found == tallies_.end())
      found = tallies_.insert(tallies_.end(), tally{read, 0, 0.0});
    ++found->lines;
    found->total_decode_time += read.decode_time;
  }
  if (!voted.empty())
    ++lines_read_;
  else if (!reads.empty())
    ++lines_rejected_;
}

vote_outcome line_vote::outcome() const {
  vote_outcome outcome;
  outcome.lines_read = lines_read_;
  outcome.lines_rejected = lines_rejected_;
  outcome.lines_tried = lines_tried_;
  // max_element keeps the first of equal tallies.
  const auto winner = std::max_element(
      tallies_.begin(), tallies_.end(),
      [](const tally& a, const tally& b) { return a.lines < b.lines; });
  if (winner == tallies_.end()) return outcome;
  outcome.symbol = winner->first_read;
  outcome.symbol->decode_time = winner->total_decode_time / winner->lines;
  outcome.lines_agreed = winner->lines;
  return outcome;
}
