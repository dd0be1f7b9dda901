#include "image/tiff_reader.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image/input_error.h"

namespace {

// A band of RGBA rows, and a strip or tile decoded whole into one: a TIFF
// page's decoding stays within max_decoder_bytes.
constexpr std::size_t max_band_bytes = max_decoder_bytes / 4;
constexpr std::size_t max_strip_bytes = max_decoder_bytes - max_band_bytes;

// The file as libtiff's client, with the first error libtiff reports;
// errors and warnings are never printed.
struct client {
  std::FILE* in;
  toff_t size;
  char error[256] = "";
};

tmsize_t read_bytes(thandle_t handle, void* buffer, tmsize_t size) {
  const auto* file = static_cast<client*>(handle);
  return size <= 0 ? 0
                   : static_cast<tmsize_t>(std::fread(
                         buffer, 1, static_cast<std::size_t>(size), file->in));
}

tmsize_t write_nothing(thandle_t, void*, tmsize_t) { return -1; }

toff_t seek(thandle_t handle, toff_t offset, int whence) {
  std::FILE* in = static_cast<client*>(handle)->in;
  if (offset > static_cast<toff_t>(INT64_MAX) ||
      fseeko(in, static_cast<off_t>(offset), whence) != 0)
    return static_cast<toff_t>(-1);
  return static_cast<toff_t>(ftello(in));
}

int close_nothing(thandle_t) { return 0; }

toff_t file_size(thandle_t handle) {
  return static_cast<client*>(handle)->size;
}

int map_nothing(thandle_t, void**, toff_t*) { return 0; }

void unmap_nothing(thandle_t, void*, toff_t) {}

int keep_first_error(TIFF*, void* handle, const char*, const char* format,
                     va_list arguments) {
  auto* file = static_cast<client*>(handle);
  if (file->error[0] == '\0')
    std::vsnprintf(file->error, sizeof file->error, format, arguments);
  return 1;
}

int ignore_warning(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

struct tiff_closer {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

struct options_freer {
  void operator()(TIFFOpenOptions* options) const {
    TIFFOpenOptionsFree(options);
  }
};

// A pixel of libtiff's RGBA raster as grey over white paper, with the luma
// weights of JPEG's YCbCr. libtiff multiplies RGB by alpha but leaves grey
// as it is, which differs only where a pixel is partly transparent.
std::uint8_t grey_over_white(std::uint32_t abgr) {
  const unsigned luma = (TIFFGetR(abgr) * 299 + TIFFGetG(abgr) * 587 +
                         TIFFGetB(abgr) * 114 + 500) /
                        1000;
  return static_cast<std::uint8_t>(
      std::min(255u, luma + 255u - TIFFGetA(abgr)));
}

// Samples libtiff's RGBA interface cannot take, named before it refuses
// them in its own words.
void check_samples(TIFF* tiff) {
  std::uint16_t format = SAMPLEFORMAT_UINT, bits = 1;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  if (format == SAMPLEFORMAT_IEEEFP || format == SAMPLEFORMAT_COMPLEXIEEEFP)
    throw input_error("TIFF pages of floating-point samples are not supported");
  if (bits > 16)
    throw input_error("TIFF pages of " + std::to_string(bits) +
                      "-bit samples are not supported (1 to 16 bits)");
}

// Every strip or tile must lie inside the file: a page that holds no data
// fails before its pixels are allocated.
void check_strips(TIFF* tiff, toff_t size) {
  const std::uint32_t count =
      TIFFIsTiled(tiff) ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t offset = TIFFGetStrileOffset(tiff, i);
    const std::uint64_t bytes = TIFFGetStrileByteCount(tiff, i);
    if (bytes == 0 || offset > size || bytes > size - offset)
      throw input_error(
          "truncated TIFF image: the page's data lies beyond the end of the "
          "file");
  }
}

// How many rows to decode at once: whole strips or tiles, as many as fit
// max_band_bytes, or a band that fits (libtiff then decodes the strip
// again from its start for each band), a multiple of the rows subsampled
// together.
std::uint32_t band_rows(const TIFFRGBAImage& rgba) {
  std::uint32_t unit = rgba.height;
  if (TIFFIsTiled(rgba.tif))
    TIFFGetField(rgba.tif, TIFFTAG_TILELENGTH, &unit);
  else
    TIFFGetFieldDefaulted(rgba.tif, TIFFTAG_ROWSPERSTRIP, &unit);
  unit = std::clamp<std::uint32_t>(unit, 1, rgba.height);
  std::uint16_t across = 1, down = 1;
  if (rgba.photometric == PHOTOMETRIC_YCBCR)
    TIFFGetFieldDefaulted(rgba.tif, TIFFTAG_YCBCRSUBSAMPLING, &across, &down);
  const std::uint32_t step = std::max<std::uint16_t>(down, 1);
  const auto fitting = std::max<std::uint32_t>(
      step, static_cast<std::uint32_t>(max_band_bytes / sizeof(std::uint32_t) /
                                       rgba.width / step * step));
  return std::min(rgba.height,
                  unit <= fitting ? unit * (fitting / unit) : fitting);
}

// Puts RGBA rows, in the file's order, into the page as grey, turned upright
// as the page's orientation says.
class upright_rows {
 public:
  upright_rows(grey_image& image, std::uint16_t orientation)
      : image_(image),
        mirrored_(orientation == ORIENTATION_TOPRIGHT ||
                  orientation == ORIENTATION_BOTRIGHT ||
                  orientation == ORIENTATION_RIGHTTOP ||
                  orientation == ORIENTATION_RIGHTBOT),
        upside_down_(orientation == ORIENTATION_BOTRIGHT ||
                     orientation == ORIENTATION_BOTLEFT ||
                     orientation == ORIENTATION_RIGHTBOT ||
                     orientation == ORIENTATION_LEFTBOT) {}

  void put(std::uint32_t row, const std::uint32_t* rgba) {
    const auto width = static_cast<std::size_t>(image_.width);
    const std::size_t y = upside_down_ ? image_.height - 1 - row : row;
    std::uint8_t* out = image_.pixels.data() + y * width;
    if (mirrored_)
      std::transform(std::make_reverse_iterator(rgba + width),
                     std::make_reverse_iterator(rgba), out, grey_over_white);
    else
      std::transform(rgba, rgba + width, out, grey_over_white);
  }

 private:
  grey_image& image_;
  bool mirrored_;
  bool upside_down_;
};

// Strips of pixels packed together, a row at a time through libtiff's own
// conversion to RGBA: each strip is decoded once, and never held whole.
bool read_rows(TIFFRGBAImage& rgba, upright_rows& rows) {
  std::vector<unsigned char> line(
      static_cast<std::size_t>(TIFFScanlineSize64(rgba.tif)));
  std::vector<std::uint32_t> converted(rgba.width);
  for (std::uint32_t row = 0; row < rgba.height; ++row) {
    if (TIFFReadScanline(rgba.tif, line.data(), row, 0) < 0) return false;
    rgba.put.contig(&rgba, converted.data(), 0, 0, rgba.width, 1, 0, 0,
                    line.data());
    rows.put(row, converted.data());
  }
  return true;
}

// Tiles, planes and subsampled YCbCr, a band of rows at a time through
// libtiff's RGBA interface, which decodes a whole strip or tile at once.
bool read_bands(TIFFRGBAImage& rgba, upright_rows& rows) {
  TIFF* tiff = rgba.tif;
  const std::uint64_t strip_bytes =
      TIFFIsTiled(tiff) ? TIFFTileSize64(tiff) : TIFFStripSize64(tiff);
  if (strip_bytes > max_strip_bytes)
    throw input_error("TIFF page in strips or tiles of " +
                      std::to_string(strip_bytes >> 20) +
                      " MB, more than the limit of " +
                      std::to_string(max_strip_bytes >> 20) + " MB");
  const std::uint32_t width = rgba.width, height = rgba.height;
  const std::uint32_t band = band_rows(rgba);
  std::vector<std::uint32_t> converted(std::size_t{width} * band);
  for (std::uint32_t top = 0; top < height; top += band) {
    const std::uint32_t count = std::min(band, height - top);
    rgba.row_offset = static_cast<int>(top);
    if (!TIFFRGBAImageGet(&rgba, converted.data(), width, count)) return false;
    for (std::uint32_t r = 0; r < count; ++r)
      rows.put(top + r, converted.data() + std::size_t{r} * width);
  }
  return true;
}

// Whether a page's rows can be read one at a time: strips of packed
// samples, YCbCr ones not subsampled (libtiff hands JPEG-coded ones over as
// RGB).
bool row_by_row(const TIFFRGBAImage& rgba) {
  std::uint16_t across = 1, down = 1;
  TIFFGetFieldDefaulted(rgba.tif, TIFFTAG_YCBCRSUBSAMPLING, &across, &down);
  return !TIFFIsTiled(rgba.tif) && rgba.isContig &&
         (rgba.photometric != PHOTOMETRIC_YCBCR || across * down == 1);
}

// Ends libtiff's RGBA reading however the read ends.
struct rgba_reading {
  TIFFRGBAImage image{};
  ~rgba_reading() { TIFFRGBAImageEnd(&image); }
};

}  // namespace

// An open TIFF file, read through the input's stream.
class tiff_pages::tiff_file {
 public:
  explicit tiff_file(input_file& input) : file_{input.stream(), *input.size()} {
    const std::unique_ptr<TIFFOpenOptions, options_freer> options(
        TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), keep_first_error, &file_);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignore_warning,
                                         nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), max_decoder_bytes);
    // "m": libtiff reads through read_bytes rather than a mapping.
    tiff_.reset(TIFFClientOpenExt("TIFF", "rm", &file_, read_bytes,
                                  write_nothing, seek, close_nothing, file_size,
                                  map_nothing, unmap_nothing, options.get()));
    if (!tiff_) fail();
  }

  TIFF* get() const { return tiff_.get(); }
  toff_t size() const { return file_.size; }
  bool has_error() const { return file_.error[0] != '\0'; }
  void clear_error() { file_.error[0] = '\0'; }

  [[noreturn]] void fail() const {
    throw input_error(std::string("bad TIFF image: ") +
                      (file_.error[0] ? file_.error : "unreadable"));
  }

 private:
  client file_;
  std::unique_ptr<TIFF, tiff_closer> tiff_;
};

