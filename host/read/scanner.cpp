#include "read/scanner.h"

#include "find/edge_finder.h"
#include "find/scan_lines.h"
#include "find/symbol_cutter.h"
#include "image/edge_file_reader.h"
#include "image/png_reader.h"
#include "image/pnm_reader.h"

namespace {

// The edge finder's noise thresholds, as shares of a line's contrast, tried
// in turn until the line reads: a high one first, which ignores noise and
// JPEG ringing, then lower ones, which keep the narrow elements that blur has
// flattened.
constexpr float noise_shares[] = {0.25f, 0.1f, 0.04f};

std::vector<symbol_read> read_profile(const symbol_reader& reader,
                                      const profile& line) {
  for (float noise_share : noise_shares) {
    std::vector<symbol_read> reads =
        read_scan_line(reader, find_edges(line, noise_share));
    if (!reads.empty()) return reads;
  }
  return {};
}

}  // namespace

std::vector<symbol_read> read_scan_line(const symbol_reader& reader,
                                        const std::vector<double>& edges) {
  std::vector<symbol_read> reads;
  for (const edge_run& run : cut_symbols(edges)) {
    const auto first = edges.begin() + static_cast<std::ptrdiff_t>(run.first);
    const auto last = edges.begin() + static_cast<std::ptrdiff_t>(run.last);
    if (auto read = reader.read(std::vector<double>(first, last + 1)))
      reads.push_back(std::move(*read));
  }
  return reads;
}

vote_outcome scan_image(const symbol_reader& reader, const grey_image& image) {
  line_vote vote;
  for (const profile& line : scan_profiles(image))
    vote.add_line(read_profile(reader, line));
  return vote.outcome();
}

vote_outcome scan_edge_lines(const symbol_reader& reader,
                             const std::vector<std::vector<double>>& lines) {
  line_vote vote;
  for (const std::vector<double>& edges : lines)
    vote.add_line(read_scan_line(reader, edges));
  return vote.outcome();
}

namespace {

std::vector<found_symbol> found(const vote_outcome& outcome) {
  if (!outcome.symbol) return {};
  found_symbol symbol;
  symbol.read = *outcome.symbol;
  symbol.lines_agreed = outcome.lines_agreed;
  symbol.lines_tried = outcome.lines_tried;
  return {symbol};
}

}  // namespace

std::vector<found_symbol> find_symbols(const symbol_reader& reader,
                                       const grey_image& image) {
  return found(scan_image(reader, image));
}

std::vector<found_symbol> read_edge_lines(
    const symbol_reader& reader,
    const std::vector<std::vector<double>>& lines) {
  return found(scan_edge_lines(reader, lines));
}

vote_outcome scan_input(const symbol_reader& reader,
                        const std::vector<unsigned char>& bytes) {
  if (looks_like_png(bytes)) return scan_image(reader, read_png(bytes));
  if (looks_like_pnm(bytes)) return scan_image(reader, read_pnm(bytes));
  return scan_edge_lines(reader, read_edge_file(bytes));
}
