#include "read/scanner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "find/detail_map.h"
#include "find/edge_finder.h"
#include "find/scan_lines.h"
#include "read/line_reader.h"
#include "read/line_vote.h"
#include "read/symbol_locator.h"
#include "read/unread_symbol.h"

namespace {

// The first look: rows, columns and both diagonals, pixel centre to pixel
// centre.
constexpr point first_steps[] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
// Lines of the first look lie this share of the image's smaller side apart,
// within these bounds in pixels.
constexpr double spacing_share = 1.0 / 60;
constexpr double min_spacing = 3.0;
constexpr double max_spacing = 12.0;
// Around a dense spot a line is read square to the bars' direction there,
// and the spot's own first-look line, through the spot and at these offsets
// (shares of the spacing) beside it; the last pass turns lines by this step.
constexpr double spot_angle_step = 7.5;
constexpr double beside_offsets[] = {-0.5, 0.5};
// Directions closer than this, in degrees, read the same line.
constexpr double same_angle = 0.1;
// The measured bars' direction is this many degrees off beside bar ends: a
// spot's own line within it of square crossed the bars square already.
constexpr double measure_error = 2.0;
// The first look's directions lie 45 degrees apart: bars further than half
// that from square to a spot's own line lie nearer square to another's.
constexpr double first_look_reach = 22.5;
constexpr std::size_t max_spots = 16;
// Spots closer than this many line spacings square to their lines are one.
constexpr double spot_merge = 2.5;
// Parallel spots this many line spacings apart or less form a column.
constexpr double column_gap = 3.5;
// Lines through a spot reach this many times its extent (within these
// bounds in pixels) either way: a symbol crossed at a steep angle is longer
// than the stretch it showed.
constexpr double spot_reach = 3.0;
constexpr double min_spot_reach = 60.0;
constexpr double max_spot_reach = 2000.0;
// Tiles whose grey levels span fewer levels than a line needs to hold a
// symbol are blank paper.
const int detail_levels = static_cast<int>(std::ceil(min_line_contrast * 255));
// A piece of a first-look line shorter than the shortest symbol at a pixel
// a module (start, one character and stop: 38 modules at 2:1) holds none
// whole; a symbol that such a piece crosses at an angle is crossed further
// by lines of another direction.
constexpr int min_glance_piece = 38;
// Readings and spots that fall this many pixels outside a located symbol
// still belong to it.
constexpr double area_margin = 4.0;

double first_spacing(const grey_view& image) {
  return std::clamp(std::min(image.width, image.height) * spacing_share,
                    min_spacing, max_spacing);
}

double degrees_of(point direction) {
  double angle = std::atan2(direction.y, direction.x) * 180 / 3.14159265358979;
  if (angle < 0) angle += 180;
  return angle >= 180 ? angle - 180 : angle;
}

// How far apart two line directions are, in degrees from 0 to 90.
double degrees_apart(double a, double b) {
  const double apart = std::fmod(std::fabs(a - b), 180.0);
  return std::min(apart, 180 - apart);
}

// The mean difference between neighbouring pixels in the calmest tenth of
// 32-pixel pieces of 16 lines spread over the image (rows, or columns). In a
// tight crop the lines along the bars are shorter: a whole line is a piece,
// down to a few pixels.
int calm_difference(int lines, int length, std::ptrdiff_t along,
                    std::ptrdiff_t across, const std::uint8_t* first) {
  constexpr int count = 16;
  constexpr int min_piece = 8;
  const int piece = std::min(32, length);
  if (piece < min_piece) return 255;
  int counts[256] = {};
  int total = 0;
  for (int k = 0; k < count; ++k) {
    const std::uint8_t* at = first + (2 * k + 1) * lines / (2 * count) * across;
    for (int start = 0; start + piece <= length; start += piece, ++total) {
      int sum = 0;
      for (int i = start + 1; i < start + piece; ++i)
        sum += std::abs(at[i * along] - at[(i - 1) * along]);
      ++counts[std::min(255, sum / (piece - 1))];
    }
  }
  int seen = 0;
  int tenth = 0;
  while (tenth < 255 && (seen += counts[tenth]) * 10 < total) ++tenth;
  return total > 0 ? tenth : 255;
}

// A swing that the page's noise seldom makes: a multiple of the calmest
// pixel-to-pixel differences along rows or columns (blank paper, or along
// the bars of a symbol that fills the image).
float noise_swing(const grey_view& image) {
  constexpr float multiple = 3.0f;
  const int calm = std::min(
      calm_difference(image.height, image.width, 1, image.stride, image.row(0)),
      calm_difference(image.width, image.height, image.stride, 1,
                      image.row(0)));
  return calm == 255 ? 0.0f : multiple * static_cast<float>(calm) / 255.0f;
}

// Spots on neighbouring lines of one stretch of edges: close square to their
// lines, overlapping along them.
bool same_spot(const dense_spot& a, const dense_spot& b, double reach) {
  const point along =
      (1.0 / std::sqrt(dot(a.direction, a.direction))) * a.direction;
  const point apart = b.centre - a.centre;
  return std::fabs(dot(apart, quarter_turn(along))) < reach &&
         std::fabs(dot(apart, along)) < std::max(a.extent, b.extent) / 2;
}

class page_search {
 public:
  page_search(const symbol_reader& reader, const grey_view& image,
              std::size_t enough)
      : lines_(reader),
        image_(image),
        details_(image, detail_levels),
        enough_(enough) {}

