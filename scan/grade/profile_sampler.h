// Scan reflectance profiles from an image: reflectance along a line, each
// sample the mean over a circular aperture, as a verifier's spot sees it.
#ifndef TARN_HOST_PROFILE_SAMPLER_H
#define TARN_HOST_PROFILE_SAMPLER_H

#include <array>
#include <vector>

#include "image/image.h"
#include "read/found_symbol.h"

class profile_sampler {
 public:
  // `image` must outlive the sampler; `aperture` is the disc's diameter.
  profile_sampler(const grey_view& image, bool linear, double aperture);

  // Samples every `step` pixels from `from` towards `to`, both ends included,
  // leaving out those whose centre lies off the image. `first` is the index
  // on the whole line of the first sample kept.
  std::vector<float> sample(point from, point to, double step,
                            std::size_t& first) const;

  // How far from `from` along the unit vector `away` the aperture sees no
  // reflectance below `threshold`: to the first sample below it, the
  // crossing interpolated, or else to the image's border. Samples every
  // `step` pixels.
  double light_run(point from, point away, double step, float threshold) const;

 private:
  bool on_image(point centre) const;
  float bilinear(double x, double y) const;
  float disc_mean(point centre) const;

  const grey_view image_;
  std::array<float, 256> reflectance_of_{};
  std::vector<point> disc_;  // offsets of the points averaged in the disc
};

#endif