bool looks_like_tiff(std::string_view head) {
  // Classic TIFF (42) and BigTIFF (43), little- or big-endian.
  using namespace std::string_view_literals;
  const std::string_view start = head.substr(0, 4);
  return start == "II*\0"sv || start == "MM\0*"sv || start == "II+\0"sv ||
         start == "MM\0+"sv;
}

tiff_pages::tiff_pages(input_file& input, int max_pages) {
  input.make_seekable();
  file_ = std::make_unique<tiff_file>(input);
  TIFF* tiff = file_->get();
  if (TIFFSetDirectory(tiff, static_cast<tdir_t>(max_pages)))
    throw input_error("more than " + std::to_string(max_pages) +
                      " pages, the page limit");
  file_->clear_error();
  const tdir_t readable = std::max<tdir_t>(1, TIFFNumberOfDirectories(tiff));
  // A broken link in the chain of pages: the page it leads to counts too, so
  // that reading it reports the break.
  chain_broken_ = file_->has_error();
  count_ = static_cast<int>(readable) + (chain_broken_ ? 1 : 0);
  file_->clear_error();
  current_ = TIFFSetDirectory(tiff, 0) ? 0 : -1;
}

tiff_pages::~tiff_pages() = default;

grey_image tiff_pages::read(int index) {
  TIFF* tiff = file_->get();
  file_->clear_error();
  const bool next = index == current_ + 1 && current_ >= 0;
  const bool there =
      index == current_ ||
      (next ? TIFFReadDirectory(tiff)
            : TIFFSetDirectory(tiff, static_cast<tdir_t>(index)));
  current_ = there ? index : -1;
  if (!there) file_->fail();
  // libtiff reads a directory whose link to the next is cut off.
  if (chain_broken_ && index + 1 == count_)
    throw input_error("truncated TIFF image: the file ends inside page " +
                      std::to_string(index + 1) + "'s directory");
  std::uint32_t width = 0, height = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  if (width == 0 || height == 0) throw input_error("bad TIFF image: no pixels");
  check_pixel_limit(width, height);
  // A row of RGBA samples fits a band.
  if (width > max_band_bytes / sizeof(std::uint32_t))
    throw input_error("TIFF page of " + std::to_string(width) +
                      " pixels a row, the limit is " +
                      std::to_string(max_band_bytes / sizeof(std::uint32_t)));
  check_samples(tiff);
  check_strips(tiff, file_->size());

  rgba_reading rgba;
  char message[1024] = "";
  if (!TIFFRGBAImageOK(tiff, message) ||
      !TIFFRGBAImageBegin(&rgba.image, tiff, 1, message))
    throw input_error(std::string("unsupported TIFF page: ") + message);
  // Rows come in the file's order; upright_rows turns the page upright.
  rgba.image.req_orientation = rgba.image.orientation;
  grey_image image{static_cast<int>(width), static_cast<int>(height), {}};
  image.pixels.resize(std::size_t{width} * height);
  upright_rows rows(image, rgba.image.orientation);
  if (!(row_by_row(rgba.image) ? read_rows(rgba.image, rows)
                               : read_bands(rgba.image, rows)))
    file_->fail();
  return image;
}
