#include "read/symbol_locator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "read/line_vote.h"

namespace {

constexpr double pi = 3.14159265358979323846;
// A symbol is read when at least this many lines across it agree, and more
// agree than disagree.
constexpr int min_agreeing_lines = 2;
// Lines across the symbol stop this many misses in a row past its edge; a
// line with too few edges for any symbol counts as two.
constexpr int max_misses = 4;
constexpr int max_lines_per_side = 120;
// A reading belongs to the symbol when both its ends lie within this share
// of the symbol's length (plus a few pixels) of where the seed puts them.
constexpr double end_tolerance = 0.2;
constexpr double end_tolerance_pixels = 3.0;
constexpr double max_seed_lean = 0.3;
// Beyond the symbol's ends each line looks this share of its length further,
// for the quiet zones.
constexpr double line_margin = 0.15;
// The axis is square to the bars once the bar edges lean less than this.
constexpr double max_lean = 0.02;
constexpr int max_turns = 3;
// The first pass crosses the bars square as measured at the seed when that
// turns it this far from the seed's line: at least a couple of degrees (the
// measure is that far off beside bar ends, and a first pass turned less than
// that would be followed by another anyway), and less than the first look's
// 22.5 degrees from any direction, with a margin. Otherwise it follows the
// seed's line.
constexpr double min_square_turn = 2.0;
constexpr double max_square_turn = 25.0;
// Axes tried when the first pass crosses too few lines, in degrees from the
// seed's line; only those within this many degrees of square to the bars.
constexpr double fallback_turns[] = {6, -6, 12, -12};
constexpr double fallback_reach = 6.0;
// The walk along an end bar to its top or bottom: step in pixels, the least
// contrast between bar and quiet zone, how far beyond the lines that read.
constexpr double walk_step = 0.5;
constexpr float min_walk_contrast = 0.08f;
constexpr double walk_limit = 1.0;  // times the height the lines span
// A scan line's profile averages a band this many pixels either side of it.
constexpr double band_reach = 1.5;
// Two outlines are one symbol only when their angles differ by at most this
// many degrees and their starts by this many modules along the axis.
constexpr double max_merge_turn = 10.0;
constexpr double max_merge_shift = 2.0;
// An outline extends another only when their angles differ by at most this.
constexpr double max_extend_turn = 2.0;

double length(point a) { return std::sqrt(dot(a, a)); }
point normalised(point a) { return (1.0 / length(a)) * a; }

struct crossing {
  double offset;  // along `across` from the pass's centre
  line_read read;
};

struct pass {
  point axis;  // line direction, start to stop of the seed
  point centre;
  double step = 1.0;
  std::vector<crossing> crossings;
  int tried = 0;
  // A symbol that a line other than the seed's own reads without
  // sharpening is not blurred: lines across it that fail, in this pass and
  // the next, are not sharpened either.
  bool sharpening = true;
};

// Another pass after `p`, along `axis` through `centre`, not yet read: its
// step and its sharpening carry over, its crossings start empty.
pass next_pass(const pass& p, point axis, point centre) {
  pass next;
  next.axis = axis;
  next.centre = centre;
  next.step = p.step;
  next.sharpening = p.sharpening;
  return next;
}

bool near(point a, point b, double tolerance) {
  return length(a - b) <= tolerance;
}

// Reads lines parallel to `p.axis` at offsets k * step from the centre,
// walking out both ways until the lines stop meeting the symbol.
void read_pass(line_reader& lines, const grey_view& image,
               const line_read& seed, pass& p,
               std::vector<line_read>& scratch) {
  const point across = quarter_turn(p.axis);
  const double symbol_length = length(seed.stop - seed.start);
  const double half = symbol_length * (0.5 + line_margin) + 4.0;
  const double tolerance = end_tolerance * symbol_length + end_tolerance_pixels;
  const point seed_centre = 0.5 * (seed.start + seed.stop);
  for (int side : {1, -1}) {
    int misses = 0;
    for (int k = side > 0 ? 0 : 1;
         k <= max_lines_per_side && misses < max_misses; ++k) {
      const double offset = side * k * p.step;
      const point through = p.centre + offset * across;
      const scan_line line = clip_around(image, through, p.axis, half);
      if (line.length == 0) break;
      ++p.tried;
      scratch.clear();
      lines.read(image, line, scratch, p.sharpening);
      // Where the seed's ends would lie on this line, give or take the lean
      // of bars not yet square to it.
      const point shift = (p.centre - seed_centre) + offset * across;
      const double reach = tolerance + max_seed_lean * std::fabs(offset);
      const auto match =
          std::find_if(scratch.begin(), scratch.end(), [&](const line_read& r) {
            return near(r.start, seed.start + shift, reach) &&
                   near(r.stop, seed.stop + shift, reach);
          });
      if (match == scratch.end()) {
        misses += lines.sparse() ? 2 : 1;
        continue;
      }
      // Another text past a line that read nothing: the next symbol of a
      // stack, not this one read otherwise.
      if (misses > 0 && match->read.text != seed.read.text) break;
      misses = 0;
      if (k != 0) p.sharpening = p.sharpening && lines.sharpened();
      p.crossings.push_back({offset, std::move(*match)});
    }
  }
}

// Least-squares slope of `value` against `offset`.
template <typename Value>
double slope(const std::vector<crossing>& crossings, Value value) {
  double mean_o = 0, mean_v = 0;
  for (const crossing& c : crossings) {
    mean_o += c.offset;
    mean_v += value(c);
  }
  mean_o /= crossings.size();
  mean_v /= crossings.size();
  double covariance = 0, variance = 0;
  for (const crossing& c : crossings) {
    covariance += (c.offset - mean_o) * (value(c) - mean_v);
    variance += (c.offset - mean_o) * (c.offset - mean_o);
  }
  return variance > 0 ? covariance / variance : 0.0;
}

// How far the bar edges lean: along-axis shift per pixel across.
double lean(const pass& p) {
  const double start = slope(p.crossings, [&](const crossing& c) {
    return dot(c.read.start, p.axis);
  });
  const double stop = slope(
      p.crossings, [&](const crossing& c) { return dot(c.read.stop, p.axis); });
  return (start + stop) / 2;
}

point turned(point a, double degrees) {
  const double r = degrees * pi / 180;
  return {a.x * std::cos(r) - a.y * std::sin(r),
          a.x * std::sin(r) + a.y * std::cos(r)};
}

pass best_pass(line_reader& lines, const grey_view& image,
               const line_read& seed) {
  std::vector<line_read> scratch;
  const point seed_axis = normalised(seed.stop - seed.start);
  const double symbol_length = length(seed.stop - seed.start);
  pass p;
  p.centre = 0.5 * (seed.start + seed.stop);
  p.step = std::clamp(symbol_length / 40, 1.0, 8.0);
  // Square to the bars at the seed, in degrees from its line.
  const double bars =
      std::remainder(bars_across(image, {p.centre, symbol_length, seed_axis}) -
                         std::atan2(seed_axis.y, seed_axis.x) * 180 / pi,
                     180.0);
  const bool square_first =
      std::fabs(bars) >= min_square_turn && std::fabs(bars) < max_square_turn;
  p.axis = square_first ? turned(seed_axis, bars) : seed_axis;
  read_pass(lines, image, seed, p, scratch);
  for (double turn : fallback_turns) {
    if (p.crossings.size() >= 3) break;
    if (std::fabs(turn - bars) >= fallback_reach) continue;
    pass other = next_pass(p, turned(seed_axis, turn), p.centre);
    read_pass(lines, image, seed, other, scratch);
    if (other.crossings.size() > p.crossings.size()) p = std::move(other);
  }
  // The seed read, but fewer lines of the pass than a reading needs: the
  // symbol may read only in a band narrower than the step, which lines
  // halfway between the pass's may still cross.
  if (p.crossings.size() < min_agreeing_lines) {
    pass between =
        next_pass(p, p.axis, p.centre + 0.5 * p.step * quarter_turn(p.axis));
    read_pass(lines, image, seed, between, scratch);
    for (crossing& c : between.crossings) {
      c.offset += 0.5 * p.step;
      p.crossings.push_back(std::move(c));
    }
    p.tried += between.tried;
  }
  for (int turn = 0; turn < max_turns && p.crossings.size() >= 3; ++turn) {
    const double leaning = lean(p);
    if (std::fabs(leaning) < max_lean) break;
    pass square = next_pass(
        p, normalised(p.axis - leaning * quarter_turn(p.axis)), p.centre);
    read_pass(lines, image, seed, square, scratch);
    if (square.crossings.size() < p.crossings.size()) break;
    p = std::move(square);
  }
  return p;
}

struct fitted_end {
  point at_mean;  // the end's position at the mean height
  point per_height;
};

template <typename End>
fitted_end fit_end(const std::vector<const crossing*>& agreeing, point up,
                   double mean_height, End end) {
  point mean{};
  for (const crossing* c : agreeing) mean = mean + end(*c);
  mean = (1.0 / agreeing.size()) * mean;
  point covariance{};
  double variance = 0;
  for (const crossing* c : agreeing) {
    const double h = dot(end(*c), up) - mean_height;
    covariance = covariance + h * (end(*c) - mean);
    variance += h * h;
  }
  return {mean, variance > 0 ? (1.0 / variance) * covariance : point{}};
}

// Where the bar beside a symbol end ends, walking from height `from` one way
// (`sign`): where the bar's middle (`inward` from the end) turns lighter than
// halfway between the bar and the quiet zone (`outward`), or leaves the
// image. `from` when no end shows within `limit` pixels.
struct bar_walk {
  const grey_view image;
  const fitted_end& end;
  double mean_height;
  point inward;
  point outward;

