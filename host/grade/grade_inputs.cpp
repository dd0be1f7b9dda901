#include "grade/grade_inputs.h"

#include <fstream>
#include <iostream>

#include "image/file_bytes.h"
#include "image/image_pages.h"
#include "image/input_error.h"
#include "output/grade_report.h"
#include "output/report.h"
#include "read/scanner.h"

input_grader::input_grader(const decoder_1d_interface& decoder,
                           const scan_options& options)
    : decoder_(decoder), options_(options) {
  grading_.checksum = options.checksum;
  grading_.aperture_in_mils = options.aperture > 0 && options.dpi > 0;
  if (options.aperture > 0) grading_.aperture = options.aperture;
  grading_.dpi = options.dpi;
  grading_.linear = options.linear;
}

bool input_grader::grade(std::ostream& out, const std::string& file,
                         const std::vector<unsigned char>& bytes) {
  if (!looks_like_image(bytes)) throw input_error("grades need an image");
  const image_pages pages(bytes);
  const symbol_reader reader(decoder_, options_.checksum);
  bool graded = false;
  std::string json;
  for (int page = 0; page < pages.count(); ++page) {
    const grey_image image = pages.read(page);
    for (const found_symbol& symbol : find_symbols(reader, image)) {
      const symbol_grade grade =
          grade_symbol(decoder_, image, symbol, grading_);
      graded = graded || grade.located;
      if (options_.json)
        json += std::string(json.empty() ? "" : ",") +
                "{\"text\":" + json_string(symbol.read.text) +
                ",\"grade\":" + grade_json(grade) + "}";
      else
        print_grade_line(out, file, symbol, grade);
      if (!options_.profile_svg.empty() && grade.located)
        panels_.push_back(
            {file + ": \"" + escape_text(symbol.read.text) + "\"", grade});
    }
  }
  if (options_.json)
    out << "{\"file\":" << json_string(file) << ",\"symbols\":[" << json
        << "]}\n";
  return graded;
}

bool input_grader::write_svg() const {
  if (options_.profile_svg.empty()) return true;
  std::ofstream svg(options_.profile_svg);
  svg << profile_svg(panels_);
  return static_cast<bool>(svg);
}

int grade_all(const scan_options& options,
              const decoder_1d_interface& decoder) {
  input_grader grader(decoder, options);
  int status = 0;
  for (const std::string& file : options.inputs) {
    try {
      if (!grader.grade(std::cout, file, read_file_bytes(file)) && status == 0)
        status = 1;
    } catch (const input_error& e) {
      std::cerr << "tarn-scan: " << escape_text(file) << ": " << e.what()
                << '\n';
      status = 2;
    }
  }
  if (!grader.write_svg()) {
    std::cerr << "tarn-scan: cannot write " << options.profile_svg << '\n';
    status = 2;
  }
  return status;
}
