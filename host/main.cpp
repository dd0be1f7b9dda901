// tarn-scan: reads Code 39 Extended barcodes from images and edge files
// through the decoder plug-in, loaded at run time as any host loads it.
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "image/file_bytes.h"
#include "image/input_error.h"
#include "options.h"
#include "output/progress_line.h"
#include "output/report.h"
#include "read/decoder_plugin.h"
#include "read/plugin_location.h"
#include "read/scanner.h"

namespace {

enum exit_status { all_read = 0, some_not_read = 1, usage_or_input_error = 2 };

void print_error(const std::string& message) {
  std::cerr << "tarn-scan: " << message << '\n';
}

// Scans every input, printing one report per input; returns the exit status.
int scan_all(const scan_options& options, const symbol_reader& reader) {
  int status = all_read;
  progress_line progress(options.inputs.size());
  for (std::size_t i = 0; i < options.inputs.size(); ++i) {
    const std::string& file = options.inputs[i];
    progress.show(i, file);
    try {
      const vote_outcome outcome = scan_input(reader, read_file_bytes(file));
      if (options.json)
        print_json_report(std::cout, file, outcome);
      else
        print_text_report(std::cout, file, outcome);
      if (!outcome.symbol && status == all_read) status = some_not_read;
    } catch (const input_error& e) {
      progress.clear();
      print_error(escape_text(file) + ": " + e.what());
      if (options.json) print_json_error(std::cout, file, e.what());
      status = usage_or_input_error;
    } catch (const std::bad_alloc&) {
      progress.clear();
      print_error(escape_text(file) + ": not enough memory");
      if (options.json) print_json_error(std::cout, file, "not enough memory");
      status = usage_or_input_error;
    }
  }
  progress.clear();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  scan_options options;
  try {
    options = parse_options(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const usage_error& e) {
    print_error(std::string(e.what()) + " (try --help)");
    return usage_or_input_error;
  }
  if (options.help) {
    std::cout << usage_text;
    return all_read;
  }

  const std::string plugin_path =
      options.plugin_path.empty() ? default_plugin_path(running_program_path())
                                  : options.plugin_path;
  try {
    const decoder_plugin plugin(plugin_path);
    const decoder_plugin::decoder_ptr decoder = plugin.new_decoder();
    if (options.version) {
      std::cout << "tarn-scan " << TARN_SCAN_VERSION << "\nplug-in "
                << decoder->getversion() << '\n';
      return all_read;
    }
    return scan_all(options, symbol_reader(*decoder, options.checksum));
  } catch (const plugin_error& e) {
    print_error("cannot load plug-in: " + std::string(e.what()));
  } catch (const std::exception& e) {
    print_error("plug-in " + plugin_path + " failed: " + e.what());
  }
  return usage_or_input_error;
}
