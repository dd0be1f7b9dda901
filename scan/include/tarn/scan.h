// Reads Code 39 Extended barcodes from images in memory and from files, and
// grades their print quality: the engine behind tarn-scan and the Python
// package. It loads the decoder plug-in with dlopen, as any host does.
//
//   tarn::image_view image(pixels, width, height, tarn::pixel_format::rgb);
//   for (const tarn::barcode& symbol : tarn::read_barcodes(image))
//     std::cout << symbol.text << '\n';
//
// Every function may be called from many threads at once. Decode calls into
// the plug-in, which keeps its state in process-wide globals, take turns
// behind one lock, and so do pages of 16 megapixels or more, to bound
// memory; the rest of the work runs in parallel. The library starts no
// threads of its own.
#ifndef TARN_SCAN_H
#define TARN_SCAN_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// A file or image that cannot be scanned: missing, unreadable, truncated,
// corrupt or of a format the scanner does not know. The message is one line,
// ready for the user, the same that tarn-scan prints.
struct input_error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The plug-in cannot be loaded: the loader's own words.
struct plugin_error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// 8 bits a channel, channels in the order named; alpha is straight (not
// premultiplied) and transparent parts show white paper.
enum class pixel_format { grey, rgb, bgr, rgba, bgra };

// Pixels in the caller's memory, row after row, top row first. The view
// copies nothing; the memory must stay valid and unchanged while it is read.
class image_view {
 public:
  // `row_stride` is the distance in bytes from a row to the next, 0 for rows
  // packed without padding. Throws std::invalid_argument for null data, a
  // width or height below 1, or a stride shorter than a row.
  image_view(const std::uint8_t* data, int width, int height,
             pixel_format format = pixel_format::grey,
             std::ptrdiff_t row_stride = 0);

  const std::uint8_t* data() const { return data_; }
  int width() const { return width_; }
  int height() const { return height_; }
  pixel_format format() const { return format_; }
  std::ptrdiff_t row_stride() const { return row_stride_; }

 private:
  const std::uint8_t* data_;
  int width_;
  int height_;
  pixel_format format_;
  std::ptrdiff_t row_stride_;
};

// What the plug-in does with a symbol's modulo-43 check character.
enum class checksum_mode {
  none,    // keep it in the text as an ordinary character
  verify,  // refuse a symbol whose check character is wrong
  strip,   // verify, then drop it from the text
};

class page_renderer;

struct read_options {
  checksum_mode checksum = checksum_mode::none;
  // Print quality after ISO/IEC 15416, estimated from the image.
  bool grade = false;
  double aperture = 0;  // diameter; 0: 0.8 X; in X, or in mils with dpi
  double dpi = 0;       // the image's resolution; 0: unknown
  bool linear = false;  // sample values are linear reflectance, not sRGB
  int max_symbols = 0;  // stop after this many symbols; 0: every symbol
  // read_file refuses larger files, and more pages in one file.
  std::uint64_t max_file_bytes = std::uint64_t{256} << 20;
  int max_pages = 1000;
  // Renders the documents read_file meets, such as PDF; none: refused.
  const page_renderer* renderer = nullptr;
  double pdf_dpi = 300;  // the resolution documents are rendered at
};

// A document whose pages read_file renders to grey pixels. Implemented
// outside the library (tarn-scan and the Python package render PDF with
// poppler), so that no renderer's licence binds the library.
class rendered_document {
 public:
  virtual ~rendered_document() = default;
  virtual int page_count() const = 0;
  // The page's width and height in points (1/72 inch), as shown; read_file
  // checks the pixels they make before it asks for them.
  virtual std::array<double, 2> page_points(int index) const = 0;
  // The page at `dpi` into `width` x `height` grey values (0 black, 255
  // white, sRGB-coded), rows packed. Throws input_error.
  virtual void render(int index, double dpi, std::uint8_t* pixels, int width,
                      int height) const = 0;
};

class page_renderer {
 public:
  virtual ~page_renderer() = default;
  // The document format's name, for messages: "PDF".
  virtual const char* format() const = 0;
  // True when a file's first bytes (up to 1 KB) begin such a document.
  virtual bool reads(std::string_view head) const = 0;
  // Throws input_error for a broken, truncated or encrypted document. The
  // bytes outlive the document.
  virtual std::unique_ptr<rendered_document> open(
      const std::vector<char>& bytes) const = 0;
};

// Pixel coordinates: pixel (x, y) spans [x, x + 1) x [y, y + 1), y grows
// downwards.
struct point {
  double x = 0;
  double y = 0;
};

// The graded parameters of a profile, in the order of the plug-in's scan
// grade.
enum class parameter {
  decode,
  minimum_reflectance,  // Rmin <= 0.5 Rmax
  edge_determination,
  minimum_edge_contrast,  // ECmin >= 15 %
  symbol_contrast,
  modulation,
  defects,
  decodability,
};
constexpr int parameter_count = 8;

const char* parameter_name(parameter p);  // "SC"
const char* parameter_key(parameter p);   // "symbol_contrast"

struct parameter_score {
  double value = 0;  // a share; pass/fail parameters 1 or 0
  double grade = 0;  // 4 to 0; pass 4, fail 0; a mean may be fractional
};

// A run of a profile's samples on one side of the global threshold.
struct profile_element {
  std::size_t first = 0;  // sample indices, both included
  std::size_t last = 0;
  bool bar = false;
  float reflectance = 0;     // a space's highest sample, a bar's lowest
  float non_uniformity = 0;  // ERN: its deepest dip from the peaks around it
};

