// tarn-scan: reads Code 39 Extended barcodes from images and edge files
// through the decoder plug-in, loaded at run time as any host loads it.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "grade/symbol_grade.h"
#include "image/edge_file_reader.h"
#include "image/file_bytes.h"
#include "image/image_pages.h"
#include "options.h"
#include "output/batch.h"
#include "output/profile_svg.h"
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

// What is done with each page: its symbols found and, with --grade, graded.
class page_scanner {
 public:
  page_scanner(const decoder_1d_interface& decoder, const scan_options& options)
      : decoder_(decoder),
        reader_(decoder, options.checksum),
        grade_(options.grade) {
    grading_.checksum = options.checksum;
    grading_.aperture_in_mils = options.aperture > 0 && options.dpi > 0;
    if (options.aperture > 0) grading_.aperture = options.aperture;
    grading_.dpi = options.dpi;
    grading_.linear = options.linear;
  }

  page_report scan(const grey_image& image) const {
    page_report page;
    page.symbols = find_symbols(reader_, image);
    if (grade_)
      for (const found_symbol& symbol : page.symbols)
        page.grades.push_back(grade_symbol(decoder_, image, symbol, grading_));
    return page;
  }

  page_report read_lines(const std::vector<unsigned char>& bytes) const {
    page_report page;
    page.symbols = read_edge_lines(reader_, read_edge_file(bytes));
    return page;
  }

 private:
  const decoder_1d_interface& decoder_;
  symbol_reader reader_;
  bool grade_;
  grade_options grading_;
};

// Every page of an image, or the lines of an edge file.
file_report scan_file(const page_scanner& scanner, const std::string& file) {
  std::vector<unsigned char> bytes;
  std::optional<image_pages> pages;
  const page_report opened = guarded_read(0, [&] {
    bytes = read_file_bytes(file);
    if (!looks_like_image(bytes)) return scanner.read_lines(bytes);
    pages.emplace(bytes);
    return page_report{};
  });
  if (!pages) return {file, {opened}};
  return {file, read_pages(pages->count(), [&](int index) {
            return scanner.scan(pages->read(index));
          })};
}

// Each graded symbol's profiles, for --profile-svg.
void add_panels(std::vector<svg_panel>& panels, const file_report& report) {
  for (const page_report& page : report.pages)
    for (std::size_t i = 0; i < page.grades.size(); ++i)
      if (page.grades[i].located)
        panels.push_back({escape_text(report.file) + ": \"" +
                              escape_text(page.symbols[i].read.text) + "\"",
                          page.grades[i]});
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
int scan_all(const scan_options& options, const page_scanner& scanner) {
  const std::vector<std::string>& inputs = options.inputs;
  std::vector<file_report> reports(inputs.size());
  std::vector<svg_panel> panels;
  int status = all_read;
  progress_line progress(inputs.size());
  progress.show(0, inputs.front());
  run_in_order(
      inputs.size(), options.jobs,
      [&](std::size_t i) { reports[i] = scan_file(scanner, inputs[i]); },
      [&](std::size_t i) {
        progress.clear();
        print_report(std::cout, std::cerr, reports[i], options.json);
        std::cout << std::flush;
        status = std::max<int>(status, file_status(reports[i]));
        if (!options.profile_svg.empty()) add_panels(panels, reports[i]);
        reports[i] = {};
        if (i + 1 < inputs.size()) progress.show(i + 1, inputs[i + 1]);
      });
  if (!options.profile_svg.empty() &&
      !(std::ofstream(options.profile_svg) << profile_svg(panels))) {
    print_error("cannot write " + escape_text(options.profile_svg));
    status = usage_or_input_error;
  }
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
    return scan_all(options, page_scanner(one_call_at_a_time, options));
  } catch (const plugin_error& e) {
    print_error("cannot load plug-in: " + std::string(e.what()));
  } catch (const std::exception& e) {
    print_error("plug-in " + plugin_path + " failed: " + e.what());
  }
  return usage_or_input_error;
}
