#include "report/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "report/grade_report.h"

namespace {

bool is_control(unsigned char c) { return c < 0x20 || c == 0x7f; }

std::string hex_escape(const char* format, unsigned char c) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, format, c);
  return escaped;
}

// The escape shared by both forms, or an empty string for a plain character.
std::string common_escape(char c) {
  switch (c) {
    case '\n':
      return "\\n";
    case '\t':
      return "\\t";
    case '\r':
      return "\\r";
    case '\\':
      return "\\\\";
    case '"':
      return "\\\"";
    default:
      return {};
  }
}

// The length of the well-formed UTF-8 sequence that starts `text`, or 0 when
// its first byte starts none (no overlong forms, surrogates or code points
// beyond U+10FFFF).
std::size_t utf8_length(std::string_view text) {
  const auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 2;
  unsigned char low = 0x80, high = 0xbf;  // range of the second byte
  if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    low = lead == 0xe0 ? 0xa0 : low;
    high = lead == 0xed ? 0x9f : high;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    low = lead == 0xf0 ? 0x90 : low;
    high = lead == 0xf4 ? 0x8f : high;
  } else if (lead < 0xc2 || lead > 0xdf) {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xbf) return 0;
  return length;
}

// `text` with the common escapes (but for quotes and backslashes, unless
// `quoted`), and `byte_escape` for control characters and for bytes outside
// well-formed UTF-8.
template <typename ByteEscape>
std::string escaped(std::string_view text, ByteEscape byte_escape,
                    bool quoted = true) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = utf8_length(text.substr(i));
    const bool quote = c == '"' || c == '\\';
    const std::string common =
        quoted || !quote ? common_escape(text[i]) : std::string();
    if (!common.empty())
      out += common;
    else if (length == 0 || is_control(c))
      out += byte_escape(c);
    else
      out.append(text.substr(i, length));
    i += std::max<std::size_t>(length, 1);
  }
  return out;
}

std::string text_byte_escape(unsigned char c) {
  return hex_escape("\\x%02x", c);
}

std::string location(const std::string& file, int page) {
  return escape_text(file) + (page > 0 ? ":" + std::to_string(page) : "");
}

// Rounded to 0 to 359 degrees.
long whole_degrees(double angle) {
  return (std::lround(angle) % 360 + 360) % 360;
}

std::string lines_note(const tarn::barcode& symbol) {
  return "(" + std::to_string(symbol.lines_agreed) + "/" +
         std::to_string(symbol.lines_tried) + " lines)";
}

// The symbol's grade, if it was graded.
const tarn::symbol_grade* grade_of(const tarn::barcode& symbol) {
  return symbol.grade ? &*symbol.grade : nullptr;
}

// "at X,Y angle A ": the centre of the corners and the reading direction.
std::string position(const tarn::barcode& symbol) {
  tarn::point centre;
  for (const tarn::point& corner : symbol.corners) {
    centre.x += corner.x / 4;
    centre.y += corner.y / 4;
  }
  return "at " + std::to_string(std::lround(centre.x)) + "," +
         std::to_string(std::lround(centre.y)) + " angle " +
         std::to_string(whole_degrees(symbol.angle)) + " ";
}

std::string text_line(const std::string& file, int page,
                      const tarn::barcode& symbol,
                      const tarn::symbol_grade* grade, bool graded) {
  std::string line = location(file, page) + ": ";
  if (!symbol.decoded)
    line += "not decoded " + position(symbol);
  else
    line += "\"" + escape_text(symbol.text) + "\" ";
  if (grade) return line + grade_text(*grade) + "\n";
  if (graded) line += "no grade: an edge file holds no image ";
  if (symbol.located) line += position(symbol);
  return line + lines_note(symbol) + "\n";
}

// Degrees with one decimal, 0.0 to 359.9: an angle just short of a full
// turn is 0.0.
std::string angle_text(double angle) {
  const std::string text = fixed(angle, 1);
  return text == "360.0" ? "0.0" : text;
}

std::string json_corners(const tarn::barcode& symbol) {
  std::string corners;
  for (const tarn::point& corner : symbol.corners)
    corners += (corners.empty() ? "[[" : ",[") + fixed(corner.x, 1) + "," +
               fixed(corner.y, 1) + "]";
  return corners + "]";
}

