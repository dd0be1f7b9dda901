// An application of the reading library: draws "*A*" (narrow elements 3
// pixels, wide ones 6) into an RGB buffer and reads it back from memory.
#include <tarn/scan.h>
// Included first, so that a header that needs anything before it fails here.

#include <cstdint>
#include <iostream>
#include <vector>

int main() {
  // The symbol's element widths in modules, bar first, gaps included.
  const int widths[] = {1, 2, 1, 1, 2, 1, 2, 1, 1, 1, 2, 1, 1, 1, 1,
                        2, 1, 1, 2, 1, 1, 2, 1, 1, 2, 1, 2, 1, 1};
  const int module = 3, quiet = 30, height = 60;
  int width = 2 * quiet;
  for (int w : widths) width += w * module;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3,
                                255);
  int x = quiet;
  for (int i = 0; i < static_cast<int>(sizeof widths / sizeof *widths); ++i) {
    for (int end = x + widths[i] * module; x < end; ++x)
      for (int y = 0; i % 2 == 0 && y < height; ++y)
        for (int c = 0; c < 3; ++c)
          rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c] = 0;
  }
  const tarn::image_view image(rgb.data(), width, height,
                               tarn::pixel_format::rgb);
  const std::vector<tarn::barcode> read = tarn::read_barcodes(image);
  if (read.size() != 1 || read[0].text != "A") {
    std::cerr << "scan_app: read " << read.size() << " symbols\n";
    return 1;
  }
  std::cout << read[0].text << '\n';
  return 0;
}
