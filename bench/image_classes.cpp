// Each class is about fifteen images of one kind, drawn from its own seed:
// sizes, texts, angles and damage vary within the class's ranges, which
// follow samples/compare/make_set.py's kinds (blur as a share of the module,
// noise in grey levels, turns in degrees).
#include "bench/image_classes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/symbol_drawing.h"
#include "image/image_pages.h"
#include "image/input_file.h"

namespace {

using drawing::box;
using drawing::symbol_shape;

constexpr int images_per_class = 15;

struct range {
  double low, high;
};

// Draws from a fixed seed: mt19937's numbers are the same everywhere, the
// standard distributions' are not.
class dice {
 public:
  explicit dice(unsigned seed) : engine_(seed) {}
  double uniform(range r) {
    return r.low + (r.high - r.low) * (engine_() / 4294967296.0);
  }
  int integer(int low, int high) {
    return low + static_cast<int>(engine_() % unsigned(high - low + 1));
  }
  double either_way(range r) {
    return engine_() % 2 ? uniform(r) : -uniform(r);
  }
  unsigned seed() { return engine_(); }

 private:
  std::mt19937 engine_;
};

// A class's seed from its name, the same on every system.
unsigned seed_of(const std::string& name) {
  unsigned seed = 2166136261u;
  for (unsigned char c : name) seed = (seed ^ c) * 16777619u;
  return seed;
}

// 3 to 12 characters that every reader returns as drawn (no full-ASCII
// shifts, no spaces), fewer where the symbol would not fit in `length`
// pixels at `module` pixels per module.
std::string random_text(dice& d, double length, double module) {
  static const std::string plain = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-.";
  constexpr double character_modules = 14.5;  // 6 narrow, 3 wide, a gap
  const int fit =
      std::max(1, int((length / module + 1) / character_modules) - 2);
  std::string text(d.integer(std::min(3, fit), std::min(12, fit)), ' ');
  for (char& c : text) c = plain[d.integer(0, int(plain.size()) - 1)];
  return text;
}

std::vector<bench_image> samples(dice&) {
  std::vector<bench_image> images;
  for (const char* name :
       {"check-char-2px.png", "clean-1px.png", "degraded-tilted.png",
        "quarter-turn.png", "degraded-low-contrast.pgm"}) {
    input_file input(std::string(TARN_SAMPLES_DIR) + "/" + name,
                     tarn::read_options{}.max_file_bytes);
    images.push_back({image_pages(input, tarn::read_options{}).read(0)});
  }
  return images;
}

// Eight 600x400 images of one symbol, straight, small, upside down, turned
// and in perspective; degraded: blurred and noisy too.
std::vector<bench_image> drawn(dice& d, bool degraded) {
  struct variant {
    double angle, module, blur, far_scale;
  };
  const variant variants[] = {
      {0, 3, 0.5, 1},    {0, 2, 0.5, 1}, {180, 3, 0.5, 1}, {25, 3, 0.5, 1},
      {90, 2.5, 0.5, 1}, {0, 3, 2.7, 1}, {5, 3, 0.8, 0.7}, {40, 3.5, 1, 1}};
  std::vector<bench_image> images;
  for (const variant& v : variants) {
    grey_image image = drawing::blank_page(600, 400);
    symbol_shape shape{"CODE-39", 0, 0, v.angle, v.module, 60, v.far_scale};
    drawing::centre_at(shape, 300, 200);
    drawing::draw(image, shape);
    drawing::blur(image, degraded ? v.blur : 0);
    drawing::add_noise(image, degraded ? 14 : 0, d.seed());
    images.push_back({std::move(image)});
  }
  return images;
}

std::vector<bench_image> page_of_four(dice&) {
  grey_image page = drawing::blank_page(1200, 900);
  drawing::text_marks(page, {50, 40, 1150, 150}, 10, 5);
  drawing::draw(page, {"INVOICE-1", 80, 250, 0, 3, 60});
  drawing::draw(page, {"ORDER 2", 700, 250, 0, 3, 60});
  drawing::draw(page, {"LOT 3", 100, 600, 15, 3, 60});
  drawing::draw(page, {"LOT-4", 700, 650, 0, 2.5, 60});
  drawing::text_marks(page, {50, 760, 1150, 870}, 10, 5);
  drawing::blur(page, 0.6);
  return {{std::move(page), 4}};
}

std::vector<bench_image> photo_page(dice&) {
  grey_image page = drawing::blank_page(4000, 3000);
  drawing::draw(page, {"SMALL", 2500, 1800, 0, 2, 40});
  return {{std::move(page)}};
}

// One symbol on a page, drawn from these ranges. Sizes are in modules of
// the symbol, angles in degrees, either way; the light beside and above the
// bars is a label on a dark ground where `ground` is wider than 0.
struct single_recipe {
  const char* name;
  range module;     // pixels per module
  range height;     // of the bars
  range angle;      // turned
  range far_scale;  // the stop end's size against the start's
  range ink;        // spread, or thinned, on each bar
  range blur;       // Gaussian sigma
  range noise;      // standard deviation, grey levels
  range light;      // the darkest light across the page, a share of full
  range quiet;      // light before and after the bars
  range above;      // light above and below them
  range ground;     // dark ground around the light, pixels
};

// clang-format off
const single_recipe single_recipes[] = {
    // name
    //  module      height    angle     far scale    ink          blur
    //  noise       light        quiet     above     ground
    {"blurred 0.4-1 module",
     {3, 5},      {8, 16},  {0, 0},   {1, 1},      {0, 0},      {0.4, 1},
     {2, 2},      {1, 1},      {10, 25}, {8, 16},  {0, 0}},
    {"blurred 0.3-0.6 module, noisy, turned 2-10 deg",
     {2.5, 4},    {10, 25}, {2, 10},  {1, 1},      {0, 0},      {0.3, 0.6},
     {3, 6},      {1, 1},      {10, 25}, {10, 20}, {0, 0}},
    {"turned 10-45 deg",
     {1.8, 3.5},  {12, 35}, {10, 45}, {1, 1},      {0, 0},      {0, 0},
     {1, 5},      {1, 1},      {10, 25}, {10, 20}, {0, 0}},
    {"crops 10-30 px tall, 0-3 modules beside",
     {1.25, 2},   {8, 15},  {0, 0},   {1, 1},      {0, 0},      {0, 0.5},
     {0, 6},      {1, 1},      {0, 3},   {0, 0},   {0, 0}},
    {"ink spread or thinned 0.2-0.35 module",
     {2, 4},      {12, 30}, {0, 4},   {1, 1},      {0.2, 0.35}, {0.1, 0.1},
     {1, 5},      {1, 1},      {10, 25}, {10, 20}, {0, 0}},
    {"perspective, far end 0.6-0.85 as tall",
     {2, 3.5},    {12, 30}, {0, 8},   {0.6, 0.85}, {0, 0},      {0.1, 0.1},
     {1, 5},      {1, 1},      {10, 25}, {10, 20}, {0, 0}},
    {"label edge 1-4 modules from the bars",
     {2, 3.5},    {12, 30}, {0, 0},   {1, 1},      {0, 0},      {0.2, 0.2},
     {1, 5},      {1, 1},      {1, 4},   {2, 6},   {15, 60}},
    {"1.1-2 px per module",
     {1.1, 2},    {12, 35}, {0, 3},   {1, 1},      {0, 0},      {0, 0},
     {2, 2},      {1, 1},      {10, 25}, {10, 20}, {0, 0}},
    {"light falling to 25-50 %",
     {1.8, 3.5},  {12, 35}, {0, 5},   {1, 1},      {0, 0},      {0, 0},
     {1, 5},      {0.25, 0.5}, {10, 25}, {10, 20}, {0, 0}},
};
// clang-format on

bench_image single_symbol(const single_recipe& recipe, dice& d) {
  const double module = d.uniform(recipe.module);
  symbol_shape shape;
  shape.code = random_text(d, 700, module);
  shape.angle = d.either_way(recipe.angle);
  shape.module = module;
  shape.height = module * d.uniform(recipe.height);
  shape.far_scale = d.uniform(recipe.far_scale);
  shape.ink = d.either_way(recipe.ink);
  const box bars = drawing::bounds(shape);
  const double light_width =
      bars.right - bars.left + 2 * module * d.uniform(recipe.quiet);
  const double light_height =
      bars.bottom - bars.top + 2 * module * d.uniform(recipe.above);
  const double ground = d.uniform(recipe.ground);
  grey_image page =
      drawing::blank_page(int(std::ceil(light_width + 2 * ground)),
                          int(std::ceil(light_height + 2 * ground)), 70);
  drawing::fill(
      page, {ground, ground, ground + light_width, ground + light_height}, 235);
  drawing::centre_at(shape, page.width / 2.0, page.height / 2.0);
  drawing::draw(page, shape);
  const double darkest = d.uniform(recipe.light);
  drawing::shade(page, darkest, d.uniform({0, 360}));
  drawing::blur(page, module * d.uniform(recipe.blur));
  drawing::add_noise(page, d.uniform(recipe.noise), d.seed());
  return {std::move(page)};
}

std::vector<bench_image> single_symbols(const single_recipe& recipe, dice& d) {
  std::vector<bench_image> images;
  for (int i = 0; i < images_per_class; ++i)
    images.push_back(single_symbol(recipe, d));
  return images;
}

// The longest symbol `bar_height` tall, turned by `angle`, that fits a
// width x height area.
double longest_fitting(double angle, double bar_height, double width,
                       double height) {
  const double along = std::max(1e-3, std::fabs(std::cos(angle * M_PI / 180)));
  const double across = std::max(1e-3, std::fabs(std::sin(angle * M_PI / 180)));
  return std::min((width - bar_height * across) / along,
                  (height - bar_height * along) / across);
}

// Several symbols on a page, one in each cell of a grid, turned by `angle`.
struct page_layout {
  int columns, rows, width, height;
  range angle;
};

const page_layout page_layouts[] = {
    {2, 1, 700, 360, {0, 0}},    // side by side
    {1, 2, 560, 400, {0, 0}},    // stacked
    {1, 3, 560, 480, {0, 0}},    // three stacked
    {2, 1, 720, 460, {10, 30}},  // two turned
    {2, 2, 800, 600, {0, 0}},    // a grid of four
};

bench_image page_of_several(const page_layout& layout, dice& d) {
  grey_image page = drawing::blank_page(layout.width, layout.height);
  const double cell_width = double(layout.width) / layout.columns;
  const double cell_height = double(layout.height) / layout.rows;
  const double module = d.uniform({1.6, 3});
  const int cells = layout.columns * layout.rows;
  for (int cell = 0; cell < cells; ++cell) {
    symbol_shape shape;
    shape.angle = d.either_way(layout.angle);
    shape.module = module;
    shape.height = module * d.uniform({10, 20});
    const double margin = 12 * module;  // 6 modules each side
    const double longest = longest_fitting(
        shape.angle, shape.height, cell_width - margin, cell_height - margin);
    shape.code = random_text(d, longest, module);
    const double x = (cell % layout.columns + 0.5) * cell_width;
    const double y = (cell / layout.columns + 0.5) * cell_height;
    const double shift_x = d.uniform({-8, 8}), shift_y = d.uniform({-8, 8});
    drawing::centre_at(shape, x + shift_x, y + shift_y);
    drawing::draw(page, shape);
  }
  drawing::add_noise(page, 2, d.seed());
  return {std::move(page), cells};
}

std::vector<bench_image> pages_of_several(dice& d) {
  std::vector<bench_image> images;
  for (int i = 0; i < images_per_class; ++i)
    images.push_back(
        page_of_several(page_layouts[i % std::size(page_layouts)], d));
  return images;
}

// Marks `gap` pixels from an unturned symbol's bars.
using surroundings = void (*)(grey_image&, const box& bars, double gap,
                              double module, dice&);

void text_beside(grey_image& page, const box& bars, double gap, double,
                 dice& d) {
  const int size = int((bars.bottom - bars.top) * d.uniform({0.4, 0.8}));
  const double top = (bars.top + bars.bottom - size) / 2;
  drawing::text_marks(page, {10, top, bars.left - gap, top + size}, size,
                      d.seed());
  drawing::text_marks(page,
                      {bars.right + gap, top, page.width - 10.0, top + size},
                      size, d.seed());
}

void box_around(grey_image& page, const box& bars, double gap, double module,
                dice& d) {
  const double line = module * d.uniform({0.5, 1.5}), reach = gap + line;
  drawing::outline(page,
                   {bars.left - reach, bars.top - reach, bars.right + reach,
                    bars.bottom + reach},
                   line);
}

void lines_above_and_below(grey_image& page, const box& bars, double gap,
                           double module, dice& d) {
  const int size = int(module * d.uniform({3, 6}));
  drawing::text_marks(
      page,
      {bars.left, bars.top - gap - size - 0.5, bars.right, bars.top - gap},
      size, d.seed());
  drawing::text_marks(page,
                      {bars.left, bars.bottom + gap, bars.right,
                       bars.bottom + gap + size + 0.5},
                      size, d.seed());
}

const surroundings clutter_kinds[] = {text_beside, box_around,
                                      lines_above_and_below};

// One unturned symbol with text or a box 3 to 7 modules from its bars, and
// blocks of text-like marks 16 modules or more above and below it, beyond
// the lines of lines_above_and_below.
bench_image symbol_among_clutter(surroundings surround, dice& d) {
  const double module = d.uniform({2, 3.5});
  symbol_shape shape;
  shape.code = random_text(d, 360, module);
  shape.module = module;
  shape.height = module * d.uniform({12, 25});
  grey_image page = drawing::blank_page(600, d.integer(180, 400));
  drawing::centre_at(shape, 300 + d.uniform({-20, 20}), page.height / 2.0);
  const box bars = drawing::bounds(shape);
  surround(page, bars, module * d.integer(3, 7), module, d);
  const double away = 16 * module;
  const int size = d.integer(8, 14);
  drawing::text_marks(page, {10, 10, 590, bars.top - away}, size, d.seed());
  drawing::text_marks(page, {10, bars.bottom + away, 590, page.height - 10.0},
                      size, d.seed());
  drawing::draw(page, shape);
  drawing::blur(page, 0.25 * module);
  drawing::add_noise(page, d.uniform({1, 5}), d.seed());
  return {std::move(page)};
}

std::vector<bench_image> clutter(dice& d) {
  std::vector<bench_image> images;
  for (int i = 0; i < images_per_class; ++i)
    images.push_back(
        symbol_among_clutter(clutter_kinds[i % std::size(clutter_kinds)], d));
  return images;
}

struct class_recipe {
  std::string name;
  std::function<std::vector<bench_image>(dice&)> draw;
};

std::vector<class_recipe> class_recipes() {
  std::vector<class_recipe> recipes = {
      {"samples (files)", samples},
      {"drawn 600x400, clean", [](dice& d) { return drawn(d, false); }},
      {"drawn 600x400, blurred and noisy",
       [](dice& d) { return drawn(d, true); }},
      {"1200x900, four among text", page_of_four},
      {"4000x3000, one small symbol", photo_page}};
  for (const single_recipe& recipe : single_recipes)
    recipes.push_back({recipe.name, [&recipe](dice& d) {
                         return single_symbols(recipe, d);
                       }});
  recipes.push_back({"two to four per page", pages_of_several});
  recipes.push_back({"among text and boxes 3-7 modules away", clutter});
  return recipes;
}

}  // namespace

std::size_t image_class_count() { return class_recipes().size(); }

const std::vector<image_class>& image_classes() {
  static const std::vector<image_class> classes = [] {
    std::vector<image_class> drawn;
    for (const class_recipe& recipe : class_recipes()) {
      dice d(seed_of(recipe.name));
      drawn.push_back({recipe.name, recipe.draw(d)});
    }
    return drawn;
  }();
  return classes;
}
