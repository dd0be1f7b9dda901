// tarn-scan: reads Code 39 Extended barcodes from images and edge files
// through the decoder plug-in, loaded at run time as any host loads it.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "batch.h"
#include "options.h"
#include "pdf_module.h"
#include "profile_svg.h"
#include "progress_line.h"
#include "report/report.h"
#include "tarn/scan.h"

namespace {

enum exit_status { all_read = 0, some_not_read = 1, usage_or_input_error = 2 };

void print_error(const std::string& message) {
  std::cerr << "tarn-scan: " << message << '\n';
}

// Each graded symbol's profiles, for --profile-svg.
void add_panels(std::vector<svg_panel>& panels, const file_report& report) {
  for (const tarn::page_result& page : report.pages)
    for (const tarn::barcode& symbol : page.barcodes)
      if (symbol.grade && symbol.grade->located)
        panels.push_back({escape_text(report.file) + ": \"" +
                              escape_text(symbol.text) + "\"",
                          *symbol.grade});
}

exit_status file_status(const file_report& report) {
  bool found = false;
  for (const tarn::page_result& page : report.pages) {
    if (!page.error.empty()) return usage_or_input_error;
    found =
        found || std::any_of(page.barcodes.begin(), page.barcodes.end(),
                             [](const tarn::barcode& b) { return b.decoded; });
  }
  return found ? all_read : some_not_read;
}

// Scans every input on `options.jobs` threads, printing the reports in the
// order of the inputs; returns the exit status. A report that cannot be
// written ends the run.
int scan_all(const scan_options& options, const tarn::scanner& scanner) {
  const std::vector<std::string>& inputs = options.inputs;
  std::vector<file_report> reports(inputs.size());
  std::vector<svg_panel> panels;
  int status = all_read;
  std::atomic<bool> output_failed{false};
  progress_line progress(inputs.size());
  progress.show(0, inputs.front());
  run_in_order(
      inputs.size(), options.jobs,
      [&](std::size_t i) {
        if (!output_failed)
          reports[i] = {inputs[i],
                        scanner.read_file(inputs[i], options.reading)};
      },
      [&](std::size_t i) {
        if (output_failed) return;
        progress.clear();
        print_report(std::cout, std::cerr, reports[i], options.json,
                     options.reading.grade);
        if (!(std::cout << std::flush)) {
          print_error("cannot write the report: " +
                      std::string(std::strerror(errno)));
          output_failed = true;
          status = usage_or_input_error;
          return;
        }
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
  // Each file's page is freed and the next one allocated: malloc keeps the
  // memory rather than hand it back to the kernel, which would fault it in
  // again, zeroed, page after page (pages of 32 MB or more are still
  // mapped for themselves and given back).
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
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
  options.reading.renderer = &pdf_module_renderer();

  std::optional<tarn::scanner> scanner;
  try {
    scanner = options.plugin_path.empty() ? tarn::scanner()
                                          : tarn::scanner(options.plugin_path);
    if (options.version) {
      std::cout << "tarn-scan " << TARN_SCAN_VERSION << "\nplug-in "
                << scanner->plugin_version() << '\n';
      return all_read;
    }
    return scan_all(options, *scanner);
  } catch (const tarn::plugin_error& e) {
    print_error("cannot load plug-in: " + std::string(e.what()));
  } catch (const std::exception& e) {
    print_error("plug-in " +
                (scanner ? scanner->plugin_path() : options.plugin_path) +
                " failed: " + e.what());
  }
  return usage_or_input_error;
}