std::string json_symbol(int page, const tarn::barcode& symbol,
                        const tarn::symbol_grade* grade) {
  const bool located = symbol.located;
  return "{" + (page > 0 ? "\"page\":" + std::to_string(page) + "," : "") +
         "\"text\":" + json_string(symbol.text) +
         ",\"check_char\":" + json_string(symbol.check_char) +
         ",\"check_char_ok\":" + (symbol.check_char_ok ? "true" : "false") +
         ",\"corners\":" + (located ? json_corners(symbol) : "null") +
         ",\"angle\":" + (located ? angle_text(symbol.angle) : "null") +
         ",\"module_size\":" +
         (located ? fixed(symbol.module_size, 2) : "null") +
         ",\"lines_agreed\":" + std::to_string(symbol.lines_agreed) +
         ",\"lines_tried\":" + std::to_string(symbol.lines_tried) +
         (symbol.inverted ? ",\"inverted\":true" : "") +
         (symbol.decoded ? "" : ",\"decoded\":false") +
         (grade ? ",\"grade\":" + grade_json(*grade) : "") + "}";
}

void print_text(std::ostream& out, const file_report& report, bool graded) {
  bool page_read = false;
  bool symbol_found = false;
  for (const tarn::page_result& page : report.pages) {
    if (!page.error.empty()) continue;
    page_read = true;
    for (const tarn::barcode& symbol : page.barcodes) {
      symbol_found = symbol_found || symbol.decoded;
      out << text_line(report.file, page.page, symbol, grade_of(symbol),
                       graded);
    }
  }
  if (page_read && !symbol_found)
    out << escape_text(report.file) << ": no symbol read\n";
}

// The file's own object is left out only when the file could not be
// opened: its one error says so.
void print_json(std::ostream& out, const file_report& report) {
  const std::string file = "{\"file\":" + json_string(report.file);
  std::string symbols;
  bool opened = false;
  for (const tarn::page_result& page : report.pages) {
    opened = opened || page.error.empty() || page.page > 0;
    for (const tarn::barcode& symbol : page.barcodes)
      symbols += (symbols.empty() ? "" : ",") +
                 json_symbol(page.page, symbol, grade_of(symbol));
  }
  if (opened) out << file << ",\"symbols\":[" << symbols << "]}\n";
  for (const tarn::page_result& page : report.pages) {
    if (page.error.empty()) continue;
    out << file;
    if (page.page > 0) out << ",\"page\":" << page.page;
    out << ",\"error\":" << json_string(page.error) << "}\n";
  }
}

// One line for each run of pages that failed alike: "FILE:FIRST-LAST:
// reason", the reason's control characters escaped.
void print_errors(std::ostream& errors, const file_report& report) {
  const std::vector<tarn::page_result>& pages = report.pages;
  for (std::size_t first = 0; first < pages.size(); ++first) {
    const std::string& error = pages[first].error;
    if (error.empty()) continue;
    std::size_t last = first;
    while (last + 1 < pages.size() && pages[last + 1].error == error) ++last;
    std::string where = location(report.file, pages[first].page);
    if (last > first) where += "-" + std::to_string(pages[last].page);
    errors << "tarn-scan: " << where << ": "
           << escaped(error, text_byte_escape, false) << '\n';
    first = last;
  }
}

}  // namespace

std::string fixed(double value, int decimals) {
  if (!std::isfinite(value)) return "null";
  char number[64];
  std::snprintf(number, sizeof number, "%.*f", decimals, value);
  // A small negative number rounds to zero, not to "-0.0".
  const bool zero = std::strspn(number, "-0.") == std::strlen(number);
  return zero && number[0] == '-' ? number + 1 : number;
}

std::string escape_text(std::string_view text) {
  return escaped(text, text_byte_escape);
}

std::string json_string(std::string_view text) {
  return '"' +
         escaped(text,
                 [](unsigned char c) { return hex_escape("\\u%04x", c); }) +
         '"';
}

void print_report(std::ostream& out, std::ostream& errors,
                  const file_report& report, bool json, bool graded) {
  print_errors(errors, report);
  if (json)
    print_json(out, report);
  else
    print_text(out, report, graded);
}

std::string tarn::json_lines(const std::string& file,
                             const std::vector<page_result>& pages) {
  std::ostringstream out;
  print_json(out, {file, pages});
  return out.str();
}
