// A minimal host: loads the installed plug-in, reads one symbol ("*A*",
// narrow elements one unit wide and wide ones two) and prints the plug-in's
// path on success.
#include <tarn_interface.h>
// Included first, so that a header that needs anything before it fails here.

#include <dlfcn.h>

#include <iostream>

int main() {
  void* plugin = dlopen(TARN_PLUGIN, RTLD_NOW | RTLD_LOCAL);
  auto create = reinterpret_cast<tarn_new_server_interface_fn>(
      plugin ? dlsym(plugin, "new_server_interface") : nullptr);
  auto destroy = reinterpret_cast<tarn_delete_server_interface_fn>(
      plugin ? dlsym(plugin, "delete_server_interface") : nullptr);
  if (!create || !destroy) {
    std::cerr << "consumer: no plug-in: " << dlerror() << '\n';
    return 1;
  }
  decoder_1d_interface* decoder = create(0);
  tarn_result scan;
  scan.edges = {0,  1,  3,  4,  5,  7,  8,  10, 11, 12, 13, 15, 16, 17, 18,
                19, 21, 22, 23, 25, 26, 27, 29, 30, 31, 33, 34, 36, 37, 38};
  decoder->decode(scan, TARN_CHECKSUM_NONE, nullptr, 0, nullptr);
  const tarn_candidate_result& candidate = scan.candidates["Code39 Extended"];
  const bool read = candidate.text == "A" && candidate.check_char == "0" &&
                    decoder->getversion() == "6.6.0.5300";
  destroy(0, decoder);
  dlclose(plugin);
  if (read) std::cout << TARN_PLUGIN << '\n';
  if (!read) std::cerr << "consumer: read '" << candidate.text << "'\n";
  return read ? 0 : 1;
}