  bool inside(point p) const {
    return p.x >= 0 && p.y >= 0 && p.x <= image.width && p.y <= image.height;
  }
  point at(double h) const {
    return end.at_mean + (h - mean_height) * end.per_height;
  }
  float bar(double h) const {
    const point middle = at(h) + inward;
    return (sample_at(image, middle - 0.5 * inward) + sample_at(image, middle) +
            sample_at(image, middle + 0.5 * inward)) /
           3;
  }

  // The walk starts `inset` back from `from`, inside the bars: the
  // outermost lines' bands, a pixel either side of them, may straddle the
  // bars' ends.
  double reach(double from, double sign, double inset, double limit) const {
    const double start = from - sign * inset;
    const float dark = bar(start);
    const float light = sample_at(image, at(start) + outward);
    if (light - dark < min_walk_contrast) return from;
    const float middle = (dark + light) / 2;
    float before = dark;
    for (double h = start + sign * walk_step; std::fabs(h - start) < limit;
         h += sign * walk_step) {
      // A bar cut by the image's border ends there.
      if (!inside(at(h) + inward)) return h - sign * walk_step;
      const float value = bar(h);
      if (value > middle)
        return h - sign * walk_step * (value - middle) / (value - before);
      before = value;
    }
    return from;
  }
};

double printed_module(const std::vector<const crossing*>& agreeing, point start,
                      point stop) {
  const int modules = agreeing.front()->read.printed.modules;
  return modules > 0 ? length(stop - start) / modules : 1.0;
}

}  // namespace

