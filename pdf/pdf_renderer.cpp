#include "pdf_renderer.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

using tarn::input_error;

// Every PDF ends in %%EOF, perhaps followed by a line end or some junk:
// without it the file was cut short, though poppler would read what is left.
bool ends_whole(const std::vector<char>& bytes) {
  const std::size_t tail = std::min<std::size_t>(bytes.size(), 1024);
  const std::string_view end(bytes.data() + bytes.size() - tail, tail);
  return end.find("%%EOF") != end.npos;
}

class pdf_document : public tarn::rendered_document {
 public:
  explicit pdf_document(std::unique_ptr<poppler::document> document)
      : document_(std::move(document)) {}

  int page_count() const override { return document_->pages(); }

  std::array<double, 2> page_points(int index) const override {
    const std::unique_ptr<poppler::page> page = open_page(index);
    const poppler::rectf box = page->page_rect();
    const poppler::page::orientation_enum turn = page->orientation();
    const bool sideways =
        turn == poppler::page::landscape || turn == poppler::page::seascape;
    return sideways ? std::array<double, 2>{box.height(), box.width()}
                    : std::array<double, 2>{box.width(), box.height()};
  }

  void render(int index, double dpi, std::uint8_t* pixels, int width,
              int height) const override {
    const std::unique_ptr<poppler::page> page = open_page(index);
    poppler::page_renderer renderer;
    renderer.set_image_format(poppler::image::format_gray8);
    renderer.set_render_hint(poppler::page_renderer::antialiasing);
    renderer.set_render_hint(poppler::page_renderer::text_antialiasing);
    renderer.set_paper_color(0xffffffff);
    const poppler::image image =
        renderer.render_page(page.get(), dpi, dpi, 0, 0, width, height);
    if (!image.is_valid() || image.width() != width || image.height() != height)
      throw input_error("PDF page does not render");
    for (int y = 0; y < height; ++y)
      std::memcpy(pixels + std::size_t(y) * width,
                  image.const_data() + std::size_t(y) * image.bytes_per_row(),
                  width);
  }

 private:
  std::unique_ptr<poppler::page> open_page(int index) const {
    std::unique_ptr<poppler::page> page(document_->create_page(index));
    if (!page) throw input_error("bad PDF page");
    return page;
  }

  std::unique_ptr<poppler::document> document_;
};

void ignore_message(const std::string&, void*) {}

class poppler_pdf_renderer : public tarn::page_renderer {
 public:
  // Poppler's messages would go to standard error: read_file reports.
  poppler_pdf_renderer() {
    poppler::set_debug_error_function(ignore_message, nullptr);
  }

  const char* format() const override { return "PDF"; }

  bool reads(std::string_view head) const override {
    return head.substr(0, 5) == "%PDF-";
  }

  std::unique_ptr<tarn::rendered_document> open(
      const std::vector<char>& bytes) const override {
    if (bytes.size() > INT_MAX)
      throw input_error("PDF document too large: 2 GB or more");
    if (!ends_whole(bytes))
      throw input_error("truncated PDF document: no %%EOF at its end");
    std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(bytes.data(),
                                              static_cast<int>(bytes.size())));
    if (!document) throw input_error("bad PDF document");
    if (document->is_locked())
      throw input_error("encrypted PDF document: it needs a password");
    return std::make_unique<pdf_document>(std::move(document));
  }
};

}  // namespace

const tarn::page_renderer& pdf_renderer() {
  static const poppler_pdf_renderer renderer;
  return renderer;
}

const tarn::page_renderer* tarn_pdf_renderer() { return &pdf_renderer(); }
