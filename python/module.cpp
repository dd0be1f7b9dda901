// tarn._tarn: the engine's reading functions for the package tarn. The
// package's Python side turns PIL images and paths into what these take, and
// the dicts they return into Barcode objects. Every scan runs without the GIL,
// so threads that scan different images run in parallel.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "pdf_module.h"
#include "tarn/scan.h"

namespace py = pybind11;

namespace {

tarn::checksum_mode checksum_mode(const std::string& name) {
  if (name == "none") return tarn::checksum_mode::none;
  if (name == "verify") return tarn::checksum_mode::verify;
  if (name == "strip") return tarn::checksum_mode::strip;
  throw py::value_error("checksum must be 'none', 'verify' or 'strip', not " +
                        py::repr(py::str(name)).cast<std::string>());
}

double size_option(const char* name, double value) {
  if (!std::isfinite(value) || value < 0)
    throw py::value_error(std::string(name) +
                          " must be a number >= 0 (0: the default), not " +
                          py::repr(py::float_(value)).cast<std::string>());
  return value;
}

tarn::read_options read_options(const std::string& checksum, bool grade,
                                double aperture, double dpi, bool linear,
                                int max_symbols, double pdf_dpi) {
  if (max_symbols < 0)
    throw py::value_error("max_symbols must be >= 0 (0: every symbol), not " +
                          std::to_string(max_symbols));
  tarn::read_options options;
  options.checksum = checksum_mode(checksum);
  options.grade = grade;
  options.aperture = size_option("aperture", aperture);
  options.dpi = size_option("dpi", dpi);
  options.linear = linear;
  options.max_symbols = max_symbols;
  if (!(pdf_dpi >= 1 && pdf_dpi <= 2400))
    throw py::value_error("pdf_dpi must be from 1 to 2400, not " +
                          py::repr(py::float_(pdf_dpi)).cast<std::string>());
  options.pdf_dpi = pdf_dpi;
  options.renderer = &pdf_module_renderer();
  return options;
}

// The shape and byte strides of a uint8 array of pixels, read while the GIL
// is held; the array keeps the memory alive.
struct pixel_layout {
  const std::uint8_t* data = nullptr;
  py::ssize_t height = 0, width = 0, channels = 1;
  py::ssize_t strides[3] = {0, 0, 1};

