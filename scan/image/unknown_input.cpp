#include "image/unknown_input.h"

#include <algorithm>
#include <string>

namespace {

using namespace std::string_view_literals;

struct signature {
  std::string_view start;
  const char* name;
};

// Formats people hand a barcode reader by mistake.
constexpr signature formats[] = {
    {"GIF8", "a GIF image"},
    {"RIFF", "a RIFF file"},
    {"\0\0\0\x0cjP"sv, "a JPEG 2000 image"},
    {"%!PS-Adobe-3.0 EPSF", "EPS"},
    {"%!", "PostScript"},
    {"/* XPM */", "an XPM image"},
    {"#define", "an XBM image"},
    {"<?xml", "XML"},
    {"<!DOCTYPE html", "HTML"},
    {"<html", "HTML"},
    {"\x1f\x8b", "gzip data"},
    {"PK\x03\x04", "a ZIP archive"},
};

bool is_text_byte(unsigned char c) {
  return c >= 0x80 || (c >= 0x20 && c < 0x7f) || (c >= '\t' && c <= '\r');
}

bool starts_with(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

const char* known_format(std::string_view head, bool text) {
  // An SVG file may open with an XML declaration and comments.
  if (text && starts_with(head, "<") && head.find("<svg") != head.npos)
    return "SVG";
  if (!text && starts_with(head, "BM")) return "a BMP image";
  for (const signature& format : formats)
    if (starts_with(head, format.start)) return format.name;
  return nullptr;
}

// The first line that holds more than blanks and a comment.
std::string_view first_line(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    const std::size_t start = line.find_first_not_of(" \t\r\v\f");
    if (start != line.npos && line[start] != '#') return line.substr(start);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return text;
}

}  // namespace

bool looks_like_text(std::string_view head) {
  return std::all_of(head.begin(), head.end(),
                     [](char c) { return is_text_byte(c); });
}

input_error not_an_input(std::string_view head) {
  const std::string message = "not an image or edge file: ";
  const bool text = looks_like_text(head);
  if (const char* format = known_format(head, text))
    return input_error(message + "it looks like " + format);
  if (!text)
    return input_error(message +
                       "binary data, not PNG, JPEG, TIFF, WebP, PBM or PGM");
  constexpr std::size_t shown = 20;
  const std::string_view start = first_line(head);
  return input_error(message + "text beginning \"" +
                     std::string(start.substr(0, shown)) +
                     (start.size() > shown ? "...\"" : "\""));
}