  std::vector<found_symbol> run() {
    const double spacing = first_spacing(image_);
    const float noise = noise_swing(image_);
    // The spots of each direction are searched before the next direction's
    // first look, which then passes by what they found.
    for (point step : first_steps) {
      const std::size_t first_spot = spots_.size();
      for (const scan_line& line : lines_across(image_, step, spacing))
        if (!found_enough()) glance_beside_located(line, noise);
      search_columns(first_spot, spacing);
    }
    search_spots(spacing);
    return take_found();
  }

  // The search around spots that another search left, without a first look.
  std::vector<found_symbol> run_on(std::vector<dense_spot> spots) {
    spots_ = std::move(spots);
    const double spacing = first_spacing(image_);
    search_columns(0, spacing);
    search_spots(spacing);
    return take_found();
  }

  // The spots of the first look that no located symbol explains.
  std::vector<dense_spot> unexplained_spots() const {
    std::vector<dense_spot> unexplained;
    for (const dense_spot& spot : spots_)
      if (!inside_located(spot.centre)) unexplained.push_back(spot);
    return unexplained;
  }

 private:
  std::vector<found_symbol> take_found() {
    std::vector<found_symbol> found;
    found.reserve(located_.size());
    for (located_symbol& l : located_) found.push_back(std::move(l.symbol));
    located_.clear();
    return found;
  }

  // Symbols whose text the plug-in gave: the search stops at `enough_`.
  bool found_enough() const {
    const auto read = std::count_if(
        located_.begin(), located_.end(),
        [](const located_symbol& l) { return !l.symbol.read.text.empty(); });
    return static_cast<std::size_t>(read) >= enough_;
  }

  bool inside_located(point p) const {
    return std::any_of(located_.begin(), located_.end(),
                       [&](const located_symbol& l) {
                         return l.area.contains(p, area_margin);
                       });
  }

  // The first look along the parts of `line` outside every located symbol
  // and near detail, settling what it reads at once: a symbol is read
  // across its whole height once, not again by every line of the first look
  // through it.
  void glance_beside_located(const scan_line& line, float noise) {
    covered_.clear();
    for (const located_symbol& l : located_) {
      const auto samples = l.area.samples_on(line, area_margin);
      if (samples.first <= samples.second) covered_.push_back(samples);
    }
    std::sort(covered_.begin(), covered_.end());
    covered_.push_back({line.length, line.length});
    int first = 0;
    for (const auto& [from, to] : covered_) {
      glance_near_detail(line, first, from - 1, noise);
      first = std::max(first, to + 1);
    }
  }

  // The first look along samples `first` to `last` of the line, in pieces
  // near detail, each from one check before the detail to one after it.
  // Every tile with detail has its neighbours marked, so checks a tile
  // apart along the line (a little more on a diagonal) miss none.
  void glance_near_detail(const scan_line& line, int first, int last,
                          float noise) {
    constexpr int check = detail_map::tile * 3 / 4;
    int from = -1;
    for (int i = first; i <= last + check; i += check) {
      const bool near = i <= last && details_.near_detail(line.at(i + 0.5));
      if (near && from < 0) from = std::max(first, i - check);
      if (near || from < 0) continue;
      const scan_line part = part_of(line, from, std::min(last, i));
      if (part.length >= min_glance_piece &&
          lines_.glance(image_, part, noise, seeds_, spots_) > 0)
        settle_seeds();
      from = -1;
    }
  }