  tarn::pixel_format format() const {
    return channels == 1   ? tarn::pixel_format::grey
           : channels == 3 ? tarn::pixel_format::rgb
                           : tarn::pixel_format::rgba;
  }
  // An image_view needs each row's pixels packed and rows in order.
  bool fits_view() const {
    return (channels == 1 || strides[2] == 1) &&
           (width == 1 || strides[1] == channels) &&
           (height == 1 || strides[0] >= width * channels);
  }
};

pixel_layout layout_of(const py::handle& image, const py::array& pixels) {
  const char kind = pixels.dtype().kind();
  if (kind != 'u' && kind != 'i' && kind != 'f' && kind != 'b')
    throw py::type_error(
        "image must be a uint8 array, a PIL image or a path, not " +
        py::str(py::type::of(image).attr("__name__")).cast<std::string>());
  if (kind != 'u' || pixels.itemsize() != 1)
    throw py::type_error("image must have dtype uint8, not " +
                         py::str(pixels.dtype()).cast<std::string>());
  pixel_layout layout;
  const py::ssize_t ndim = pixels.ndim();
  if (ndim == 3) layout.channels = pixels.shape(2);
  if (ndim != 2 && ndim != 3)
    throw py::value_error(
        "image must have 2 dimensions (grey) or 3 (RGB or RGBA), not " +
        std::to_string(ndim));
  if (layout.channels != 1 && layout.channels != 3 && layout.channels != 4)
    throw py::value_error(
        "a 3-D image must have 1 (grey), 3 (RGB) or 4 (RGBA) channels, not " +
        std::to_string(layout.channels));
  layout.height = pixels.shape(0);
  layout.width = pixels.shape(1);
  if (layout.height < 1 || layout.width < 1)
    throw py::value_error("image is empty: " +
                          py::str(pixels.attr("shape")).cast<std::string>());
  constexpr py::ssize_t int_max = std::numeric_limits<int>::max();
  if (layout.height > int_max || layout.width > int_max / layout.channels)
    throw py::value_error("image too large: " +
                          py::str(pixels.attr("shape")).cast<std::string>());
  for (py::ssize_t i = 0; i < ndim; ++i) layout.strides[i] = pixels.strides(i);
  layout.data = static_cast<const std::uint8_t*>(pixels.data());
  return layout;
}

// The pixels in place, or packed into `copy` when their strides do not fit a
// view (a column or channel step, rows upside down or interleaved).
tarn::image_view view_of(const pixel_layout& layout,
                         std::vector<std::uint8_t>& copy) {
  const int width = static_cast<int>(layout.width);
  const int height = static_cast<int>(layout.height);
  if (layout.fits_view())
    return tarn::image_view(layout.data, width, height, layout.format(),
                            height == 1 ? 0 : layout.strides[0]);
  const py::ssize_t row = layout.width * layout.channels;
  copy.resize(static_cast<std::size_t>(row * layout.height));
  std::uint8_t* out = copy.data();
  for (py::ssize_t y = 0; y < layout.height; ++y)
    for (py::ssize_t x = 0; x < layout.width; ++x)
      for (py::ssize_t c = 0; c < layout.channels; ++c)
        *out++ = layout.data[y * layout.strides[0] + x * layout.strides[1] +
                             c * layout.strides[2]];
  return tarn::image_view(copy.data(), width, height, layout.format());
}

// What tarn-scan --json prints as the symbol's grade, as a dict.
py::object grade_dict(const tarn::barcode& symbol) {
  const std::string line = tarn::json_lines("", {{0, {symbol}, ""}});
  const py::object file = py::module_::import("json").attr("loads")(line);
  return file["symbols"][py::int_(0)]["grade"];
}

// Barcode's fields, full precision.
py::dict barcode_fields(const tarn::barcode& symbol) {
  py::dict fields;
  fields["text"] = symbol.text;
  fields["raw"] = symbol.raw;
  fields["check_char"] = symbol.check_char;
  fields["check_char_ok"] = symbol.check_char_ok;
  py::object corners = py::none(), angle = py::none(), module = py::none();
  if (symbol.located) {
    py::list points;
    for (const tarn::point& corner : symbol.corners)
      points.append(py::make_tuple(corner.x, corner.y));
    corners = py::tuple(points);
    angle = py::float_(symbol.angle);
    module = py::float_(symbol.module_size);
  }
  fields["corners"] = corners;
  fields["angle"] = angle;
  fields["module_size"] = module;
  fields["lines_agreed"] = symbol.lines_agreed;
  fields["lines_tried"] = symbol.lines_tried;
  fields["page"] = symbol.page;
  fields["inverted"] = symbol.inverted;
  fields["decoded"] = symbol.decoded;
  fields["grade"] = symbol.grade ? grade_dict(symbol) : py::none();
  return fields;
}

py::list barcode_list(const std::vector<tarn::barcode>& symbols) {
  py::list list;
  for (const tarn::barcode& symbol : symbols)
    list.append(barcode_fields(symbol));
  return list;
}

py::list read_pixels(const py::object& image,
                     const tarn::read_options& options) {
  const py::array pixels = py::array::ensure(image);
  if (!pixels)
    throw py::type_error(
        "image must be a uint8 array, a PIL image or a path, not " +
        py::str(py::type::of(image).attr("__name__")).cast<std::string>());
  const pixel_layout layout = layout_of(image, pixels);
  std::vector<tarn::barcode> symbols;
  {
    py::gil_scoped_release release;
    std::vector<std::uint8_t> copy;
    symbols = tarn::read_barcodes(view_of(layout, copy), options);
  }
  return barcode_list(symbols);
}

py::list read_path(const std::string& path, const tarn::read_options& options) {
  std::vector<tarn::page_result> pages;
  {
    py::gil_scoped_release release;
    pages = tarn::read_file(path, options);
  }
  py::list list;
  for (const tarn::page_result& page : pages)
    list.append(
        py::make_tuple(page.page, page.error, barcode_list(page.barcodes)));
  return list;
}

std::string json_lines(const std::string& path,
                       const tarn::read_options& options) {
  py::gil_scoped_release release;
  return tarn::json_lines(path, tarn::read_file(path, options));
}

std::string error_line(const std::string& path, const std::string& message) {
  return tarn::json_lines(path, {{0, {}, message}});
}

}  // namespace

PYBIND11_MODULE(_tarn, m) {
  m.doc() = "The reading engine of the package tarn; use tarn itself.";
  m.attr("__version__") = TARN_PYTHON_VERSION;
  py::register_exception<tarn::input_error>(m, "InputError", PyExc_OSError);

  py::class_<tarn::read_options>(m, "ReadOptions",
                                 "Checked options of read_barcodes.")
      .def(py::init(&read_options), py::kw_only(), py::arg("checksum") = "none",
           py::arg("grade") = false, py::arg("aperture") = 0.0,
           py::arg("dpi") = 0.0, py::arg("linear") = false,
           py::arg("max_symbols") = 0, py::arg("pdf_dpi") = 300.0);
  m.def("read_pixels", &read_pixels, py::arg("image"), py::arg("options"),
        "Barcode fields of every symbol in a uint8 array of shape (h, w), "
        "(h, w, 1), (h, w, 3) RGB or (h, w, 4) RGBA.");
  m.def("read_path", &read_path, py::arg("path"), py::arg("options"),
        "(page, error, [Barcode fields]) for every page of a file.");
  m.def("json_lines", &json_lines, py::arg("path"), py::arg("options"),
        "What tarn-scan --json prints for a file.");
  m.def("error_line", &error_line, py::arg("path"), py::arg("message"),
        "The line tarn-scan --json prints for a file it cannot open.");
}
