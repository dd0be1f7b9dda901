#include "output/report.h"

#include <cstdio>

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

template <typename ControlEscape>
std::string escaped(std::string_view text, ControlEscape control_escape) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    std::string escape = common_escape(c);
    if (escape.empty() && is_control(static_cast<unsigned char>(c)))
      escape = control_escape(static_cast<unsigned char>(c));
    if (escape.empty())
      out += c;
    else
      out += escape;
  }
  return out;
}

std::string lines_note(const vote_outcome& outcome, int lines) {
  return "(" + std::to_string(lines) + "/" +
         std::to_string(outcome.lines_tried) + " lines)";
}

}  // namespace

std::string escape_text(std::string_view text) {
  return escaped(text,
                 [](unsigned char c) { return hex_escape("\\x%02x", c); });
}

std::string json_string(std::string_view text) {
  return '"' +
         escaped(text,
                 [](unsigned char c) { return hex_escape("\\u%04x", c); }) +
         '"';
}

void print_text_report(std::ostream& out, const std::string& file,
                       const vote_outcome& outcome) {
  out << escape_text(file) << ": ";
  if (outcome.symbol)
    out << '"' << escape_text(outcome.symbol->text) << "\" "
        << lines_note(outcome, outcome.lines_agreed);
  else if (outcome.lines_rejected > 0)
    out << "check character does not match "
        << lines_note(outcome, outcome.lines_rejected);
  else
    out << "no symbol read " << lines_note(outcome, 0);
  out << '\n';
}

void print_json_report(std::ostream& out, const std::string& file,
                       const vote_outcome& outcome) {
  out << "{\"file\":" << json_string(file) << ",\"text\":";
  if (outcome.symbol) {
    const symbol_read& symbol = *outcome.symbol;
    out << json_string(symbol.text)
        << ",\"check_char\":" << json_string(symbol.check_char)
        << ",\"reversed\":" << (symbol.reversed ? "true" : "false")
        << ",\"decode_time_us\":" << symbol.decode_time;
  } else {
    out << "null";
  }
  out << ",\"lines_agreed\":" << outcome.lines_agreed
      << ",\"lines_read\":" << outcome.lines_read
      << ",\"lines_rejected\":" << outcome.lines_rejected
      << ",\"lines_tried\":" << outcome.lines_tried << "}\n";
}

void print_json_error(std::ostream& out, const std::string& file,
                      const std::string& message) {
  out << "{\"file\":" << json_string(file)
      << ",\"error\":" << json_string(message) << "}\n";
}