// What a scan reflectance profile measures. Quiet zones count as spaces.
struct profile_measures {
  float rmin = 0;
  float rmax = 0;
  float symbol_contrast = 0;   // SC = Rmax - Rmin
  float global_threshold = 0;  // GT = (Rmax + Rmin) / 2
  std::vector<profile_element> elements;
  std::vector<double> edges;  // GT crossings in samples; edge i ends element i
  float edge_contrast_min = 0;    // ECmin
  std::size_t ecmin_element = 0;  // ECmin is between it and the next
  float ern_max = 0;
  std::size_t ern_element = 0;
  // A symbol of 20 + 10k edges between two quiet zones.
  bool edges_determined = false;
};

// Code 39's two widths, measured on one profile.
struct code39_checks {
  double narrow = 0;             // mean narrow element, the measured X
  double wide_narrow_ratio = 0;  // mean wide / mean narrow, 2.0 to 3.0
  double widest_gap = 0;         // widest inter-character gap, in X
};

struct profile_grade {
  double band_position = 0;    // 0 top of the bars to 1 bottom
  std::vector<float> samples;  // reflectance
  double first_module = 0;  // the first sample's position, in X from the bars
  double modules_per_sample = 0;
  profile_measures measures;
  code39_checks checks;
  double quiet_zones[2] = {0, 0};  // leading, trailing, in X
  parameter_score scores[parameter_count];
  int grade = 0;  // the plug-in's scan grade
};

struct symbol_grade {
  bool located = false;  // false: no outline, no profiles
  double module_px = 0;
  double aperture_px = 0;
  double dpi = 0;
  std::vector<profile_grade> profiles;
  double grade = 0;  // mean of the profile grades, 4 (A) to 0 (F)
};

// A, B, C, D or F for a mean grade.
char grade_letter(double grade);

// The mean over the profiles of one parameter's value and grade.
parameter_score mean_score(const symbol_grade& grade, parameter p);

// The parameter whose mean grade is lowest, the first such in scan-grade
// order; none when every parameter has 4.
std::optional<parameter> weakest_parameter(const symbol_grade& grade);

// The profile with the lowest grade, the first such. The grade must be
// located.
const profile_grade& worst_profile(const symbol_grade& grade);

// Code 39's own checks over the decoded profiles: the mean wide/narrow
// ratio, the widest gap, the narrowest quiet zones.
struct symbol_checks {
  bool measured = false;  // some profile decoded
  double wide_narrow_ratio = 0;
  double widest_gap = 0;
  double quiet_zones[2] = {0, 0};
  bool ratio_ok = false;
  bool quiet_zones_ok = false;
};
symbol_checks code39_symbol_checks(const symbol_grade& grade);

// Modules as millimetres at the grade's resolution; 0 when it is unknown.
double modules_to_mm(const symbol_grade& grade, double modules);

// One symbol, read where it stands.
struct barcode {
  std::string text;  // the full-ASCII text; empty: refused check character
  std::string raw;   // the Code 39 characters as printed, without the *s
  std::string check_char;      // the symbol's last data character
  bool check_char_ok = false;  // it is the modulo-43 check of the others
  // The outline of the bars: start character's top, stop character's top,
  // stop's bottom, start's bottom ("top" as seen when the symbol reads left
  // to right). Not located for symbols read from edge files.
  bool located = false;
  std::array<point, 4> corners{};
  // Reading direction, start to stop, in degrees counter-clockwise from the
  // x axis as seen on screen: 0 reads left to right, 180 upside down.
  double angle = 0;
  double module_size = 0;  // pixels per narrow module
  int lines_agreed = 0;    // scan lines across the symbol that read `text`
  int lines_tried = 0;     // scan lines across the symbol's region
  bool inverted = false;   // light bars on a dark ground
  // False for a symbol-like area that read nothing (bars of Code 39's two
  // widths), reported only when grading: grade F, no text.
  bool decoded = true;
  int page = 0;  // counted from 1 in a multi-page file, else 0
  std::optional<symbol_grade> grade;  // when asked for
};

// One page of a file, or the whole file when it cannot be opened.
struct page_result {
  int page = 0;  // counted from 1 in a multi-page file, else 0
  std::vector<barcode> barcodes;
  std::string error;  // why the page could not be read; empty when it was
};

// A loaded decoder plug-in and what reads through it. Cheap to share: every
// member is const and may be called from many threads at once.
class scanner {
 public:
  // The plug-in installed beside this library, else the build tree's.
  scanner();
  // Throws plugin_error when the library or its entry points are missing.
  explicit scanner(const std::string& plugin_path);
  ~scanner();
  scanner(scanner&&) noexcept;
  scanner& operator=(scanner&&) noexcept;

  // Every symbol in the image, each once, in the order found.
  std::vector<barcode> read_barcodes(const image_view& image,
                                     const read_options& options = {}) const;

  // Every page of an image file (PNG, JPEG, TIFF, WebP, PBM, PGM), of a
  // document the options' renderer reads, or the lines of an edge file; "-" is
  // standard input. Errors are filed, not thrown: a file that cannot be opened
  // is one page_result with its error, and a page that fails does not stop the
  // others.
  std::vector<page_result> read_file(const std::string& path,
                                     const read_options& options = {}) const;

  std::string plugin_path() const;
  std::string plugin_version() const;

 private:
  struct loaded;
  std::unique_ptr<const loaded> plugin_;
};

// The same through the default plug-in, loaded once on first use.
std::vector<barcode> read_barcodes(const image_view& image,
                                   const read_options& options = {});
std::vector<page_result> read_file(const std::string& path,
                                   const read_options& options = {});

// A file's results as tarn-scan --json prints them: one JSON object for the
// file with its symbols, then one per page that could not be read; each line
// ends in a newline.
std::string json_lines(const std::string& file,
                       const std::vector<page_result>& pages);

}  // namespace tarn

#endif