symbol_area area_of(const found_symbol& symbol) {
  const auto& c = symbol.corners;
  symbol_area area;
  area.origin = c[3];
  area.along = normalised(c[1] - c[0]);
  area.up = {area.along.y, -area.along.x};
  area.length = length(c[1] - c[0]);
  area.top = dot(c[0] - c[3], area.up);
  return area;
}

bool symbol_area::contains(point p, double margin) const {
  const double s = dot(p - origin, along);
  const double h = dot(p - origin, up);
  return s >= -margin && s <= length + margin && h >= bottom - margin &&
         h <= top + margin;
}

std::pair<int, int> symbol_area::samples_on(const scan_line& line,
                                            double margin) const {
  // Sample i lies at line.origin + i * line.direction; keep the i whose
  // position along each axis of the area lies within it.
  double low = -1e18, high = 1e18;
  const point from_origin = line.origin - origin;
  clip_axis(dot(from_origin, along), dot(line.direction, along), -margin,
            length + margin, low, high);
  clip_axis(dot(from_origin, up), dot(line.direction, up), bottom - margin,
            top + margin, low, high);
  if (high < low) return {1, 0};
  return {static_cast<int>(std::ceil(std::max(low, -1.0))),
          static_cast<int>(std::floor(std::min(high, double(line.length))))};
}

