// Reads the symbols that one scan line across an image crosses, placing each
// reading in the image, and notes where the line crossed something that looks
// like a symbol it could not read. Keeps its buffers from line to line.
#ifndef TARN_HOST_LINE_READER_H
#define TARN_HOST_LINE_READER_H

#include <vector>

#include "find/edge_finder.h"
#include "find/scan_lines.h"
#include "find/symbol_cutter.h"
#include "read/symbol_reader.h"

// One symbol read along a line, from its start character's first bar to its
// stop character's last bar (in reading order, whatever the line's).
struct line_read {
  symbol_read read;
  printed_symbol printed;
  point start;
  point stop;
};

// Where a line crossed many edges close together without reading them.
struct dense_spot {
  point centre;
  double extent = 0.0;  // pixels along the line
  point direction;      // the line's
};

// The direction across the bars around the spot (see bar_direction), from
// the middle of its stretch.
double bars_across(const grey_view& image, const dense_spot& spot);

class line_reader {
 public:
  explicit line_reader(const symbol_reader& reader) : reader_(reader) {}

  // Appends the line's readings to `reads`, trying lower noise thresholds
  // and, when `sharpening`, a sharpened profile while it reads nothing.
  // Returns how many it appended.
  int read(const grey_view& image, const scan_line& line,
           std::vector<line_read>& reads, bool sharpening = true);
  // Whether the last read() read from a sharpened profile.
  bool sharpened() const { return sharpened_; }
  // Whether the last read() found too few clear edges for any symbol.
  bool sparse() const { return sparse_; }
  // Whether the last read() read nothing from a line full of edges whose
  // narrow elements blur has flattened.
  bool looked_blurred() const { return looked_blurred_; }
  // Whether the last read() cut any candidate symbol from the line: a
  // start/stop character beside a quiet zone at either end.
  bool cut_any() const { return cut_any_; }

  // A first look: one noise threshold, and swings below `min_swing` (the
  // page's noise) are no elements; appends the line's unread dense stretches
  // to `spots`.
  int glance(const grey_view& image, const scan_line& line, float min_swing,
             std::vector<line_read>& reads, std::vector<dense_spot>& spots);

 private:
  int read_edges(const scan_line& line, std::vector<line_read>& reads);

  const symbol_reader& reader_;
  edge_finder finder_;
  profile values_;
  profile wide_;
  profile blurred_;
  profile sharp_;
  std::vector<edge_run> runs_;
  std::vector<edge_run> stretches_;
  std::vector<double> run_edges_;
  bool sharpened_ = false;
  bool sparse_ = false;
  bool looked_blurred_ = false;
  bool cut_any_ = false;
};

#endif
