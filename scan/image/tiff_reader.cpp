#include "image/tiff_reader.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "image/input_error.h"

namespace {

// The file in memory as libtiff's client, with the first error libtiff
// reports; errors and warnings are never printed.
struct memory_file {
  const std::vector<unsigned char>& bytes;
  toff_t position = 0;
  char error[256] = "";
};

tmsize_t read_bytes(thandle_t handle, void* buffer, tmsize_t size) {
  auto* file = static_cast<memory_file*>(handle);
  if (size <= 0 || file->position >= file->bytes.size()) return 0;
  const auto count = static_cast<std::size_t>(std::min<toff_t>(
      static_cast<toff_t>(size), file->bytes.size() - file->position));
  std::memcpy(buffer, file->bytes.data() + file->position, count);
  file->position += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t write_nothing(thandle_t, void*, tmsize_t) { return -1; }

toff_t seek(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<memory_file*>(handle);
  const toff_t base = whence == SEEK_CUR   ? file->position
                      : whence == SEEK_END ? file->bytes.size()
                                           : 0;
  file->position = base + offset;  // wraps around for a move backwards
  return file->position;
}

int close_nothing(thandle_t) { return 0; }

toff_t file_size(thandle_t handle) {
  return static_cast<memory_file*>(handle)->bytes.size();
}

int map_nothing(thandle_t, void**, toff_t*) { return 0; }

void unmap_nothing(thandle_t, void*, toff_t) {}

int keep_first_error(TIFF*, void* handle, const char*, const char* format,
                     va_list arguments) {
  auto* file = static_cast<memory_file*>(handle);
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

// An open TIFF file, on its first page.
class tiff_file {
 public:
  explicit tiff_file(const std::vector<unsigned char>& bytes) : file_{bytes} {
    const std::unique_ptr<TIFFOpenOptions, options_freer> options(
        TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), keep_first_error, &file_);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignore_warning,
                                         nullptr);
    // "m": libtiff reads through read_bytes rather than a mapping.
    tiff_.reset(TIFFClientOpenExt("TIFF", "rm", &file_, read_bytes,
                                  write_nothing, seek, close_nothing, file_size,
                                  map_nothing, unmap_nothing, options.get()));
    if (!tiff_) fail();
  }

  TIFF* get() const { return tiff_.get(); }
  bool has_error() const { return file_.error[0] != '\0'; }
  void clear_error() { file_.error[0] = '\0'; }

  [[noreturn]] void fail() const {
    throw input_error(std::string("bad TIFF image: ") +
                      (file_.error[0] ? file_.error : "unreadable"));
  }

 private:
  memory_file file_;
  std::unique_ptr<TIFF, tiff_closer> tiff_;
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

}  // namespace

bool looks_like_tiff(const std::vector<unsigned char>& bytes) {
  // Classic TIFF (42) and BigTIFF (43), little- or big-endian.
  static const unsigned char headers[4][4] = {{'I', 'I', 42, 0},
                                              {'M', 'M', 0, 42},
                                              {'I', 'I', 43, 0},
                                              {'M', 'M', 0, 43}};
  return bytes.size() >= 4 &&
         std::any_of(std::begin(headers), std::end(headers),
                     [&](const unsigned char* header) {
                       return std::memcmp(bytes.data(), header, 4) == 0;
                     });
}

int count_tiff_pages(const std::vector<unsigned char>& bytes) {
  tiff_file tiff(bytes);
  tiff.clear_error();
  const tdir_t readable =
      std::max<tdir_t>(1, TIFFNumberOfDirectories(tiff.get()));
  // A broken link in the chain of pages: the page it leads to counts too, so
  // that reading it reports the break.
  return static_cast<int>(readable) + (tiff.has_error() ? 1 : 0);
}

grey_image read_tiff_page(const std::vector<unsigned char>& bytes, int index) {
  const tiff_file tiff(bytes);
  if (!TIFFSetDirectory(tiff.get(), static_cast<tdir_t>(index))) tiff.fail();
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
  check_pixel_limit(width, height);

  std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
  if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, raster.data(),
                                 ORIENTATION_TOPLEFT, 1))
    tiff.fail();
  grey_image image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(raster.size());
  std::transform(raster.begin(), raster.end(), image.pixels.begin(),
                 grey_over_white);
  return image;
}
