// tarn-scan --grade: finds the symbols of each input image, grades each one
// and prints its grade; draws the worst profiles when asked to.
#ifndef TARN_HOST_GRADE_INPUTS_H
#define TARN_HOST_GRADE_INPUTS_H

#include <ostream>
#include <string>
#include <vector>

#include "grade/symbol_grade.h"
#include "options.h"
#include "output/profile_svg.h"
#include "tarn_interface.h"

class input_grader {
 public:
  input_grader(const decoder_1d_interface& decoder,
               const scan_options& options);

  // Prints a line (or a JSON object) per symbol of the input; false when no
  // symbol was graded. Throws input_error when the input cannot be read.
  bool grade(std::ostream& out, const std::string& file,
             const std::vector<unsigned char>& bytes);

  // Writes the profile picture when --profile-svg asked for one; false when
  // the file cannot be written.
  bool write_svg() const;

 private:
  const decoder_1d_interface& decoder_;
  const scan_options& options_;
  grade_options grading_;
  std::vector<svg_panel> panels_;
};

// tarn-scan --grade over all inputs; returns the exit status: 0 every input
// graded, 1 some input without a graded symbol, 2 an input or the picture
// could not be read or written.
int grade_all(const scan_options& options, const decoder_1d_interface& decoder);

#endif
