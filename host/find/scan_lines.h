// Straight scan lines across a grey image at any angle, and the reflectance
// profile along one of them. Each profile sample averages a short band across
// the line, which smooths noise along the bars.
#ifndef TARN_HOST_SCAN_LINES_H
#define TARN_HOST_SCAN_LINES_H

#include <vector>

#include "find/point.h"
#include "image/image.h"

using profile = std::vector<float>;

// The unit vector at `degrees` from the x axis, turning towards +y.
point unit_vector(double degrees);

// Sample i of the line lies at origin + i * direction (a unit vector).
struct scan_line {
  point origin;
  point direction;
  int length = 0;

  // The point at a position along the profile, in the edge finder's units
  // (sample i spans [i, i + 1)).
  point at(double position) const {
    return origin + (position - 0.5) * direction;
  }
};

// The part of the line through `through` with `direction` that lies inside
// the image, `length` 0 when it misses it.
scan_line clip_to_image(const grey_image& image, point through,
                        point direction);

// Parallel lines `spacing` pixels apart covering the whole image.
std::vector<scan_line> lines_across(const grey_image& image, point direction,
                                    double spacing);

// Fills `values` with the profile along the line: each sample the mean of
// three bilinear samples one pixel apart across it.
void sample_line(const grey_image& image, const scan_line& line,
                 profile& values);

// `values` with its detail strengthened (unsharp masking): the profile plus
// three times its difference from a Gaussian blur of two pixels. Brings back
// narrow elements that a blur of about a module has flattened to a ripple.
void sharpen(const profile& values, profile& sharp);

#endif
