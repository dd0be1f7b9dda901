// tarn-scan: reads Code 39 Extended barcodes from images and edge files
// through the decoder plug-in, loaded at run time as any host loads it.
#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "grade/grade_inputs.h"
#include "image/edge_file_reader.h"
#include "image/file_bytes.h"
#include "image/image_pages.h"
#include "options.h"
#include "output/batch.h"
#include "output/progress_line.h"
#include "output/report.h"
#include "read/decoder_plugin.h"
#include "read/plugin_location.h"
#include "read/scanner.h"
#include "read/serialised_decoder.h"

namespace {

enum exit_status { all_read = 0, some_not_read = 1, usage_or_input_error = 2 };

void print_error(const std::string& message) {
  std::cerr << "tarn-scan: " << message << '\n';
}

// Every page of an image, or the lines of an edge file.
file_report scan_file(const symbol_reader& reader, const std::string& file) {
  std::vector<unsigned char> bytes;
  std::optional<image_pages> pages;
  const page_report opened = guarded_read(0, [&] {
    bytes = read_file_bytes(file);
    if (!looks_like_image(bytes))
      return read_edge_lines(reader, read_edge_file(bytes));
    pages.emplace(bytes);
    return std::vector<found_symbol>{};
  });
  if (!pages) return {file, {opened}};
  return {file, read_pages(pages->count(), [&](int index) {
            return find_symbols(reader, pages->read(index));
          })};
}

exit_status file_status(const file_report& report) {
  bool found = false;
  for (const page_report& page : report.pages) {
    if (!page.error.empty()) return usage_or_input_error;
    found = found || !page.symbols.empty();
  }
  return found ? all_read : some_not_read;
}

// Scans every input on `options.jobs` threads, printing the reports in the
// order of the inputs; returns the exit status.
int scan_all(const scan_options& options, const symbol_reader& reader) {
  const std::vector<std::string>& inputs = options.inputs;
  std::vector<file_report> reports(inputs.size());
  int status = all_read;
  progress_line progress(inputs.size());
  progress.show(0, inputs.front());
  run_in_order(
      inputs.size(), options.jobs,
      [&](std::size_t i) { reports[i] = scan_file(reader, inputs[i]); },
      [&](std::size_t i) {
        progress.clear();
        print_report(std::cout, std::cerr, reports[i], options.json);
        std::cout << std::flush;
        status = std::max<int>(status, file_status(reports[i]));
        reports[i] = {};
        if (i + 1 < inputs.size()) progress.show(i + 1, inputs[i + 1]);
      });
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
    const serialised_decoder one_call_at_a_time(*decoder);
    if (options.grade) return grade_all(options, one_call_at_a_time);
    return scan_all(options,
                    symbol_reader(one_call_at_a_time, options.checksum));
  } catch (const plugin_error& e) {
    print_error("cannot load plug-in: " + std::string(e.what()));
  } catch (const std::exception& e) {
    print_error("plug-in " + plugin_path + " failed: " + e.what());
  }
  return usage_or_input_error;
}
