// The scan benchmark's classes of images: the samples, and pages drawn at
// start-up from fixed seeds, each class one kind of damage or layout.
#ifndef TARN_BENCH_IMAGE_CLASSES_H
#define TARN_BENCH_IMAGE_CLASSES_H

#include <cstddef>
#include <string>
#include <vector>

#include "image/image.h"

struct bench_image {
  grey_image pixels;
  int symbols = 1;  // drawn on it
};

struct image_class {
  std::string name;  // what it holds, as the table names it
  std::vector<bench_image> images;
};

// How many classes there are, without drawing them.
std::size_t image_class_count();

// Every class, drawn on the first call.
const std::vector<image_class>& image_classes();

#endif
