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

// Sample i of the line lies at origin + i * direction: a unit vector, or on
// the cheap lines of a first look one of the steps (1, 0), (0, 1), (1, 1),
// (1, -1) from pixel centre to pixel centre.
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

// Narrows [low, high] to the parameters t where from + t * step stays within
// [lowest, highest] on one axis; high < low where none does.
void clip_axis(double from, double step, double lowest, double highest,
               double& low, double& high);

// The part of the line through `through` with `direction` that lies inside
// the image, `length` 0 when it misses it. With a whole-pixel step, its
// samples fall on pixel centres.
scan_line clip_to_image(const grey_view& image, point through, point direction);

// As clip_to_image, keeping only the part within `half_length` of `centre`.
scan_line clip_around(const grey_view& image, point centre, point direction,
                      double half_length);

// Samples `first` to `last` (both included) of the line, `length` 0 when
// they are too few to hold a symbol.
scan_line part_of(const scan_line& line, int first, int last);

// Parallel lines `spacing` pixels apart (measured square to them) covering
// the whole image.
std::vector<scan_line> lines_across(const grey_view& image, point direction,
                                    double spacing);

// The image at a point, bilinear between pixel centres.
float sample_at(const grey_view& image, point p);

// Fills `values` with the profile along the line: each sample the mean of
// three bilinear samples across it, one step (turned square) apart. Lines of
// whole-pixel steps on pixel centres read the pixels straight.
void sample_line(const grey_view& image, const scan_line& line,
                 profile& values);

// The same, always bilinear: the plain twin of sample_line's straight reads.
void sample_line_bilinear(const grey_view& image, const scan_line& line,
                          profile& values);

// The profile of a band 15 pixels wide across the line: the mean of five
// parallel profiles three pixels apart. Quiets the noise where a blurred
// symbol's narrow elements are left as small ripples.
void sample_wide_line(const grey_view& image, const scan_line& line,
                      profile& values, profile& scratch);

// The weights of a Gaussian blur of `sigma` pixels (up to 4), reaching three
// sigmas either way: made once, used on every line.
struct gaussian_kernel {
  explicit gaussian_kernel(double sigma);

  static constexpr int max_reach = 12;
  int reach = 0;
  float weights[2 * max_reach + 1] = {};  // weights[reach + d], d pixels away
  float total = 0.0f;
};

// `values` under the blur.
void gaussian_blur(const profile& values, const gaussian_kernel& kernel,
                   profile& blurred);

// `values` with its detail strengthened (unsharp masking): the profile plus
// `amount` times its difference from `blurred`, its Gaussian blur. Brings
// back narrow elements that a blur of about a module has flattened to a
// ripple.
void sharpen(const profile& values, const profile& blurred, float amount,
             profile& sharp);

#endif
