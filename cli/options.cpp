#include "options.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>

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

unsigned job_count(const std::string& value) {
  constexpr unsigned long most_jobs = 1024;
  const bool digits = !value.empty() && value.find_first_not_of("0123456789") ==
                                            std::string::npos;
  const unsigned long jobs =
      digits && value.size() <= 4 ? std::stoul(value) : 0;
  if (jobs < 1 || jobs > most_jobs)
    throw usage_error("--jobs takes a number from 1 to 1024, not '" + value +
                      "'");
  return static_cast<unsigned>(jobs);
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

// Splits "--name=value" into name and value; other arguments have no value.
std::pair<std::string, std::optional<std::string>> split_value(
    const std::string& argument) {
  const auto equals = argument.find('=');
  if (argument.rfind("--", 0) != 0 || equals == std::string::npos)
    return {argument, std::nullopt};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

}  // namespace

const char* const usage_text =
    "Usage: tarn-scan [OPTION]... FILE...\n"
    "Read Code 39 Extended barcodes from PNG, JPEG, TIFF (every page), PBM\n"
    "and PGM images and from edge files (one scan line of edge positions per\n"
    "line, '#' comments).\n"
    "FILE '-' is standard input.\n"
    "\n"
    "  --checksum MODE  check character: none (keep it in the text, the\n"
    "                   default), verify (refuse a wrong one) or strip\n"
    "                   (verify, then drop it from the text)\n"
    "  --plugin PATH    decoder plug-in to load instead of the one installed\n"
    "                   beside the program\n"
    "  --json           one JSON object per file, its symbols in an array\n"
    "  -j, --jobs N     scan N files at once (default: one per core)\n"
    "  --grade          print quality grade of each symbol after ISO/IEC\n"
    "                   15416: ten profiles, parameters, A to F. An estimate\n"
    "                   from an image, not a calibrated verification, which\n"
    "                   needs calibrated reflectance and a known resolution\n"
    "  --aperture N     aperture diameter in X (default 0.8), in mils with\n"
    "                   --dpi\n"
    "  --dpi N          the image's resolution: sizes also in millimetres\n"
    "  --linear         pixel values are linear reflectance (default: sRGB)\n"
    "  --profile-svg FILE  draw each symbol's worst profile (implies --grade)\n"
    "  --help           show this help\n"
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
      options.jobs = job_count(take_value());
    } else if (name == "--aperture" || name == "--dpi") {
      (name == "--dpi" ? options.reading.dpi : options.reading.aperture) =
          positive_number(name, take_value());
    } else if (name == "--profile-svg") {
      options.profile_svg = take_value();
      options.reading.grade = true;
    } else if (value) {
      throw usage_error(name + " takes no value");
    } else if (name == "--json") {
      options.json = true;
    } else if (name == "--grade" || name == "--linear") {
      (name == "--grade" ? options.reading.grade : options.reading.linear) =
          true;
    } else if (name == "--help") {
      options.help = true;
    } else if (name == "--version") {
      options.version = true;
    } else {
      throw usage_error("unknown option " + argument);
    }
  }
  if (options.inputs.empty() && !options.help && !options.version)
    throw usage_error("no input file");
  return options;
}