  // Each reading not yet inside a located symbol seeds one.
  void settle_seeds() {
    for (std::size_t i = settled_; i < seeds_.size(); ++i) {
      const line_read seed = seeds_[i];
      if (inside_located(0.5 * (seed.start + seed.stop))) continue;
      auto located = locate_symbol(lines_, image_, seed);
      if (!located) continue;
      // Seen from either outline: one may stand at a poorer angle.
      const auto same = std::find_if(
          located_.begin(), located_.end(), [&](const located_symbol& l) {
            return same_symbol(image_, l, *located) ||
                   same_symbol(image_, *located, l);
          });
      if (same == located_.end()) {
        located_.push_back(std::move(*located));
        continue;
      }
      // The outline that more lines agree on takes in the other.
      if (located->symbol.lines_agreed > same->symbol.lines_agreed)
        std::swap(*same, *located);
      merge_symbol(*same, *located);
    }
    settled_ = seeds_.size();
  }

  // Lines at other angles through a dense spot that no symbol explains,
  // until one reads there, and the settling of what they read. Returns
  // whether the spot (or one close to it) has been searched, or the search
  // is over.
  bool search(std::size_t spot_index, double spacing, bool sharpening) {
    const dense_spot& spot = spots_[spot_index];
    if (searched_.size() == max_spots || found_enough()) return true;
    const bool skip =
        inside_located(spot.centre) ||
        std::any_of(searched_.begin(), searched_.end(), [&](std::size_t s) {
          return s == spot_index ||
                 same_spot(spots_[s], spot, spot_merge * spacing);
        });
    if (skip) return false;
    searched_.push_back(spot_index);
    search_spot(spot_index, spacing, sharpening);
    settle_seeds();
    return true;
  }

  // Parallel lines crossing one stretch of bars leave a column of spots:
  // among the spots from `first_spot` on, the one nearest each column's
  // middle is searched first, where sharpening may still find a blurred
  // symbol; the others after all columns, without.
  void search_columns(std::size_t first_spot, double spacing) {
    std::vector<std::vector<std::size_t>> columns;
    for (std::size_t i = first_spot; i < spots_.size(); ++i) {
      const dense_spot& spot = spots_[i];
      const auto column =
          std::find_if(columns.begin(), columns.end(), [&](const auto& c) {
            const dense_spot& last = spots_[c.back()];
            return last.direction.x == spot.direction.x &&
                   last.direction.y == spot.direction.y &&
                   same_spot(last, spot, column_gap * spacing);
          });
      if (column == columns.end())
        columns.push_back({i});
      else
        column->push_back(i);
    }
    column_bars_.resize(spots_.size(), std::nan(""));
    for (const auto& column : columns) {
      // Middle out: middle, one before, one after, two before...
      const std::size_t middle = column.size() / 2;
      for (std::size_t k = 0; k < column.size(); ++k) {
        const std::size_t i = k % 2 ? middle - (k + 1) / 2 : middle + k / 2;
        if (i >= column.size() || !search(column[i], spacing, true)) continue;
        // One stretch of bars: the direction measured holds for the others.
        for (std::size_t other : column)
          column_bars_[other] = column_bars_[column[i]];
        break;
      }
    }
  }

  // Whether the last pass, without sharpening, reads around a spot whose
  // bars lie `apart` degrees from square to its own line: not where that
  // line crossed them square already (within the measure's error), adding
  // nothing to what it and its column's search read, nor where another
  // direction's lines crossed them nearer square.
  static bool left_for_last_pass(double apart) {
    return apart >= measure_error && apart < first_look_reach;
  }

  // Every spot not yet searched, without sharpening.
  void search_spots(double spacing) {
    for (std::size_t i = 0; i < spots_.size(); ++i) search(i, spacing, false);
  }

