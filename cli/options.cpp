#include "options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>

#include "path_list.h"

namespace {

const std::pair<const char*, tarn::checksum_mode> checksum_modes[] = {
    {"none", tarn::checksum_mode::none},
    {"verify", tarn::checksum_mode::verify},
    {"strip", tarn::checksum_mode::strip},
};

tarn::checksum_mode checksum_mode(const std::string& name) {
  const auto found =
      std::find_if(std::begin(checksum_modes), std::end(checksum_modes),
                   [&](const auto& mode) { return name == mode.first; });
  if (found == std::end(checksum_modes))
    throw usage_error("--checksum takes none, verify or strip, not '" + name +
                      "'");
  return found->second;
}

// A whole number from 1 to `most`.
unsigned long count(const std::string& name, const std::string& value,
                    unsigned long most) {
  const bool digits =
      !value.empty() && value.size() <= 9 &&
      value.find_first_not_of("0123456789") == std::string::npos;
  const unsigned long number = digits ? std::stoul(value) : 0;
  if (number < 1 || number > most)
    throw usage_error(name + " takes a number from 1 to " +
                      std::to_string(most) + ", not '" + value + "'");
  return number;
}

double positive_number(const std::string& name, const std::string& value) {
  std::size_t used = 0;
  double number = 0;
  try {
    number = std::stod(value, &used);
  } catch (const std::exception&) {
  }
  if (used != value.size() || !(number > 0) || !std::isfinite(number))
    throw usage_error(name + " takes a positive number, not '" + value + "'");
  return number;
}

// Splits "--name=value" and "-jN" into name and value; other arguments have
// no value.
std::pair<std::string, std::optional<std::string>> split_value(
    const std::string& argument) {
  if (argument.rfind("-j", 0) == 0 && argument.size() > 2)
    return {"-j", argument.substr(2)};
  const auto equals = argument.find('=');
  if (argument.rfind("--", 0) != 0 || equals == std::string::npos)
    return {argument, std::nullopt};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

// The settings only grading reads, and an aperture in its unit: modules
// (X) without --dpi, mils with it.
void check_grading(const tarn::read_options& reading) {
  const char* setting = reading.aperture > 0 ? "--aperture"
                        : reading.dpi > 0    ? "--dpi"
                        : reading.linear     ? "--linear"
                                             : nullptr;
  if (setting && !reading.grade)
    throw usage_error(std::string(setting) +
                      " applies to grading: add --grade");
  const bool mils = reading.dpi > 0;
  const double low = mils ? 1 : 0.1, high = mils ? 50 : 2;
  if (reading.aperture > 0 &&
      (reading.aperture < low || reading.aperture > high)) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "--aperture takes %g to %g %s, not %g%s", low, high,
                  mils ? "mils with --dpi" : "modules (X) without --dpi",
                  reading.aperture, mils ? "" : " (in mils give --dpi too)");
    throw usage_error(message);
  }
}

}  // namespace

const char* const usage_text =
    "Usage: tarn-scan [OPTION]... [--] FILE...\n"
    "Read Code 39 Extended barcodes from PNG, JPEG, TIFF and PDF (every "
    "page),\n"
    "WebP, PBM and PGM images and from edge files (one scan line of edge\n"
    "positions per line, '#' comments).\n"
    "FILE '-' is standard input; after '--' every argument is a FILE.\n"
    "\n"
    "  --checksum MODE  check character: none (keep it in the text, the\n"
    "                   default), verify (refuse a wrong one) or strip\n"
    "                   (verify, then drop it from the text)\n"
    "  --plugin PATH    decoder plug-in to load instead of the one installed\n"
    "                   beside the program\n"
    "  --json           one JSON object per file, its symbols in an array\n"
    "  -j, --jobs N     scan N files at once (default: one per core)\n"
    "  --max-file-mb N  refuse files larger than N MB (default 256)\n"
    "  --max-pages N    refuse files of more than N pages (default 1000)\n"
    "  --files-from LIST  read the FILEs named in LIST too, one a line, in\n"
    "                   its place among the others ('-': standard input)\n"
    "  --pdf-dpi N      render PDF pages at N dots per inch (default 300)\n"
    "  --grade          print quality grade of each symbol after ISO/IEC\n"
    "                   15416: ten profiles, parameters, A to F. An estimate\n"
    "                   from an image, not a calibrated verification, which\n"
    "                   needs calibrated reflectance and a known resolution\n"
    "  --aperture N     with --grade: aperture diameter, 0.1 to 2 X (default\n"
    "                   0.8 X); with --dpi in mils, 1 to 50\n"
    "  --dpi N          with --grade: the image's resolution, sizes also in\n"
    "                   millimetres\n"
    "  --linear         with --grade: pixel values are linear reflectance\n"
    "                   (default: sRGB)\n"
    "  --profile-svg FILE  draw each symbol's worst profile (implies --grade)\n"
    "  -h, --help       show this help\n"
    "  --version        show the program's and the plug-in's versions\n"
    "\n"
    "Exit status: 0 every file read, 1 some file not read, 2 usage or\n"
    "input error.\n";

scan_options parse_options(const std::vector<std::string>& arguments) {
  scan_options options;
  options.jobs = std::max(1u, std::thread::hardware_concurrency());
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended || argument == "-" || argument.rfind("-", 0) != 0) {
      options.inputs.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    std::string name;
    std::optional<std::string> value;
    std::tie(name, value) = split_value(argument);
    const auto take_value = [&]() -> std::string {
      if (!value && i + 1 < arguments.size()) value = arguments[++i];
      if (!value || value->empty()) throw usage_error(name + " needs a value");
      return *value;
    };
    if (name == "--checksum") {
      options.reading.checksum = checksum_mode(take_value());
    } else if (name == "--plugin") {
      options.plugin_path = take_value();
    } else if (name == "-j" || name == "--jobs") {
      options.jobs = static_cast<unsigned>(count(name, take_value(), 1024));
    } else if (name == "--max-file-mb") {
      options.reading.max_file_bytes =
          std::uint64_t{count(name, take_value(), 1 << 20)} << 20;
    } else if (name == "--max-pages") {
      options.reading.max_pages =
          static_cast<int>(count(name, take_value(), 1000000));
    } else if (name == "--files-from") {
      const std::vector<std::string> paths = read_path_list(take_value());
      options.inputs.insert(options.inputs.end(), paths.begin(), paths.end());
    } else if (name == "--pdf-dpi") {
      options.reading.pdf_dpi =
          static_cast<double>(count(name, take_value(), 2400));
    } else if (name == "--aperture" || name == "--dpi") {
      (name == "--dpi" ? options.reading.dpi : options.reading.aperture) =
          positive_number(name, take_value());
    } else if (name == "--profile-svg") {
      options.profile_svg = take_value();
      if (options.profile_svg == "-")
        throw usage_error(
            "--profile-svg writes a file: standard output holds the report");
      options.reading.grade = true;
    } else if (value) {
      throw usage_error(name + " takes no value");
    } else if (name == "--json") {
      options.json = true;
    } else if (name == "--grade" || name == "--linear") {
      (name == "--grade" ? options.reading.grade : options.reading.linear) =
          true;
    } else if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--version") {
      options.version = true;
    } else {
      throw usage_error("unknown option " + argument);
    }
  }
  if (options.inputs.empty() && !options.help && !options.version)
    throw usage_error("no input file");
  check_grading(options.reading);
  return options;
}