std::optional<located_symbol> locate_symbol(line_reader& lines,
                                            const grey_view& image,
                                            const line_read& seed) {
  const pass p = best_pass(lines, image, seed);
  line_vote vote;
  for (const crossing& c : p.crossings) vote.add_line({c.read.read});
  for (std::size_t miss = p.crossings.size(); miss < std::size_t(p.tried);
       ++miss)
    vote.add_line({});
  const vote_outcome outcome = vote.outcome();
  // Lines whose only reading failed the check character (text empty) agree
  // on a symbol too: one found with its text left empty.
  const bool rejected = !outcome.symbol &&
                        outcome.lines_rejected >= min_agreeing_lines &&
                        outcome.lines_rejected > outcome.lines_read;
  const int agreed = rejected ? outcome.lines_rejected : outcome.lines_agreed;
  const int disagreed = outcome.lines_read + outcome.lines_rejected - agreed;
  if ((!outcome.symbol && !rejected) || agreed < min_agreeing_lines ||
      agreed <= disagreed)
    return {};
  const std::string text = rejected ? std::string() : outcome.symbol->text;

  std::vector<const crossing*> agreeing;
  point start{}, stop{};
  for (const crossing& c : p.crossings) {
    if (c.read.read.text != text) continue;
    agreeing.push_back(&c);
    start = start + c.read.start;
    stop = stop + c.read.stop;
  }
  const double share = 1.0 / agreeing.size();
  start = share * start;
  stop = share * stop;
  // Square to the bars: the last pass stops turning once they lean less
  // than max_lean, which is still a degree.
  const point along = normalised(p.axis - lean(p) * quarter_turn(p.axis));
  const point up{along.y, -along.x};  // a quarter turn back, on screen: up
  double low = 1e300, high = -1e300, mean_height = 0;
  for (const crossing* c : agreeing) {
    const double h = dot(c->read.start, up);
    low = std::min(low, h);
    high = std::max(high, h);
    mean_height += h * share;
  }
  const fitted_end start_end =
      fit_end(agreeing, up, mean_height,
              [](const crossing& c) { return c.read.start; });
  const fitted_end stop_end = fit_end(
      agreeing, up, mean_height, [](const crossing& c) { return c.read.stop; });
  const auto place = [&](const fitted_end& end, double h) {
    return end.at_mean + (h - mean_height) * end.per_height;
  };

  const double module = printed_module(agreeing, start, stop);
  const double limit = walk_limit * (high - low) + 4 * p.step;
  const bar_walk start_bar{image, start_end, mean_height, 0.5 * module * along,
                           -2 * module * along};
  const bar_walk stop_bar{image, stop_end, mean_height, -0.5 * module * along,
                          2 * module * along};
  const double inset = std::min(band_reach, (high - low) / 2);
  const double start_top = start_bar.reach(high, 1, inset, limit);
  const double stop_top = stop_bar.reach(high, 1, inset, limit);
  const double start_bottom = start_bar.reach(low, -1, inset, limit);
  const double stop_bottom = stop_bar.reach(low, -1, inset, limit);

  located_symbol located;
  found_symbol& s = located.symbol;
  s.read = rejected ? agreeing.front()->read.read : *outcome.symbol;
  set_printed(s, agreeing.front()->read.printed);
  s.located = true;
  s.corners = {place(start_end, start_top), place(stop_end, stop_top),
               place(stop_end, stop_bottom), place(start_end, start_bottom)};
  double angle = std::atan2(-along.y, along.x) * 180 / pi;
  if (angle <= 0) angle += 360;  // -0 too
  if (angle >= 360) angle -= 360;
  s.angle = angle;
  s.module_size = module;
  s.lines_agreed = agreed;
  s.lines_tried = outcome.lines_tried;

  symbol_area& area = located.area;
  area.along = along;
  area.up = up;
  area.length = length(stop - start);
  area.origin = start;
  area.bottom = std::min(start_bottom, stop_bottom) - mean_height;
  area.top = std::max(start_top, stop_top) - mean_height;
  return located;
}