  // The line square to the bars around the spot, then, when `sharpening`,
  // the spot's own line with the effort the first look spared (blur may
  // hide the bars' direction, but not the edges the first look found),
  // unless the bars lie nearer square to another direction of the first
  // look, whose lines crossed them too.
  void search_spot(std::size_t spot_index, double spacing, bool sharpening) {
    const dense_spot& spot = spots_[spot_index];
    const double own = degrees_of(spot.direction);
    // Without sharpening, a column's other spots are judged by the direction
    // measured at its middle before their own is measured.
    const double column_bars = column_bars_[spot_index];
    if (!sharpening && !std::isnan(column_bars) &&
        !left_for_last_pass(degrees_apart(own, column_bars)))
      return;
    const double bars = column_bars_[spot_index] = bars_across(image_, spot);
    const double apart = degrees_apart(own, bars);
    if (!sharpening && !left_for_last_pass(apart)) return;
    if (apart >= same_angle && read_around(spot, bars, spacing, false)) return;
    if (sharpening) {
      if (apart < first_look_reach) read_around(spot, own, spacing, true);
      return;
    }
    // Blurred bars may read at one angle and not at the next: the lines
    // turned by whole steps from the own line either side of the square
    // one, nearest first.
    if (!lines_.looked_blurred()) return;
    const double square = std::remainder(bars - own, 180.0);
    const double below = std::floor(square / spot_angle_step) * spot_angle_step;
    const double above = below + spot_angle_step;
    const bool below_first = square - below <= above - square;
    for (double turn :
         {below_first ? below : above, below_first ? above : below})
      if (turn != 0 && read_around(spot, own + turn, spacing, false)) return;
  }

  // Whether a line through the spot at `degrees` reads: the one through its
  // centre, with `full_effort` sharpened (when it looks blurred) and with two
  // beside it where that one cut a candidate symbol it could not read (text
  // and rules cut none). The first reading seeds the symbol; the settling
  // reads it whole.
  bool read_around(const dense_spot& spot, double degrees, double spacing,
                   bool full_effort) {
    const point direction = unit_vector(degrees);
    const point across = quarter_turn(direction);
    const double half =
        std::clamp(spot_reach * spot.extent, min_spot_reach, max_spot_reach);
    const auto line_at = [&](double offset) {
      return clip_around(image_, spot.centre + offset * spacing * across,
                         direction, half);
    };
    const auto reads = [&](const scan_line& line) {
      return line.length > 0 &&
             lines_.read(image_, line, seeds_, full_effort) > 0;
    };
    const scan_line centre = line_at(0);
    if (reads(centre)) return true;
    if (!full_effort || centre.length == 0 || !lines_.cut_any()) return false;
    return std::any_of(std::begin(beside_offsets), std::end(beside_offsets),
                       [&](double offset) { return reads(line_at(offset)); });
  }

  line_reader lines_;
  const grey_view image_;
  const detail_map details_;
  std::vector<line_read> seeds_;
  std::size_t settled_ = 0;
  std::vector<dense_spot> spots_;
  std::vector<std::size_t> searched_;  // indices into spots_
  // Per spot, the bars' direction measured there or at its column's middle;
  // NaN before.
  std::vector<double> column_bars_;
  std::vector<located_symbol> located_;
  std::vector<std::pair<int, int>> covered_;  // samples of a line, reused
  std::size_t enough_;
};

// Every symbol that one edge file line reads; how each was printed is added
// to `printed`, and the reading to `all_reads`.
std::vector<symbol_read> read_scan_line(const symbol_reader& reader,
                                        const std::vector<double>& edges,
                                        std::vector<symbol_read>& all_reads,
                                        std::vector<printed_symbol>& printed) {
  std::vector<edge_run> runs;
  cut_symbols(edges, runs);
  std::vector<symbol_read> reads;
  for (const edge_run& run : runs) {
    const auto first = edges.begin() + static_cast<std::ptrdiff_t>(run.first);
    const auto last = edges.begin() + static_cast<std::ptrdiff_t>(run.last);
    printed_symbol form;
    if (auto read = reader.read(std::vector<double>(first, last + 1), &form)) {
      reads.push_back(*read);
      all_reads.push_back(std::move(*read));
      printed.push_back(std::move(form));
    }
  }
  return reads;
}

// Whether the ground just beyond the ends of the spot's stretch is clearly
// darker than the stretch on average, as around light bars, at both ends or
// at one with the other beyond the image; a dark-on-light symbol or text
// stands on a lighter ground.
bool on_dark_ground(const grey_view& image, const dense_spot& spot) {
  constexpr int inside_samples = 16;
  constexpr double beyond = 4.0;   // pixels past the stretch's ends
  constexpr float margin = 0.25f;  // of the stretch's contrast
  const point along =
      (1.0 / std::sqrt(dot(spot.direction, spot.direction))) * spot.direction;
  const double half = spot.extent / 2;
  float mean = 0, darkest = 1, lightest = 0;
  for (int i = 0; i < inside_samples; ++i) {
    const float value =
        sample_at(image, spot.centre + ((i + 0.5) / inside_samples * 2 - 1) *
                                           half * along);
    mean += value / inside_samples;
    darkest = std::min(darkest, value);
    lightest = std::max(lightest, value);
  }
  const float dark = mean - margin * (lightest - darkest);
  const point ends[] = {spot.centre + (half + beyond) * along,
                        spot.centre - (half + beyond) * along};
  int inside = 0;
  for (const point& p : ends) {
    if (p.x < 0 || p.y < 0 || p.x >= image.width || p.y >= image.height)
      continue;
    if (sample_at(image, p) >= dark) return false;
    ++inside;
  }
  return inside > 0;
}

point centre_of(const found_symbol& symbol) {
  const auto& c = symbol.corners;
  return 0.25 * (c[0] + c[1] + c[2] + c[3]);
}

// The symbol-like areas around the spots, each once, none inside a symbol
// that was read.
void outline_unread_spots(const grey_view& image,
                          const std::vector<dense_spot>& spots, bool inverted,
                          const std::vector<found_symbol>& found,
                          std::vector<found_symbol>& unread) {
  std::vector<symbol_area> outlined;
  for (const found_symbol& symbol : found) outlined.push_back(area_of(symbol));
  for (const dense_spot& spot : spots) {
    const auto inside = [&](point p) {
      return std::any_of(
          outlined.begin(), outlined.end(),
          [&](const symbol_area& a) { return a.contains(p, area_margin); });
    };
    if (inside(spot.centre)) continue;
    std::optional<found_symbol> symbol = outline_unread(image, spot);
    if (!symbol || inside(centre_of(*symbol))) continue;
    symbol->inverted = inverted;
    outlined.push_back(area_of(*symbol));
    unread.push_back(std::move(*symbol));
  }
}

// Lines that agree on a refused check character read no symbol.
void drop_refused(std::vector<found_symbol>& found) {
  found.erase(std::remove_if(found.begin(), found.end(),
                             [](const found_symbol& symbol) {
                               return symbol.read.text.empty();
                             }),
              found.end());
}

}  // namespace

