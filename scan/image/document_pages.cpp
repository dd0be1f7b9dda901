#include "image/document_pages.h"

#include <cmath>
#include <string>

#include "image/input_error.h"

namespace {

std::vector<char> whole(input_file& input) {
  std::vector<char> bytes;
  if (input.size()) bytes.reserve(*input.size());
  char chunk[65536];
  for (std::size_t got;
       (got = std::fread(chunk, 1, sizeof chunk, input.stream())) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + got);
  input.check_limit();
  return bytes;
}

// A side of the page in pixels; whole, or too large for any page.
long long pixels(double points, double dpi) {
  const double pixels = std::ceil(points * dpi / 72 - 1e-6);
  return pixels >= 1 && pixels < 1e9 ? static_cast<long long>(pixels)
                                     : max_image_pixels + 1;
}

}  // namespace

bool looks_like_pdf(std::string_view head) {
  return head.substr(0, 5) == "%PDF-";
}

document_pages::document_pages(input_file& input,
                               const tarn::page_renderer& renderer,
                               const tarn::read_options& options)
    : bytes_(whole(input)),
      document_(renderer.open(bytes_)),
      dpi_(options.pdf_dpi),
      count_(document_->page_count()) {
  if (count_ < 1)
    throw input_error(std::string(renderer.format()) + " document of no pages");
  if (count_ > options.max_pages)
    throw input_error(std::string(renderer.format()) + " document of " +
                      std::to_string(count_) +
                      " pages, more than the limit of " +
                      std::to_string(options.max_pages));
}

grey_image document_pages::read(int index) const {
  const std::array<double, 2> points = document_->page_points(index);
  const long long width = pixels(points[0], dpi_);
  const long long height = pixels(points[1], dpi_);
  check_pixel_limit(width, height);
  grey_image page{static_cast<int>(width), static_cast<int>(height), {}};
  page.pixels.resize(std::size_t(width) * height);
  document_->render(index, dpi_, page.pixels.data(), page.width, page.height);
  return page;
}