bool same_symbol(const grey_view& image, const located_symbol& symbol,
                 const located_symbol& other) {
  const found_symbol& a = symbol.symbol;
  const found_symbol& b = other.symbol;
  const symbol_area& area = symbol.area;
  const double turn = std::fabs(std::remainder(a.angle - b.angle, 360.0));
  if (a.read.text != b.read.text || turn > max_merge_turn) return false;
  const point b_start = 0.5 * (b.corners[0] + b.corners[3]);
  if (std::fabs(dot(b_start - area.origin, area.along)) >
      max_merge_shift * a.module_size)
    return false;
  // The heights between the two outlines, in `symbol`'s frame.
  const double b_top = dot(b.corners[0] - area.origin, area.up);
  const double b_bottom = dot(b.corners[3] - area.origin, area.up);
  const double b_high = std::max(b_top, b_bottom);
  const double b_low = std::min(b_top, b_bottom);
  if (b_low <= area.top && b_high >= area.bottom) return true;  // overlapping
  const double from = std::min(area.top, b_high);
  const double to = std::max(area.bottom, b_low);
  const point inward = 0.5 * a.module_size * area.along;
  const point outward = -2 * a.module_size * area.along;
  const float dark = sample_at(image, area.origin + inward);
  const float light = sample_at(image, area.origin + outward);
  for (double h = std::min(from, to); h <= std::max(from, to); h += 1.0) {
    const point edge = area.origin + h * area.up;
    if (sample_at(image, edge + inward) > (dark + light) / 2) return false;
  }
  return true;
}

void merge_symbol(located_symbol& symbol, const located_symbol& other) {
  found_symbol& a = symbol.symbol;
  const found_symbol& b = other.symbol;
  symbol_area& area = symbol.area;
  a.lines_agreed += b.lines_agreed;
  a.lines_tried += b.lines_tried;
  // An outline at another angle is a poorer one: it only adds its lines.
  if (std::fabs(std::remainder(a.angle - b.angle, 360.0)) > max_extend_turn)
    return;
  const auto height = [&](point p) { return dot(p - area.origin, area.up); };
  if (height(b.corners[0]) > height(a.corners[0])) {
    a.corners[0] = b.corners[0];
    a.corners[1] = b.corners[1];
  }
  if (height(b.corners[3]) < height(a.corners[3])) {
    a.corners[2] = b.corners[2];
    a.corners[3] = b.corners[3];
  }
  area.top =
      std::max(area.top, std::max(height(b.corners[0]), height(b.corners[1])));
  area.bottom = std::min(area.bottom,
                         std::min(height(b.corners[2]), height(b.corners[3])));
}