std::vector<found_symbol> find_symbols(const symbol_reader& reader,
                                       const grey_view& image,
                                       std::size_t enough,
                                       std::vector<found_symbol>* unread) {
  page_search search(reader, image, enough);
  std::vector<found_symbol> found = search.run();
  drop_refused(found);
  if (found.size() >= enough) {
    found.resize(enough);
    return found;
  }
  // Light bars on a dark ground, searched for only where the dark-on-light
  // search found edges it could not read.
  std::vector<dense_spot> dark_ground, light_ground;
  for (const dense_spot& spot : search.unexplained_spots())
    (on_dark_ground(image, spot) ? dark_ground : light_ground).push_back(spot);
  if (unread) outline_unread_spots(image, light_ground, false, found, *unread);
  if (dark_ground.empty()) return found;
  const grey_image negative = inverted(image);
  page_search light_search(reader, negative, enough - found.size());
  std::vector<found_symbol> light = light_search.run_on(dark_ground);
  drop_refused(light);
  for (found_symbol& symbol : light) {
    if (found.size() == enough) break;
    symbol.inverted = true;
    found.push_back(std::move(symbol));
  }
  if (unread)
    outline_unread_spots(negative, light_search.unexplained_spots(), true,
                         found, *unread);
  return found;
}

grey_image inverted(const grey_view& image) {
  grey_image negative{image.width, image.height, {}};
  negative.pixels.resize(static_cast<std::size_t>(image.width) *
                         static_cast<std::size_t>(image.height));
  auto out = negative.pixels.begin();
  for (int y = 0; y < image.height; ++y)
    out = std::transform(image.row(y), image.row(y) + image.width, out,
                         [](std::uint8_t v) { return std::uint8_t(255 - v); });
  return negative;
}

std::vector<found_symbol> read_edge_lines(
    const symbol_reader& reader,
    const std::vector<std::vector<double>>& lines) {
  line_vote vote;
  std::vector<symbol_read> reads;
  std::vector<printed_symbol> printed;
  for (const std::vector<double>& edges : lines)
    vote.add_line(read_scan_line(reader, edges, reads, printed));
  const vote_outcome outcome = vote.outcome();
  if (!outcome.symbol) return {};
  found_symbol symbol;
  symbol.read = *outcome.symbol;
  const auto winner = std::find_if(
      reads.begin(), reads.end(),
      [&](const symbol_read& read) { return read.text == symbol.read.text; });
  set_printed(symbol,
              printed[static_cast<std::size_t>(winner - reads.begin())]);
  symbol.lines_agreed = outcome.lines_agreed;
  symbol.lines_tried = outcome.lines_tried;
  return {symbol};
}
