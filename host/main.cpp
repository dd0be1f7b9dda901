// tarn-scan: reads Code 39 Extended barcodes through the decoder plug-in.
#include <cstring>
#include <iostream>
#include <string>

#include "decoder_plugin.h"

int main(int argc, char** argv) {
  std::string plugin_path = TARN_DEFAULT_PLUGIN;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin") == 0 && i + 1 < argc)
      plugin_path = argv[++i];
  }
  try {
    decoder_plugin plugin(plugin_path);
    std::cout << "tarn-scan, plug-in " << plugin.new_decoder()->getversion()
              << '\n';
  } catch (const plugin_error& e) {
    std::cerr << "tarn-scan: cannot load plug-in: " << e.what() << '\n';
    return 2;
  }
  return 0;
}
